# Points the Wine prefix's documents folder at FOLDER. Wine links the prefix's Documents
# to the home folder, where every native analysis on the machine makes its working
# copies too; the analysis tests count those copies, so they get a folder of their own.
#   cmake -DWINE=wine -DFOLDER=<unix path> -P wine_documents.cmake
file(MAKE_DIRECTORY "${FOLDER}")
string(REPLACE "/" "\\" native "Z:${FOLDER}")
set(shell "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer")
foreach(key "User Shell Folders" "Shell Folders")
  execute_process(COMMAND ${WINE} reg add "${shell}\\${key}" /v Personal /d "${native}" /f
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "wine reg add ${key}: ${rc} ${err}")
  endif()
endforeach()
