cmake_minimum_required(VERSION 3.20)
# Fails when FOLDER (the documents folder of an analysis) still holds a "~KT" working
# copy. With RESET, empties the folder first instead, so that runs start clean.
if(RESET)
  file(REMOVE_RECURSE "${FOLDER}")
  file(MAKE_DIRECTORY "${FOLDER}")
  return()
endif()
file(GLOB left "${FOLDER}/~KT*")
if(left)
  message(FATAL_ERROR "working copies left behind: ${left}")
endif()
