# Windows build (mingw-w64): the same core over Win32, the preset tool as
# ZntPreset.exe and the Windows tests, which CTest runs under Wine.
include(GoogleTest)
include(cmake/Hardening.cmake)

# Every Windows binary runs under Wine with the build's own prefix.
set(ZENTRA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of this build")
configure_file(${PROJECT_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# Icons and other pictures of the resources, drawn at build time.
include(cmake/Artwork.cmake)

zentra_add_core(zentra_core)
zentra_add_loader_core(zentra_loader_core zentra_core)
zentra_add_tool_lib(zntpreset_lib zentra_core)
zentra_add_preset_tool(zntpreset_lib)
include(cmake/CplUi.cmake)

# The portable unit tests once more, as Windows code under Wine: one CTest
# entry, since each test case would start a Wine process of its own.
file(GLOB ZENTRA_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
add_executable(unit_tests ${ZENTRA_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE zntpreset_lib zentra_loader_core zentra_cpl_logic gtest_main)
add_test(NAME unit_tests_under_wine COMMAND unit_tests --gtest_brief=1)

# Tests of the Win32 layer against Wine's registry, files and windows.
file(GLOB ZENTRA_WINE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*.cpp
  ${PROJECT_SOURCE_DIR}/tests/wine/support/*.cpp)
add_executable(wine_tests ${ZENTRA_WINE_TEST_SOURCES})
target_link_libraries(wine_tests PRIVATE zntpreset_lib zentra_cpl_ui gtest_main)
zentra_add_loader_resources(wine_tests)
gtest_discover_tests(wine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)

add_test(NAME preset_tool_cli_under_wine
  COMMAND ${PROJECT_SOURCE_DIR}/tests/tool/zntpreset_cli.sh $<TARGET_FILE:zntpreset> ${PROJECT_SOURCE_DIR}/tests/tool
          ${CMAKE_BINARY_DIR}/wine-run)

# The simulated wheel driver, its setup tool and library, for the Wine tests.
include(cmake/Sim.cmake)
include(cmake/Loader.cmake)
include(cmake/Cpl.cmake)
include(cmake/PanelHost.cmake)
# The setup program and its tests.
include(cmake/Setup.cmake)
