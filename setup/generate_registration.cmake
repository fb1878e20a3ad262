# Turns setup/registration.table into the setup program's registry steps
# (an NSIS header of macros) and a C++ table for the stand-in panel and the
# tests. Run at configure time by cmake/Registration.cmake:
#   zentra_generate_registration(TABLE NSH HEADER)

function(zentra_registration_error table number text)
  message(FATAL_ERROR "${table}:${number}: ${text}")
endfunction()

# The text as an NSIS string between double quotes.
function(zentra_nsis_text out text)
  string(REPLACE "$" "$$" text "${text}")
  string(REPLACE "\"" "$\\\"" text "${text}")
  string(REPLACE "%SYSTEM%" "$SYSDIR" text "${text}")
  string(REPLACE "%WINDOWS%" "$WINDIR" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# The text as a C++ string literal.
function(zentra_cpp_text out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

function(zentra_key_depth out key)
  string(REGEX REPLACE "[^\\\\]" "" separators "${key}")
  string(LENGTH "${separators}" depth)
  set(${out} ${depth} PARENT_SCOPE)
endfunction()

function(zentra_generate_registration table nsh header)
  file(STRINGS ${table} lines ENCODING UTF-8)
  set(parts panel users product runtime tree parent)
  set(cpp_parts Panel Users Product Runtime Tree Parent)
  foreach(part ${parts})
    set(nsis_${part} "")
  endforeach()
  set(cpp_entries "")
  set(emptied_keys "")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    if(NOT line MATCHES "^([^|]*)\\|([^|]*)\\|([^|]*)\\|(.*)$")
      zentra_registration_error(${table} ${number} "expected four fields separated by |")
    endif()
    string(STRIP "${CMAKE_MATCH_1}" part)
    string(STRIP "${CMAKE_MATCH_2}" key)
    string(STRIP "${CMAKE_MATCH_3}" name)
    string(STRIP "${CMAKE_MATCH_4}" data)
    list(FIND parts "${part}" part_index)
    if(part_index LESS 0)
      zentra_registration_error(${table} ${number} "unknown part \"${part}\"")
    endif()
    if(key STREQUAL "" OR key MATCHES "^\\\\|\\\\$")
      zentra_registration_error(${table} ${number} "a key path, without a leading or trailing backslash")
    endif()
    if(part MATCHES "^(users|tree|parent)$" AND NOT (name STREQUAL "" AND data STREQUAL ""))
      zentra_registration_error(${table} ${number} "a ${part} entry names a key only")
    endif()
    if(name MATCHES "%d" AND NOT part STREQUAL "runtime")
      zentra_registration_error(${table} ${number} "only runtime values have numbered names")
    endif()

    zentra_nsis_text(nkey "${key}")
    zentra_nsis_text(nname "${name}")
    zentra_nsis_text(ndata "${data}")
    if(part STREQUAL "panel")
      string(APPEND nsis_panel "  WriteRegStr HKLM ${nkey} ${nname} ${ndata}\n")
      list(PREPEND remove_values "  DeleteRegValue HKLM ${nkey} ${nname}\n")
    elseif(part STREQUAL "product")
      # A default: what a user chose before a new installation stays.
      string(APPEND nsis_product "  ClearErrors\n  ReadRegStr $0 HKLM ${nkey} ${nname}\n"
        "  \${If} \${Errors}\n    WriteRegStr HKLM ${nkey} ${nname} ${ndata}\n  \${EndIf}\n")
      list(PREPEND remove_values "  DeleteRegValue HKLM ${nkey} ${nname}\n")
    elseif(part STREQUAL "users")
      string(APPEND nsis_users "  !insertmacro ZentraCreateKeyForUsers ${nkey}\n")
    elseif(part STREQUAL "runtime")
      if(name MATCHES "^(.*)%d(.*)$")
        zentra_nsis_text(prefix "${CMAKE_MATCH_1}")
        zentra_nsis_text(suffix "${CMAKE_MATCH_2}")
        list(PREPEND remove_values "  !insertmacro ZentraDeleteNumberedValues ${nkey} ${prefix} ${suffix}\n")
      else()
        list(PREPEND remove_values "  DeleteRegValue HKLM ${nkey} ${nname}\n")
      endif()
    elseif(part STREQUAL "tree")
      list(PREPEND remove_values "  DeleteRegKey HKLM ${nkey}\n")
    endif()
    # Keys the uninstaller removes once they are empty: all but the product
    # defaults' keys outside the product (the Run key belongs to Windows).
    if(NOT part STREQUAL "product" AND NOT key IN_LIST emptied_keys)
      list(APPEND emptied_keys "${key}")
      list(APPEND emptied_parts "${part_index}")
    endif()

    list(GET cpp_parts ${part_index} cpp_part)
    zentra_cpp_text(ckey "${key}")
    zentra_cpp_text(cname "${name}")
    zentra_cpp_text(cdata "${data}")
    string(APPEND cpp_entries "    {RegistrationPart::${cpp_part}, ${ckey}, ${cname}, ${cdata}},\n")
  endforeach()

  # Deepest keys first, so that a parent is empty when its turn comes.
  set(remove_keys "")
  set(cpp_removed "")
  list(LENGTH emptied_keys key_count)
  math(EXPR last_key "${key_count} - 1")
  foreach(step RANGE 0 16)
    math(EXPR depth "16 - ${step}")
    foreach(i RANGE 0 ${last_key})
      list(GET emptied_keys ${i} key)
      zentra_key_depth(key_depth "${key}")
      if(key_depth EQUAL depth)
        zentra_nsis_text(nkey "${key}")
        string(APPEND remove_keys "  DeleteRegKey /ifempty HKLM ${nkey}\n")
        list(GET emptied_parts ${i} part_index)
        list(GET cpp_parts ${part_index} cpp_part)
        zentra_cpp_text(ckey "${key}")
        string(APPEND cpp_removed "    {RegistrationPart::${cpp_part}, ${ckey}},\n")
      endif()
    endforeach()
  endforeach()
  string(JOIN "" remove_values_text ${remove_values})

  set(banner "Made by the build from setup/registration.table; not to be edited.")
  file(WRITE ${nsh}.new
    "; ${banner}\n\n"
    "; How the game-controllers panel finds the plug-in.\n"
    "!macro ZentraRegisterPanel\n${nsis_panel}!macroend\n\n"
    "; The product's keys, open to standard users.\n"
    "!macro ZentraCreateProductKeys\n${nsis_users}!macroend\n\n"
    "; The product's defaults, where a value is missing.\n"
    "!macro ZentraWriteProductDefaults\n${nsis_product}!macroend\n\n"
    "; Everything the setup program and the programs wrote, values first,\n"
    "; then the keys that are left empty.\n"
    "!macro ZentraRemoveRegistration\n${remove_values_text}${remove_keys}!macroend\n")
  file(WRITE ${header}.new
    "// ${banner}\n"
    "#pragma once\n\n"
    "namespace zentra::setup {\n\n"
    "enum class RegistrationPart { Panel, Users, Product, Runtime, Tree, Parent };\n\n"
    "// One entry of the table, under HKEY_LOCAL_MACHINE: an empty name is the\n"
    "// key's default value; in data, %SYSTEM% and %WINDOWS% name folders.\n"
    "struct RegistrationEntry {\n"
    "    RegistrationPart part;\n"
    "    const char* key;\n"
    "    const char* name;\n"
    "    const char* data;\n"
    "};\n\n"
    "inline constexpr RegistrationEntry kRegistration[] = {\n${cpp_entries}};\n\n"
    "// The keys the uninstaller removes once their values are gone and they are\n"
    "// empty, in that order (deepest first), each with the part that made it.\n"
    "struct RemovedKey {\n"
    "    RegistrationPart part;\n"
    "    const char* key;\n"
    "};\n\n"
    "inline constexpr RemovedKey kRemovedKeys[] = {\n${cpp_removed}};\n\n"
    "}  // namespace zentra::setup\n")
  # Rewritten only when the text changes, so that nothing rebuilds for nothing.
  file(COPY_FILE ${nsh}.new ${nsh} ONLY_IF_DIFFERENT)
  file(COPY_FILE ${header}.new ${header} ONLY_IF_DIFFERENT)
  file(REMOVE ${nsh}.new ${header}.new)
endfunction()
