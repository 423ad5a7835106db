# Regenerates the example records and compares them with the committed ones. NAMES
# ("|"-separated) lists the files to compare; by default the two example records.
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${MAKE_EXAMPLES} ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_examples failed")
endif()
if(DEFINED NAMES)
  string(REPLACE "|" ";" names "${NAMES}")
else()
  set(names minimal.scp damaged.scp)
endif()
foreach(name ${names})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${EXAMPLES}/${name}
    RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${EXAMPLES}/${name} is not what its generator makes")
  endif()
endforeach()
