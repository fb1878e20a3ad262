# The portable core: preset data and storage, the wheel link and protocol.
# zentra_add_core() builds it as
# a static library with the given extra compile and link options, so that the
# native tests can use a sanitized copy while the tools and benchmarks use a
# plain one.

set(ZENTRA_CORE_SOURCES
  preset/file_system.cpp
  preset/decimal_text.cpp
  preset/preset.cpp
  preset/preset_file.cpp
  preset/registry.cpp
  preset/registry_store_memory.cpp
  preset/sensitivity.cpp
  preset/os_level.cpp
  preset/display_scale.cpp
  preset/table_language.cpp
  driver/axis_tables.cpp
  driver/device_io_memory.cpp
  driver/discovery.cpp
  driver/key_translation.cpp
  driver/protocol.cpp
  driver/upload.cpp
)
if(WIN32)
  list(APPEND ZENTRA_CORE_SOURCES preset/ansi_text_win32.cpp preset/file_system_win32.cpp preset/registry_store_win32.cpp
    preset/os_level_win32.cpp preset/display_scale_win32.cpp driver/device_io_win32.cpp driver/host_win32.cpp)
else()
  list(APPEND ZENTRA_CORE_SOURCES preset/file_system_posix.cpp)
endif()
list(TRANSFORM ZENTRA_CORE_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

function(zentra_add_core name)
  cmake_parse_arguments(ARG "" "" "OPTIONS" ${ARGN})
  add_library(${name} STATIC ${ZENTRA_CORE_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PUBLIC ${ARG_OPTIONS})
  target_link_options(${name} PUBLIC ${ARG_OPTIONS})
  if(WIN32)
    target_link_libraries(${name} PUBLIC advapi32 user32 gdi32)
  endif()
endfunction()

# The tray loader's portable part (texts, start-up rules, the watcher's
# decisions and the preset transitions), a library over a given core so that
# the sanitized tests, the ThreadSanitizer stress test and the program each
# get their own copy.
set(ZENTRA_LOADER_SOURCES
  loader/loader_text.cpp
  loader/startup.cpp
  loader/stop_signal.cpp
  loader/watcher.cpp
  loader/transitions.cpp
)
if(WIN32)
  list(APPEND ZENTRA_LOADER_SOURCES loader/upper_case_win32.cpp)
endif()
list(TRANSFORM ZENTRA_LOADER_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

function(zentra_add_loader_core name core)
  cmake_parse_arguments(ARG "" "" "OPTIONS" ${ARGN})
  add_library(${name} STATIC ${ZENTRA_LOADER_SOURCES})
  target_link_libraries(${name} PUBLIC ${core})
  target_compile_options(${name} PUBLIC ${ARG_OPTIONS})
  target_link_options(${name} PUBLIC ${ARG_OPTIONS})
endfunction()

set(ZENTRA_TOOL_LIB_SOURCES
  ${PROJECT_SOURCE_DIR}/tools/zntpreset/preset_json.cpp
  ${PROJECT_SOURCE_DIR}/tools/zntpreset/codepage.cpp)

# The preset tool's conversions (JSON, code page), a library of their own so
# that the unit tests can use them.
function(zentra_add_tool_lib name core)
  add_library(${name} STATIC ${ZENTRA_TOOL_LIB_SOURCES})
  target_link_libraries(${name} PUBLIC ${core} nlohmann_json::nlohmann_json)
endfunction()

# The preset tool, ZntPreset, from one source for Linux and Windows.
function(zentra_add_preset_tool toollib)
  add_executable(zntpreset ${PROJECT_SOURCE_DIR}/tools/zntpreset/main.cpp)
  target_link_libraries(zntpreset PRIVATE ${toollib})
  set_target_properties(zntpreset PROPERTIES OUTPUT_NAME ZntPreset)
endfunction()
