# Compares the export table of a DLL with the global names of a linker version script.
#   cmake -DOBJDUMP=<objdump> -DLIBRARY=<dll> -DEXPORTS=<version script>
#         [-DLEAVE_OUT=<regex of names the script lists that the DLL does not export>]
#         -P check-exports.cmake
# Fails, naming the names that differ, unless the two sets are equal.

file(READ ${EXPORTS} script)
# The names between "global:" and "local:", one per "name;".
string(REGEX REPLACE "/\\*([^*]|\\*[^/])*\\*/" "" script "${script}")
string(REGEX MATCH "global:([^}]*)local:" globals "${script}")
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*;" names "${CMAKE_MATCH_1}")
set(expected "")
foreach(name IN LISTS names)
    string(REPLACE ";" "" name "${name}")
    if(NOT name STREQUAL "" AND (NOT LEAVE_OUT OR NOT name MATCHES "${LEAVE_OUT}"))
        list(APPEND expected ${name})
    endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} -p ${LIBRARY} failed")
endif()
# The rows of the name pointer table: "\t[   0] Name".
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(.*)" table "${dump}")
set(table "${CMAKE_MATCH_1}")
# The table ends at the first empty line.
string(FIND "${table}" "\n\n" end)
if(end GREATER_EQUAL 0)
    string(SUBSTRING "${table}" 0 ${end} table)
endif()
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]*" rows "${table}")
set(exported "")
foreach(row IN LISTS rows)
    string(REGEX MATCH "([A-Za-z_][A-Za-z0-9_@]*)$" name "${row}")
    list(APPEND exported ${name})
endforeach()

list(SORT expected)
list(SORT exported)
if(NOT expected STREQUAL exported)
    message(FATAL_ERROR "export table of ${LIBRARY}\n  has:      ${exported}\n  expected: ${expected}")
endif()
message(STATUS "${LIBRARY} exports exactly: ${exported}")
