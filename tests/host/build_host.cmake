# Builds and runs one of the host programs: MODE=subdirectory builds the library inside
# the host; MODE=package installs the library built in BUILD_DIR and finds it from there.
cmake_minimum_required(VERSION 3.21)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    list(JOIN ARGN " " shown)
    message(FATAL_ERROR "failed (${result}): ${shown}")
  endif()
endfunction()

set(work ${WORK_DIR}/${MODE})
file(REMOVE_RECURSE ${work})
set(configure -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
  -DCMAKE_C_COMPILER=${C_COMPILER})
if(LAUNCHER)
  list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}
    -DCMAKE_C_COMPILER_LAUNCHER=${LAUNCHER})
endif()

if(MODE STREQUAL "package")
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${work}/prefix)
  list(APPEND configure -DCMAKE_PREFIX_PATH=${work}/prefix)
else()
  list(APPEND configure -DKTX_SOURCE_DIR=${SOURCE_DIR})
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/host/${MODE} -B ${work}/build ${configure})
run(${CMAKE_COMMAND} --build ${work}/build -j2)
run(${work}/build/host)
