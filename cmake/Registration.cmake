# What the setup program registers, from one table (setup/registration.table):
# the build makes the setup program's registry steps and a C++ header of it
# (#include "setup/registration_table.h") at configure time, and again
# whenever the table changes.
include(${PROJECT_SOURCE_DIR}/setup/generate_registration.cmake)
set(ZENTRA_REGISTRATION_TABLE ${PROJECT_SOURCE_DIR}/setup/registration.table)
set(ZENTRA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(ZENTRA_REGISTRATION_NSH ${ZENTRA_GENERATED_DIR}/setup/registration.nsh)
file(MAKE_DIRECTORY ${ZENTRA_GENERATED_DIR}/setup)
zentra_generate_registration(${ZENTRA_REGISTRATION_TABLE} ${ZENTRA_REGISTRATION_NSH}
  ${ZENTRA_GENERATED_DIR}/setup/registration_table.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${ZENTRA_REGISTRATION_TABLE} ${PROJECT_SOURCE_DIR}/setup/generate_registration.cmake)
include_directories(${ZENTRA_GENERATED_DIR})
