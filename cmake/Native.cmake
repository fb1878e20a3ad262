# Native build: the portable core, its unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, benchmarks, the fuzz targets and the Linux
# preset tool.
include(GoogleTest)

set(ZENTRA_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

zentra_add_core(zentra_core)
zentra_add_core(zentra_core_san OPTIONS ${ZENTRA_SANITIZE})
zentra_add_loader_core(zentra_loader_core zentra_core)
zentra_add_loader_core(zentra_loader_core_san zentra_core_san OPTIONS ${ZENTRA_SANITIZE})
zentra_add_tool_lib(zntpreset_lib zentra_core)
zentra_add_tool_lib(zntpreset_lib_san zentra_core_san)
zentra_add_preset_tool(zntpreset_lib)
include(cmake/CplUi.cmake)

file(GLOB ZENTRA_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
add_executable(unit_tests ${ZENTRA_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE zntpreset_lib_san zentra_loader_core_san zentra_cpl_logic_san gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST)
include(cmake/Cpl.cmake)

add_test(NAME preset_tool_cli
  COMMAND ${PROJECT_SOURCE_DIR}/tests/tool/zntpreset_cli.sh $<TARGET_FILE:zntpreset> ${PROJECT_SOURCE_DIR}/tests/tool)

# The loader's preset table hand-over between its two threads, hammered
# under ThreadSanitizer with a core of its own.
set(ZENTRA_TSAN -fsanitize=thread -fno-omit-frame-pointer)
zentra_add_core(zentra_core_tsan OPTIONS ${ZENTRA_TSAN})
zentra_add_loader_core(zentra_loader_core_tsan zentra_core_tsan OPTIONS ${ZENTRA_TSAN})
add_executable(shared_presets_stress ${PROJECT_SOURCE_DIR}/tests/stress/shared_presets_stress.cpp)
target_link_libraries(shared_presets_stress PRIVATE zentra_loader_core_tsan)
add_test(NAME shared_presets_stress COMMAND shared_presets_stress)

# Benchmarks, run by hand: build/native/bench/preset_file_bench
find_package(benchmark REQUIRED)
add_executable(preset_file_bench ${PROJECT_SOURCE_DIR}/bench/preset_file_bench.cpp)
target_link_libraries(preset_file_bench PRIVATE zentra_core benchmark::benchmark)
set_target_properties(preset_file_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_executable(watcher_scan_bench ${PROJECT_SOURCE_DIR}/bench/watcher_scan_bench.cpp)
target_link_libraries(watcher_scan_bench PRIVATE zentra_loader_core benchmark::benchmark)
set_target_properties(watcher_scan_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# The fuzz targets under libFuzzer, built with clang whatever compiler builds
# the rest: preset_file_fuzz (the preset file reader) and preset_json_fuzz
# (the preset tool's JSON import). fuzz/run.sh runs one; the preset file
# target's seeds are made from the JSON target's with the preset tool.
find_program(CLANGXX NAMES clang++ clang++-14)
if(CLANGXX)
  function(zentra_add_fuzz_target name)
    list(TRANSFORM ARGN PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
    file(GLOB headers ${PROJECT_SOURCE_DIR}/preset/*.h ${PROJECT_SOURCE_DIR}/tools/zntpreset/*.h)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/fuzz/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz
      COMMAND ${CLANGXX} -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
              -I${PROJECT_SOURCE_DIR} ${sources} -o ${CMAKE_BINARY_DIR}/fuzz/${name}
      DEPENDS ${sources} ${headers}
      COMMENT "Building the fuzz target ${name} with clang")
    add_custom_target(${name} ALL DEPENDS ${CMAKE_BINARY_DIR}/fuzz/${name})
  endfunction()
  zentra_add_fuzz_target(preset_file_fuzz
    fuzz/preset_file_fuzz.cpp preset/preset.cpp preset/preset_file.cpp preset/sensitivity.cpp)
  zentra_add_fuzz_target(preset_json_fuzz
    fuzz/preset_json_fuzz.cpp preset/preset.cpp preset/preset_file.cpp tools/zntpreset/preset_json.cpp
    tools/zntpreset/codepage.cpp)

  file(GLOB json_seeds CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/seeds/json/*.json)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/fuzz/seeds/pst/count300.pst
    COMMAND sh ${PROJECT_SOURCE_DIR}/fuzz/make_pst_seeds.sh $<TARGET_FILE:zntpreset>
            ${PROJECT_SOURCE_DIR}/fuzz/seeds/json ${CMAKE_BINARY_DIR}/fuzz/seeds/pst
    DEPENDS zntpreset ${json_seeds} ${PROJECT_SOURCE_DIR}/fuzz/make_pst_seeds.sh
    COMMENT "Making the preset file fuzz target's seeds")
  add_custom_target(preset_file_seeds ALL DEPENDS ${CMAKE_BINARY_DIR}/fuzz/seeds/pst/count300.pst)

  # A short run of each with every test run; scripts/fuzz runs one for longer.
  foreach(target file json)
    add_test(NAME preset_${target}_fuzz_smoke
      COMMAND sh ${PROJECT_SOURCE_DIR}/fuzz/run.sh ${CMAKE_BINARY_DIR} ${target} 30)
  endforeach()
else()
  message(WARNING "clang++ not found: the fuzz targets are not built")
endif()
