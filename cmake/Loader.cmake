# The tray loader ZntUsb.exe, and the programs its tests and demonstration
# drive it with.
file(GLOB ZENTRA_LOADER_SHELL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/loader/win32/*.cpp)
add_executable(zntusb WIN32 ${ZENTRA_LOADER_SHELL_SOURCES})
target_link_libraries(zntusb PRIVATE zentra_loader_core zentra_core comctl32 shell32 gdi32 user32 advapi32)
set_target_properties(zntusb PROPERTIES OUTPUT_NAME ZntUsb)
if(COMMAND zentra_add_loader_resources)
  zentra_add_loader_resources(zntusb)
endif()

# Drives a running loader from another process (tests, the run command).
add_library(zentra_loaderctl STATIC ${PROJECT_SOURCE_DIR}/tools/loaderctl/loader_control.cpp)
target_include_directories(zentra_loaderctl PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zentra_loaderctl PUBLIC user32)
add_executable(zntloaderctl ${PROJECT_SOURCE_DIR}/tools/loaderctl/main.cpp)
target_link_libraries(zntloaderctl PRIVATE zentra_loaderctl)
set_target_properties(zntloaderctl PROPERTIES OUTPUT_NAME ZntLoaderCtl)

# A stand-in game: copied under a game's file name, it starts and ends that game.
add_executable(fakegame ${PROJECT_SOURCE_DIR}/tests/wine/probe/fakegame.cpp)

target_link_libraries(wine_tests PRIVATE zentra_loaderctl)
add_dependencies(wine_tests zntusb fakegame zntloaderctl zntpreset)
