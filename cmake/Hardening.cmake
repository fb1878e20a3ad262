# Every Windows program and library of this build is linked for address
# space layout randomisation with 64-bit addresses and for data execution
# prevention. Set here once, before any target exists, so that every source
# added to the programs later is built the same way.
add_link_options(LINKER:--dynamicbase LINKER:--nxcompat LINKER:--high-entropy-va)

# The shipped binaries are stripped after linking; their debug information
# stays beside them as NAME.debug, which the stripped file names in its
# .gnu_debuglink section, so that a debugger given the binary finds it.
function(zentra_strip_release target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
            $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    COMMENT "Stripping $<TARGET_FILE_NAME:${target}>, its debug information kept beside it"
    VERBATIM)
endfunction()
