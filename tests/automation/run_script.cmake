# Runs one VBScript or JScript file with Wine's cscript. Wine's cscript reports no script
# errors of its own, so every script checks with On Error / try and prints "FAIL ..." lines,
# and ends with "PASS": anything else fails the test.
string(REPLACE "/" "\\" script_native "Z:${SCRIPT}")
execute_process(COMMAND ${WINE} cscript //nologo ${script_native} RESULT_VARIABLE rc
  OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 240)
string(REPLACE "\r" "" out "${out}")
if(NOT rc EQUAL 0 OR out MATCHES "FAIL" OR NOT out MATCHES "PASS\n?$")
  message(FATAL_ERROR "cscript exited with ${rc}\n${out}\n${err}")
endif()
