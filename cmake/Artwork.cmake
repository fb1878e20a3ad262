# The pictures of the programs' resources, drawn at build time by
# tools/artwork with cairo. The generator runs on the build machine, so it is
# built with the host's compiler, not the cross compiler, through a custom
# command; it writes every picture into ${CMAKE_BINARY_DIR}/artwork. The
# control panel's pictures lie where cpl/frame/skin_layout.h says, which the
# generator includes.

find_program(ZENTRA_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
find_program(ZENTRA_PKG_CONFIG NAMES pkg-config REQUIRED)
execute_process(COMMAND ${ZENTRA_PKG_CONFIG} --cflags --libs cairo
  OUTPUT_VARIABLE cairo_flags OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE cairo_found)
if(NOT cairo_found EQUAL 0)
  message(FATAL_ERROR "cairo not found by pkg-config: install libcairo2-dev")
endif()
separate_arguments(ZENTRA_CAIRO_FLAGS UNIX_COMMAND "${cairo_flags}")

file(GLOB ZENTRA_ARTWORK_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/artwork/*.cpp)
file(GLOB ZENTRA_ARTWORK_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/artwork/*.h)
list(APPEND ZENTRA_ARTWORK_HEADERS ${PROJECT_SOURCE_DIR}/cpl/frame/skin_layout.h)
set(ZENTRA_ARTWORK_TOOL ${CMAKE_BINARY_DIR}/host/artwork)
set(ZENTRA_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
add_custom_command(
  OUTPUT ${ZENTRA_ARTWORK_TOOL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${ZENTRA_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -I${PROJECT_SOURCE_DIR} ${ZENTRA_ARTWORK_SOURCES}
          ${ZENTRA_CAIRO_FLAGS}
          -o ${ZENTRA_ARTWORK_TOOL}
  DEPENDS ${ZENTRA_ARTWORK_SOURCES} ${ZENTRA_ARTWORK_HEADERS}
  COMMENT "Building the artwork generator with the host compiler"
  VERBATIM)

# Everything the generator writes: the tray loader's icons, and the control
# panel's bitmaps (8 bits per pixel), icons, cursor and wheel video; the
# bitmaps and the video once more for each of the 150 and 200 % picture sets
# (the icons and the cursor hold every set's image in one file).
set(ZENTRA_ARTWORK_FILES
  zntusb_234.ico zntusb_235.ico
  cpl_186.bmp cpl_187.bmp cpl_188.bmp cpl_189.bmp cpl_190.bmp cpl_191.bmp cpl_195.bmp cpl_196.bmp cpl_197.bmp
  cpl_115.ico cpl_193.ico cpl_124.cur wheel.avi
  cpl_1186.bmp cpl_1187.bmp cpl_1188.bmp cpl_1189.bmp cpl_1190.bmp cpl_1191.bmp cpl_1195.bmp cpl_1196.bmp
  cpl_1197.bmp wheel_150.avi
  cpl_2186.bmp cpl_2187.bmp cpl_2188.bmp cpl_2189.bmp cpl_2190.bmp cpl_2191.bmp cpl_2195.bmp cpl_2196.bmp
  cpl_2197.bmp wheel_200.avi)
set(ZENTRA_ARTWORK_OUTPUTS)
foreach(file ${ZENTRA_ARTWORK_FILES})
  list(APPEND ZENTRA_ARTWORK_OUTPUTS ${ZENTRA_ARTWORK_DIR}/${file})
endforeach()
add_custom_command(
  OUTPUT ${ZENTRA_ARTWORK_OUTPUTS}
  COMMAND ${ZENTRA_ARTWORK_TOOL} ${ZENTRA_ARTWORK_DIR}
  DEPENDS ${ZENTRA_ARTWORK_TOOL}
  COMMENT "Drawing the resource pictures"
  VERBATIM)
add_custom_target(zentra_artwork ALL DEPENDS ${ZENTRA_ARTWORK_OUTPUTS})

# Adds the tray loader's resources (icons, menus, string tables) to a target.
set(ZENTRA_LOADER_RC ${PROJECT_SOURCE_DIR}/loader/res/loader.rc)
set_source_files_properties(${ZENTRA_LOADER_RC} PROPERTIES
  INCLUDE_DIRECTORIES ${ZENTRA_ARTWORK_DIR}
  OBJECT_DEPENDS "${ZENTRA_ARTWORK_DIR}/zntusb_234.ico;${ZENTRA_ARTWORK_DIR}/zntusb_235.ico;${PROJECT_SOURCE_DIR}/loader/res/loader_resource.h")
function(zentra_add_loader_resources target)
  target_sources(${target} PRIVATE ${ZENTRA_LOADER_RC})
  add_dependencies(${target} zentra_artwork)
endfunction()
