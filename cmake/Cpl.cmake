# The control-panel plug-in ZentraCpl.dll: an in-process COM server that the
# game-controllers panel loads.
#
# - zentra_cpl_core: its portable part (language choice, string-table
#   walk), in both builds and in the unit tests (natively a sanitized copy,
#   zentra_cpl_core_san).
# - zentra_cpl_module (Windows): the module-wide state and the localized
#   strings, for the plug-in, for the skinned controls and for the Wine tests.
# - zentracpl (Windows): the library itself, with its two exports and its
#   resources.

function(zentra_add_cpl_core name)
  cmake_parse_arguments(ARG "" "" "OPTIONS" ${ARGN})
  add_library(${name} STATIC ${PROJECT_SOURCE_DIR}/cpl/frame/localized_text.cpp)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PUBLIC ${ARG_OPTIONS})
  target_link_options(${name} PUBLIC ${ARG_OPTIONS})
endfunction()

if(NOT WIN32)
  zentra_add_cpl_core(zentra_cpl_core_san OPTIONS ${ZENTRA_SANITIZE})
  target_link_libraries(unit_tests PRIVATE zentra_cpl_core_san)
  return()
endif()

zentra_add_cpl_core(zentra_cpl_core)
target_link_libraries(unit_tests PRIVATE zentra_cpl_core)

add_library(zentra_cpl_module STATIC
  ${PROJECT_SOURCE_DIR}/cpl/frame/cpl_module.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/localized_strings.cpp)
target_link_libraries(zentra_cpl_module PUBLIC zentra_cpl_core user32)

# The pictures come from the artwork generator; they are built in once it
# writes every one of them.
set(ZENTRA_CPL_PICTURE_FILES
  cpl_186.bmp cpl_187.bmp cpl_188.bmp cpl_189.bmp cpl_190.bmp cpl_191.bmp cpl_195.bmp cpl_196.bmp cpl_197.bmp
  cpl_115.ico cpl_193.ico cpl_124.cur wheel.avi
  cpl_1186.bmp cpl_1187.bmp cpl_1188.bmp cpl_1189.bmp cpl_1190.bmp cpl_1191.bmp cpl_1195.bmp cpl_1196.bmp
  cpl_1197.bmp wheel_150.avi
  cpl_2186.bmp cpl_2187.bmp cpl_2188.bmp cpl_2189.bmp cpl_2190.bmp cpl_2191.bmp cpl_2195.bmp cpl_2196.bmp
  cpl_2197.bmp wheel_200.avi)
set(ZENTRA_CPL_PICTURES ON)
set(ZENTRA_CPL_PICTURE_PATHS)
foreach(file ${ZENTRA_CPL_PICTURE_FILES})
  list(APPEND ZENTRA_CPL_PICTURE_PATHS ${ZENTRA_ARTWORK_DIR}/${file})
  if(NOT ${ZENTRA_ARTWORK_DIR}/${file} IN_LIST ZENTRA_ARTWORK_OUTPUTS)
    set(ZENTRA_CPL_PICTURES OFF)
  endif()
endforeach()

set(ZENTRA_CPL_RC ${PROJECT_SOURCE_DIR}/cpl/res/cpl.rc)
set(cpl_rc_depends ${PROJECT_SOURCE_DIR}/cpl/res/cpl_resource.h ${PROJECT_SOURCE_DIR}/cpl/res/cpl_shared_strings.rc)
if(ZENTRA_CPL_PICTURES)
  list(APPEND cpl_rc_depends ${ZENTRA_CPL_PICTURE_PATHS})
  set_source_files_properties(${ZENTRA_CPL_RC} PROPERTIES COMPILE_DEFINITIONS ZENTRA_CPL_PICTURES)
else()
  message(STATUS "ZentraCpl: the artwork generator does not draw the plug-in's pictures yet; built without them")
endif()
set_source_files_properties(${ZENTRA_CPL_RC} PROPERTIES
  INCLUDE_DIRECTORIES ${ZENTRA_ARTWORK_DIR}
  OBJECT_DEPENDS "${cpl_rc_depends}")

add_library(zentracpl SHARED
  ${PROJECT_SOURCE_DIR}/cpl/frame/dll_main.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/class_factory.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/property_sheet.cpp
  ${PROJECT_SOURCE_DIR}/cpl/frame/zentracpl.def
  ${ZENTRA_CPL_RC})
target_link_libraries(zentracpl PRIVATE
  $<TARGET_NAME_IF_EXISTS:zentra_cpl_pages> zentra_cpl_module zentra_core
  comctl32 ole32 uuid user32 gdi32 shell32)
set_target_properties(zentracpl PROPERTIES PREFIX "" OUTPUT_NAME ZentraCpl)
add_dependencies(zentracpl zentra_artwork)

# The Wine tests load ZentraCpl.dll from their own folder, as the panel
# would, and call the module's string lookup on its tables.
target_link_libraries(wine_tests PRIVATE zentra_cpl_pages comctl32 version)
if(ZENTRA_CPL_PICTURES)
  target_compile_definitions(wine_tests PRIVATE ZENTRA_CPL_PICTURES)
endif()
add_dependencies(wine_tests zentracpl)

# The user language end to end: Wine gives a process the user language of
# LC_ALL in the environment it is started with, so the sheet's language
# test runs once more for each of these locales, with the table it must
# choose.
set(ZENTRA_CPL_LOCALES
  en_US.UTF-8=0x0409 de_DE.UTF-8=0x0407 es_ES.UTF-8=0x040A fr_FR.UTF-8=0x040C it_IT.UTF-8=0x0410
  nl_NL.UTF-8=0x0413 nl_BE.UTF-8=0x0413 pt_PT.UTF-8=0x0816 pt_BR.UTF-8=0x0816 ja_JP.UTF-8=0x0409)
foreach(case ${ZENTRA_CPL_LOCALES})
  string(REPLACE "=" ";" parts ${case})
  list(GET parts 0 locale)
  list(GET parts 1 table)
  add_test(NAME cpl_user_language_${locale}
    COMMAND wine_tests --gtest_filter=CplUserLanguage.*)
  set_tests_properties(cpl_user_language_${locale} PROPERTIES
    ENVIRONMENT "LC_ALL=${locale};ZENTRA_EXPECTED_UI_LANGUAGE=${table}"
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
    FAIL_REGULAR_EXPRESSION "FAILED")
endforeach()
