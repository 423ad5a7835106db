cmake_minimum_required(VERSION 3.20)
# Runs TOOL with ARGS ("|"-separated) and checks its exit status (EXIT, "a|b" for
# either) and that stdout+stderr match the regular expression PATTERN.
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${TOOL} ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
string(REPLACE "|" ";" allowed "${EXIT}")
if(NOT status IN_LIST allowed)
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}\n${out}${err}")
endif()
if(NOT "${out}${err}" MATCHES "${PATTERN}")
  message(FATAL_ERROR "output does not match '${PATTERN}':\n${out}${err}")
endif()
if(status STREQUAL "" OR status MATCHES "[A-Za-z]")
  message(FATAL_ERROR "did not exit normally: ${status}")
endif()
