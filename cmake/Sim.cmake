# The simulated wheel (sim/): a kernel driver, ZntSimWheel.sys, that Wine
# loads in place of the wheel's own driver, the library that sets it up and
# talks to it, and the tool ZntSimSetup.exe. A test and demonstration tool:
# nothing of it is linked into the deliverables.

# mingw-w64's DDK headers, under the cross compiler's root.
find_path(ZENTRA_MINGW_DDK_INCLUDE wdm.h PATH_SUFFIXES include/ddk ddk REQUIRED)

# The driver links against ntoskrnl only, with no C runtime and its own entry
# point, which CMake's library targets would not leave out: a custom command.
set(ZENTRA_SIM_DRIVER ${CMAKE_BINARY_DIR}/ZntSimWheel.sys)
set(ZENTRA_SIM_DRIVER_SOURCES ${PROJECT_SOURCE_DIR}/sim/driver/sim_wheel.c)
add_custom_command(
  OUTPUT ${ZENTRA_SIM_DRIVER}
  COMMAND ${CMAKE_C_COMPILER} -std=c11 -O2 -Wall -Wextra -fno-stack-protector
          -I${ZENTRA_MINGW_DDK_INCLUDE} -I${PROJECT_SOURCE_DIR}/sim ${ZENTRA_SIM_DRIVER_SOURCES}
          -shared -nostdlib -Wl,--subsystem,native -Wl,--entry,DriverEntry
          -o ${ZENTRA_SIM_DRIVER} -lntoskrnl -lhal
  DEPENDS ${ZENTRA_SIM_DRIVER_SOURCES} ${PROJECT_SOURCE_DIR}/sim/sim_protocol.h
  COMMENT "Building the simulated wheel driver ZntSimWheel.sys"
  VERBATIM)
add_custom_target(zntsimwheel_driver ALL DEPENDS ${ZENTRA_SIM_DRIVER})

# Names, setup and control-device client; whatever links it gets the driver
# built beside it.
add_library(zentra_sim STATIC
  ${PROJECT_SOURCE_DIR}/sim/sim_wheels.cpp
  ${PROJECT_SOURCE_DIR}/sim/sim_client.cpp
  ${PROJECT_SOURCE_DIR}/sim/sim_setup.cpp)
target_include_directories(zentra_sim PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zentra_sim PUBLIC advapi32)
add_dependencies(zentra_sim zntsimwheel_driver)

add_executable(zntsimsetup ${PROJECT_SOURCE_DIR}/sim/tool/main.cpp)
target_link_libraries(zntsimsetup PRIVATE zentra_sim)
set_target_properties(zntsimsetup PROPERTIES OUTPUT_NAME ZntSimSetup)

# The Wine tests drive the simulated wheel (tests/wine/sim_wheel_test.cpp).
target_link_libraries(wine_tests PRIVATE zentra_sim)
add_dependencies(wine_tests zntsimsetup)

# Runs the control panel's link discovery in a process of its own, for the
# tests of the exit codes and messages with which it ends its process.
add_executable(discovery_probe ${PROJECT_SOURCE_DIR}/tests/wine/probe/discovery_probe.cpp)
target_link_libraries(discovery_probe PRIVATE zentra_core zentra_sim)
add_dependencies(wine_tests discovery_probe)
