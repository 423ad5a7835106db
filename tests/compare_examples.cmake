# Regenerates the example records and compares them with the committed ones.
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${MAKE_EXAMPLES} ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_examples failed")
endif()
foreach(name minimal.scp damaged.scp)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${EXAMPLES}/${name}
    RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "examples/${name} is not what the record builder makes")
  endif()
endforeach()
