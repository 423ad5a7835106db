cmake_minimum_required(VERSION 3.20)
# Fails when FOLDER (the documents folder of an analysis) still holds a "~KT" working copy.
file(GLOB left "${FOLDER}/~KT*")
if(left)
  message(FATAL_ERROR "working copies left behind: ${left}")
endif()
