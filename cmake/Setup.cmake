# The setup program ZentraSetup.exe (NSIS): the two stripped programs, their
# registration from setup/registration.table, and its uninstaller. With the
# checks of what ships: hardened binaries, no unbounded string copies, and
# an installation and removal in a Wine prefix of its own.

zentra_strip_release(zntusb)
zentra_strip_release(zentracpl)

find_program(ZENTRA_MAKENSIS makensis REQUIRED)
set(ZENTRA_SETUP ${CMAKE_BINARY_DIR}/ZentraSetup.exe)
set(ZENTRA_SETUP_SCRIPT ${PROJECT_SOURCE_DIR}/setup/zentra.nsi)
set(ZENTRA_SETUP_ICON ${ZENTRA_ARTWORK_DIR}/zntusb_234.ico)
add_custom_command(
  OUTPUT ${ZENTRA_SETUP}
  COMMAND ${ZENTRA_MAKENSIS} -V2 -INPUTCHARSET UTF8
          -DZNTUSB=$<TARGET_FILE:zntusb> -DZENTRACPL=$<TARGET_FILE:zentracpl>
          -DICON=${ZENTRA_SETUP_ICON} -DREGISTRATION=${ZENTRA_REGISTRATION_NSH}
          -DOUTFILE=${ZENTRA_SETUP} -DVERSION=1.0.0
          ${ZENTRA_SETUP_SCRIPT}
  DEPENDS zntusb zentracpl $<TARGET_FILE:zntusb> $<TARGET_FILE:zentracpl> ${ZENTRA_SETUP_SCRIPT}
          ${ZENTRA_REGISTRATION_NSH} ${ZENTRA_SETUP_ICON}
  COMMENT "Building the setup program ZentraSetup.exe"
  VERBATIM)
add_custom_target(zentra_setup ALL DEPENDS ${ZENTRA_SETUP})

# Every shipped binary: ASLR with 64-bit addresses and DEP in its header;
# the programs stripped, their debug information beside them.
add_test(NAME shipped_binaries_hardened
  COMMAND ${PROJECT_SOURCE_DIR}/tests/setup/check_hardening.sh ${CMAKE_OBJDUMP}
          $<TARGET_FILE:zntusb> $<TARGET_FILE:zentracpl> --setup ${ZENTRA_SETUP})

# No unbounded string copy in what the shipped binaries compile, and the
# check itself finds the ones planted in its sample.
add_test(NAME no_unbounded_string_copies
  COMMAND ${PROJECT_SOURCE_DIR}/tests/setup/check_string_copies.sh
          ${PROJECT_SOURCE_DIR}/loader ${PROJECT_SOURCE_DIR}/cpl ${PROJECT_SOURCE_DIR}/preset
          ${PROJECT_SOURCE_DIR}/driver)
add_test(NAME string_copy_check_finds_planted_copies
  COMMAND ${PROJECT_SOURCE_DIR}/tests/setup/string_copy_check_test.sh)

# The setup program under Wine, in a prefix of its own: silent installation,
# the sheet found through the registry, the tray program started from its
# Run value, silent removal leaving the registry and the files as they were.
add_test(NAME setup_installs_and_uninstalls
  COMMAND ${PROJECT_SOURCE_DIR}/tests/setup/setup_test.sh ${ZENTRA_SETUP} ${CMAKE_BINARY_DIR}
          ${PROJECT_SOURCE_DIR}/scripts/wine/bench-settings.reg)
set_tests_properties(setup_installs_and_uninstalls PROPERTIES TIMEOUT 600)
add_dependencies(wine_tests zentra_setup)

# What the setup test asks Windows about the installation.
add_executable(zntsetupprobe ${PROJECT_SOURCE_DIR}/tests/setup/setup_probe.cpp)
target_link_libraries(zntsetupprobe PRIVATE zentra_core advapi32 user32)
set_target_properties(zntsetupprobe PROPERTIES OUTPUT_NAME ZntSetupProbe)
add_dependencies(wine_tests zntsetupprobe)
