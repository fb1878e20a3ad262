# The control panel's skinned controls: their portable decisions and the
# panel's module-wide preset state (zentra_add_cpl_logic, for the plug-in
# and the unit tests, natively and under Wine), and on Windows the painters,
# creation routines, "CUSTOMICON" and the About box (zentra_cpl_ui, for the
# plug-in and the Wine tests). zentra_cpl_ui takes the module instance, the
# user-interface language and the localized strings from zentra_cpl_module
# (cmake/Cpl.cmake).

set(ZENTRA_CPL_LOGIC_SOURCES
  ${PROJECT_SOURCE_DIR}/cpl/frame/panel_state.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/skin_logic.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/skin_scale.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/main_page_logic.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/calibration_logic.cpp
  ${PROJECT_SOURCE_DIR}/cpl/pages/curve_editor_logic.cpp
  ${PROJECT_SOURCE_DIR}/cpl/pages/axis_page_logic.cpp
  ${PROJECT_SOURCE_DIR}/cpl/pages/test_page_logic.cpp
  ${PROJECT_SOURCE_DIR}/cpl/pages/key_code_text.cpp
  ${PROJECT_SOURCE_DIR}/cpl/pages/button_page_logic.cpp
  ${PROJECT_SOURCE_DIR}/cpl/pages/preset_list.cpp
  ${PROJECT_SOURCE_DIR}/cpl/pages/print_layout.cpp)

# The resampling of picture sets runs over millions of pixels when a page
# opens at a high DPI: its loops are vectorized.
set_source_files_properties(${PROJECT_SOURCE_DIR}/cpl/frame/skin_scale.cpp PROPERTIES COMPILE_OPTIONS -O3)

function(zentra_add_cpl_logic name core)
  cmake_parse_arguments(ARG "" "" "OPTIONS" ${ARGN})
  add_library(${name} STATIC ${ZENTRA_CPL_LOGIC_SOURCES})
  target_link_libraries(${name} PUBLIC ${core})
  target_compile_options(${name} PUBLIC ${ARG_OPTIONS})
  target_link_options(${name} PUBLIC ${ARG_OPTIONS})
endfunction()

if(WIN32)
  zentra_add_cpl_logic(zentra_cpl_logic zentra_core)
  add_library(zentra_cpl_ui STATIC ${PROJECT_SOURCE_DIR}/cpl/frame/skinned_controls.cpp)
  target_link_libraries(zentra_cpl_ui PUBLIC zentra_cpl_logic zentra_cpl_module comctl32 shell32 gdi32 user32)
  # The main page, DirectInput, the calibration and the pages: for the
  # plug-in and for the Wine tests, which drive them in their own process.
  add_library(zentra_cpl_pages STATIC
    ${PROJECT_SOURCE_DIR}/cpl/frame/main_page.cpp
    ${PROJECT_SOURCE_DIR}/cpl/frame/direct_input.cpp
    ${PROJECT_SOURCE_DIR}/cpl/frame/calibration.cpp
    ${PROJECT_SOURCE_DIR}/cpl/frame/window_classes.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/curve_box.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/axis_page.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/test_page.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/button_page.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/presets_page.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/preset_list_view.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/import_export_dialog.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/print_preset.cpp
    ${PROJECT_SOURCE_DIR}/cpl/pages/key_names_win32.cpp)
  target_link_libraries(zentra_cpl_pages PUBLIC zentra_cpl_ui zentra_core dinput8 dxguid ole32 vfw32 comdlg32 uuid
                                                winspool)
else()
  zentra_add_cpl_logic(zentra_cpl_logic_san zentra_core_san OPTIONS ${ZENTRA_SANITIZE})
endif()

# The presets page and its dialog once more with a German user language (the
# screenshots of that run are named "-de").
if(WIN32)
  add_test(NAME presets_page_de_DE
    COMMAND wine_tests --gtest_filter=PresetsPageTest.OpensSorted*:PresetsPageTest.TheDialog*)
  set_tests_properties(presets_page_de_DE PROPERTIES
    ENVIRONMENT "LC_ALL=de_DE.UTF-8;ZENTRA_SCREENSHOT_SUFFIX=-de"
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 2 tests\\."
    FAIL_REGULAR_EXPRESSION "FAILED")
endif()
