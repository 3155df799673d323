cmake_minimum_required(VERSION 3.25)
# Runs a program and checks its exit status and what it printed:
#   cmake -DCOMMAND="program|arg|..." -DEXIT=0|nonzero -DMATCH=regex [-DNO_MATCH=regex]
#         -P run_check.cmake
# The command's words are separated by '|'; stdout and stderr are checked
# together.

if(NOT COMMAND)
  message(FATAL_ERROR "usage: cmake -DCOMMAND=program|args -DEXIT=... -DMATCH=... -P run_check.cmake")
endif()
string(REPLACE "|" ";" command "${COMMAND}")

execute_process(COMMAND ${command} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(all "${out}${err}")
message("${all}")
if(EXIT STREQUAL "nonzero")
  if(rc STREQUAL "0")
    message(FATAL_ERROR "expected a failure exit, got 0")
  endif()
elseif(NOT rc STREQUAL "${EXIT}")
  message(FATAL_ERROR "expected exit ${EXIT}, got ${rc}")
endif()
if(DEFINED MATCH AND NOT all MATCHES "${MATCH}")
  message(FATAL_ERROR "output does not match: ${MATCH}")
endif()
if(DEFINED NO_MATCH AND all MATCHES "${NO_MATCH}")
  message(FATAL_ERROR "output matches what it must not: ${NO_MATCH}")
endif()
