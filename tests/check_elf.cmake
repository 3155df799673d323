cmake_minimum_required(VERSION 3.25)
# Checks the shared object's dynamic interface:
#   cmake -DLIBRARY=path -DNM=nm -DREADELF=readelf -DSONAME=libtevrind.so.1 -P check_elf.cmake
# Exactly the three functions are defined, the SONAME is the versioned one,
# and only the C and maths libraries are needed.

set(expected_symbols calc_ksv_20 calc_pO2 calc_tau0_20)
set(allowed_needed libc.so.6 libm.so.6)

execute_process(COMMAND "${NM}" -D --defined-only "${LIBRARY}"
  OUTPUT_VARIABLE nm_out COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[^\n]+" lines "${nm_out}")
set(symbols "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* ([^ ]+)$" "\\1" name "${line}")
  list(APPEND symbols "${name}")
endforeach()
list(SORT symbols)
if(NOT symbols STREQUAL expected_symbols)
  message(FATAL_ERROR "defined dynamic symbols are [${symbols}], expected [${expected_symbols}]:\n${nm_out}")
endif()

execute_process(COMMAND "${READELF}" -d "${LIBRARY}" OUTPUT_VARIABLE dyn COMMAND_ERROR_IS_FATAL ANY)
if(NOT dyn MATCHES "\\(SONAME\\)[^\n]*\\[${SONAME}\\]")
  message(FATAL_ERROR "SONAME is not ${SONAME}:\n${dyn}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]]+\\]" needed_lines "${dyn}")
foreach(line IN LISTS needed_lines)
  string(REGEX REPLACE ".*\\[([^]]+)\\]" "\\1" lib "${line}")
  if(NOT lib IN_LIST allowed_needed)
    message(FATAL_ERROR "${LIBRARY} needs ${lib}; only [${allowed_needed}] are allowed")
  endif()
endforeach()
if(NOT dyn MATCHES "libm\\.so")
  message(FATAL_ERROR "${LIBRARY} does not record libm, whose sqrt it calls:\n${dyn}")
endif()
message(STATUS "${LIBRARY}: exports [${symbols}], SONAME ${SONAME}, needs libc and libm only")
