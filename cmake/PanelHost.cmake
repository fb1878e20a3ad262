# The stand-in game-controllers panel ZntPanelHost.exe: it loads ZentraCpl.dll
# the way the Windows panel does and shows its property sheet.
# The test DirectInput objects and the window search, for the stand-in panel
# and the Wine tests.
add_library(zentra_fake_dinput STATIC ${PROJECT_SOURCE_DIR}/tools/cplhost/fake_dinput.cpp
  ${PROJECT_SOURCE_DIR}/tools/cplhost/window_search.cpp)
target_include_directories(zentra_fake_dinput PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zentra_fake_dinput PUBLIC zentra_sim)
# The page in the caller's own process, and a child program whose output is
# kept, for the Wine tests and the benchmark.
add_library(zentra_page_harness STATIC ${PROJECT_SOURCE_DIR}/tools/cplhost/page_harness.cpp
  ${PROJECT_SOURCE_DIR}/tools/cplhost/child_run.cpp)
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

# A test dinput8.dll and a copy of the stand-in panel beside it, in a folder
# of their own: run there with WINEDLLOVERRIDES "dinput8=n,b", the control
# panel's own DirectInput calls reach test joysticks that follow the
# simulated wheel, while every other program keeps the system's DirectInput.
set(ZENTRA_TEST_DINPUT_DIR ${CMAKE_BINARY_DIR}/testdi)
add_library(test_dinput8 SHARED ${PROJECT_SOURCE_DIR}/tools/cplhost/test_dinput8.cpp
  ${PROJECT_SOURCE_DIR}/tools/cplhost/test_dinput8.def)
target_link_libraries(test_dinput8 PRIVATE zentra_fake_dinput)
set_target_properties(test_dinput8 PROPERTIES PREFIX "" OUTPUT_NAME dinput8
  RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_TEST_DINPUT_DIR})
add_custom_command(TARGET zntpanelhost POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZENTRA_TEST_DINPUT_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zntpanelhost> ${ZENTRA_TEST_DINPUT_DIR}/)
add_dependencies(wine_tests test_dinput8)

# The random user of the control panel (scripts/monkey).
add_executable(zntmonkey ${PROJECT_SOURCE_DIR}/tools/monkey/main.cpp ${PROJECT_SOURCE_DIR}/tools/monkey/random_table.cpp)
target_link_libraries(zntmonkey PRIVATE zentra_fake_dinput zentra_sim zentra_core user32 advapi32)
set_target_properties(zntmonkey PROPERTIES OUTPUT_NAME ZntMonkey)
