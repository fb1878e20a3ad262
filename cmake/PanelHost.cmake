# The stand-in game-controllers panel ZntPanelHost.exe: it loads ZentraCpl.dll
# the way the Windows panel does and shows its property sheet.
# The test DirectInput objects, for the stand-in panel and the Wine tests.
add_library(zentra_fake_dinput STATIC ${PROJECT_SOURCE_DIR}/tools/cplhost/fake_dinput.cpp)
target_include_directories(zentra_fake_dinput PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zentra_fake_dinput PUBLIC zentra_sim)
# The page in the caller's own process, for the Wine tests and the benchmark.
add_library(zentra_page_harness STATIC ${PROJECT_SOURCE_DIR}/tools/cplhost/page_harness.cpp)
target_link_libraries(zentra_page_harness PUBLIC zentra_fake_dinput zentra_cpl_pages comctl32 ole32)
add_executable(zntpanelhost ${PROJECT_SOURCE_DIR}/tools/cplhost/main.cpp)
target_link_libraries(zntpanelhost PRIVATE zentra_fake_dinput zentra_sim comctl32 ole32 user32 advapi32)
target_link_libraries(wine_tests PRIVATE zentra_page_harness)

# Page open and tab switch times under Wine, run by hand:
#   build/windows/wine-run build/windows/bench/cpl_page_bench.exe
add_executable(cpl_page_bench ${PROJECT_SOURCE_DIR}/bench/cpl_page_bench.cpp)
target_link_libraries(cpl_page_bench PRIVATE zentra_page_harness)
set_target_properties(cpl_page_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(cpl_page_bench zentracpl)
set_target_properties(zntpanelhost PROPERTIES OUTPUT_NAME ZntPanelHost)
add_dependencies(wine_tests zntpanelhost)
