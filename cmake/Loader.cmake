# The tray loader ZntUsb.exe, and the programs its tests and demonstration
# drive it with.
file(GLOB ZENTRA_LOADER_SHELL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/loader/win32/*.cpp)
add_executable(zntusb WIN32 ${ZENTRA_LOADER_SHELL_SOURCES})
target_link_libraries(zntusb PRIVATE zentra_loader_core zentra_core comctl32 shell32 gdi32 user32 advapi32)
set_target_properties(zntusb PROPERTIES OUTPUT_NAME ZntUsb)
if(COMMAND zentra_add_loader_resources)
  zentra_add_loader_resources(zntusb)
endif()
# Its manifest: per-monitor DPI awareness (the program scales its own windows).
set(ZENTRA_LOADER_MANIFEST_RC ${PROJECT_SOURCE_DIR}/loader/res/zntusb_manifest.rc)
set_source_files_properties(${ZENTRA_LOADER_MANIFEST_RC} PROPERTIES
  INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/loader/res
  OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/loader/res/zntusb.manifest)
target_sources(zntusb PRIVATE ${ZENTRA_LOADER_MANIFEST_RC})

# Drives a running loader from another process (tests, the run command).
add_library(zentra_loaderctl STATIC ${PROJECT_SOURCE_DIR}/tools/loaderctl/loader_control.cpp)
target_include_directories(zentra_loaderctl PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zentra_loaderctl PUBLIC user32)
add_executable(zntloaderctl ${PROJECT_SOURCE_DIR}/tools/loaderctl/main.cpp)
# The window search of the stand-in panel takes the windows' pictures.
target_link_libraries(zntloaderctl PRIVATE zentra_loaderctl zentra_fake_dinput gdi32)
set_target_properties(zntloaderctl PROPERTIES OUTPUT_NAME ZntLoaderCtl)

# A stand-in game: copied under a game's file name, it starts and ends that game.
add_executable(fakegame ${PROJECT_SOURCE_DIR}/tests/wine/probe/fakegame.cpp)

target_link_libraries(wine_tests PRIVATE zentra_loaderctl zentra_loader_core)
add_dependencies(wine_tests zntusb fakegame zntloaderctl zntpreset)

# Other system code pages: Wine gives a process the ANSI code page of the
# locale in LC_ALL, so the code-page tests run once more under each of these
# (Hindi has no 8-bit code page: UTF-8, 65001). Wine names files through the
# host's locale, so the build compiles the locales (from Debian's "locales")
# into a folder of its own that LOCPATH points at.
set(ZENTRA_CODE_PAGE_LOCALES
  pl_PL.UTF-8=1250 ru_RU.UTF-8=1251 el_GR.UTF-8=1253 hi_IN.UTF-8=65001)
find_program(ZENTRA_LOCALEDEF localedef REQUIRED)
set(ZENTRA_LOCALE_DIR ${CMAKE_BINARY_DIR}/locales)
set(locale_outputs)
foreach(case ${ZENTRA_CODE_PAGE_LOCALES})
  string(REPLACE "=" ";" parts ${case})
  list(GET parts 0 locale)
  list(GET parts 1 codepage)
  string(REPLACE ".UTF-8" "" source ${locale})
  add_custom_command(
    OUTPUT ${ZENTRA_LOCALE_DIR}/${locale}/LC_CTYPE
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZENTRA_LOCALE_DIR}
    COMMAND ${ZENTRA_LOCALEDEF} -i ${source} -f UTF-8 ${ZENTRA_LOCALE_DIR}/${locale}
    COMMENT "Compiling the locale ${locale} for the code-page tests"
    VERBATIM)
  list(APPEND locale_outputs ${ZENTRA_LOCALE_DIR}/${locale}/LC_CTYPE)
  add_test(NAME system_code_page_${locale}
    COMMAND wine_tests --gtest_filter=SystemCodePage*)
  set_tests_properties(system_code_page_${locale} PROPERTIES
    ENVIRONMENT "LC_ALL=${locale};LOCPATH=${ZENTRA_LOCALE_DIR};ZENTRA_EXPECTED_ACP=${codepage}"
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 3 tests\\."
    FAIL_REGULAR_EXPRESSION "FAILED")
endforeach()
add_custom_target(zentra_test_locales ALL DEPENDS ${locale_outputs})
add_dependencies(wine_tests zentra_test_locales)

# The soak of the real loader, run by hand with scripts/soak; not a test.
add_executable(loader_soak ${PROJECT_SOURCE_DIR}/tests/soak/loader_soak.cpp)
target_link_libraries(loader_soak PRIVATE zentra_core zentra_sim zentra_loaderctl)
set_target_properties(loader_soak PROPERTIES OUTPUT_NAME ZntLoaderSoak)
add_dependencies(loader_soak zntusb fakegame)

# The tray menu in the user's language: the locale's language chooses the
# menu resource (Swedish has none: English).
set(ZENTRA_TRAY_MENU_LOCALES de_DE.UTF-8=239 es_ES.UTF-8=240 sv_SE.UTF-8=232)
foreach(case ${ZENTRA_TRAY_MENU_LOCALES})
  string(REPLACE "=" ";" parts ${case})
  list(GET parts 0 locale)
  list(GET parts 1 menu)
  add_test(NAME tray_menu_language_${locale}
    COMMAND wine_tests --gtest_filter=TrayUi.ARightClickOpensTheMenuInTheUsersLanguage)
  set_tests_properties(tray_menu_language_${locale} PROPERTIES
    ENVIRONMENT "LC_ALL=${locale};ZENTRA_EXPECTED_MENU=${menu}"
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
    FAIL_REGULAR_EXPRESSION "FAILED")
endforeach()
