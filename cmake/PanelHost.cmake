# The stand-in game-controllers panel ZntPanelHost.exe: it loads ZentraCpl.dll
# the way the Windows panel does and shows its property sheet.
# The test DirectInput objects, for the stand-in panel and the Wine tests.
add_library(zentra_fake_dinput STATIC ${PROJECT_SOURCE_DIR}/tools/cplhost/fake_dinput.cpp)
target_include_directories(zentra_fake_dinput PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zentra_fake_dinput PUBLIC zentra_sim)
add_executable(zntpanelhost ${PROJECT_SOURCE_DIR}/tools/cplhost/main.cpp)
target_link_libraries(zntpanelhost PRIVATE zentra_fake_dinput zentra_sim comctl32 ole32 user32 advapi32)
target_link_libraries(wine_tests PRIVATE zentra_fake_dinput)
set_target_properties(zntpanelhost PROPERTIES OUTPUT_NAME ZntPanelHost)
add_dependencies(wine_tests zntpanelhost)
