# The stand-in game-controllers panel ZntPanelHost.exe: it loads ZentraCpl.dll
# the way the Windows panel does and shows its property sheet.
add_executable(zntpanelhost ${PROJECT_SOURCE_DIR}/tools/cplhost/main.cpp ${PROJECT_SOURCE_DIR}/tools/cplhost/fake_dinput.cpp)
target_include_directories(zntpanelhost PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(zntpanelhost PRIVATE zentra_sim comctl32 ole32 user32 advapi32)
set_target_properties(zntpanelhost PROPERTIES OUTPUT_NAME ZntPanelHost)
add_dependencies(wine_tests zntpanelhost)
