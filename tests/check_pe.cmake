cmake_minimum_required(VERSION 3.25)
# Checks the DLL's export and import tables:
#   cmake -DLIBRARY=tevrind.dll -DOBJDUMP=x86_64-w64-mingw32-objdump -P check_pe.cmake
# The export directory names tevrind.dll and holds exactly the three
# functions, ordinals 1 to 3 in the byte order of their names; the DLL
# imports KERNEL32 and the C runtime and nothing else.

set(expected_exports "calc_ksv_20=1;calc_pO2=2;calc_tau0_20=3")

execute_process(COMMAND "${OBJDUMP}" -p "${LIBRARY}" OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)

if(NOT dump MATCHES "\nName[ \t]+[0-9a-fA-F]+ ([^\n]+)\n")
  message(FATAL_ERROR "no export directory in ${LIBRARY}:\n${dump}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL "tevrind.dll")
  message(FATAL_ERROR "the export directory names '${CMAKE_MATCH_1}', not tevrind.dll")
endif()
if(NOT dump MATCHES "Ordinal Base[ \t]+([0-9]+)")
  message(FATAL_ERROR "no ordinal base in the export directory")
endif()
set(base ${CMAKE_MATCH_1})

# "[Ordinal/Name Pointer] Table" rows: "[   0] name" (ordinal less the base)
# or, in newer binutils, "[   0] +base[   1] 0000 name".
string(REGEX REPLACE ".*\\[Ordinal/Name Pointer\\] Table[^\n]*\n" "" names "${dump}")
string(REGEX REPLACE "\n[ \t]*\n.*" "" names "${names}")
string(REGEX MATCHALL "[^\n]+" rows "${names}")
set(exports "")
foreach(row IN LISTS rows)
  if(row MATCHES "\\[ *([0-9]+)\\] \\+base\\[ *([0-9]+)\\] +[0-9a-fA-F]+ +([^ ]+)$")
    list(APPEND exports "${CMAKE_MATCH_3}=${CMAKE_MATCH_2}")
  elseif(row MATCHES "\\[ *([0-9]+)\\] +([^ ]+)$")
    math(EXPR ordinal "${CMAKE_MATCH_1} + ${base}")
    list(APPEND exports "${CMAKE_MATCH_2}=${ordinal}")
  else()
    message(FATAL_ERROR "unexpected row in the name table: ${row}")
  endif()
endforeach()
list(SORT exports)
if(NOT exports STREQUAL expected_exports)
  message(FATAL_ERROR "exports are [${exports}], expected [${expected_exports}]:\n${dump}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "DLL Name: " "")
foreach(dll IN LISTS imports)
  string(TOLOWER "${dll}" lower)
  if(NOT lower MATCHES "^(kernel32\\.dll|msvcrt\\.dll|ucrtbase\\.dll|api-ms-win-crt-[a-z0-9-]+\\.dll)$")
    message(FATAL_ERROR "${LIBRARY} imports ${dll}; only KERNEL32 and the C runtime are allowed "
                        "(all imports: ${imports})")
  endif()
endforeach()
if(NOT "KERNEL32.dll" IN_LIST imports)
  message(FATAL_ERROR "${LIBRARY} does not import KERNEL32.dll: [${imports}]")
endif()
message(STATUS "${LIBRARY}: exports [${exports}], imports [${imports}]")
