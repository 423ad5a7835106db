cmake_minimum_required(VERSION 3.20)
# A real 12-lead ECG end to end: LUDB record 135 (its stored values are microvolts)
# imported, analysed, plotted and exported as WFDB and EDF+. TOOL is scpecg, LUDB the
# shared records' folder, OUT a scratch folder. Says "skipped:" when LUDB is absent.
if(NOT EXISTS ${LUDB}/135.hea)
  message("skipped: ${LUDB} is absent (the shared data beside the checkout)")
  return()
endif()
# The analysis makes its working copy in the documents folder, HOME here.
file(MAKE_DIRECTORY ${OUT} $ENV{HOME})

# Runs scpecg with ARGN: exit 0 and output matching `pattern`, whose first group lands
# in `match`.
function(run pattern)
  execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT "${out}${err}" MATCHES "${pattern}")
    message(FATAL_ERROR "scpecg ${ARGN}: exit ${status}, expected '${pattern}':\n${out}${err}")
  endif()
  set(match "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# One sample of 2032 uV (lead V4) is moved off the marker values, to 2031.
run("135.scp: imported from wfdb [^\n]*135, 12 leads of 5000 samples at 500 Hz, AVM 1000 nV\n[^\n]*135.scp: 1 sample moved off the marker values\n"
  import --from wfdb ${LUDB}/135 --gain 1000 -o ${OUT}/135.scp)
run("135.scp: 0 ResultIsSuccess OK" analyze --text ${OUT}/135.scp)
run("serial_number: WFDB ludb/135.*interpretation_text: Sinus rhythm.*comment: <diagnoses>:.*Rhythm: Sinus rhythm.*rr_ms: [0-9]+"
  show ${OUT}/135.scp)
run("135.png: 12 leads, layout 3x4\\+1" plot ${OUT}/135.scp -o ${OUT}/135.png)
run("135x.hea: WFDB record 135x, 12 leads of 5000 samples at 500 Hz, format 16, 1000 ADC units per mV; [^\n]*135x.atr: ([0-9]+) beats\n"
  export --format wfdb ${OUT}/135.scp -o ${OUT}/135x)
set(beats ${match})
run("135x.edf: EDF\\+, 12 leads of 5000 samples at 500 Hz in uV; ${beats} beats and [1-9] interpretation lines as annotations"
  export --format edf ${OUT}/135.scp -o ${OUT}/135x.edf)

# At 1 uV a unit the export holds LUDB's own values: every lead's checksum is the
# original header's, but for the one moved sample's lead.
file(STRINGS ${LUDB}/135.hea original REGEX "^135.dat ")
file(STRINGS ${OUT}/135x.hea exported REGEX "^135x.dat ")
set(same 0)
foreach(i RANGE 11)
  list(GET original ${i} a)
  list(GET exported ${i} b)
  string(REGEX REPLACE "^[^ ]+ [^ ]+ [^ ]+ [^ ]+ [^ ]+ [^ ]+ ([^ ]+) .*" "\\1" a "${a}")
  string(REGEX REPLACE "^[^ ]+ [^ ]+ [^ ]+ [^ ]+ [^ ]+ [^ ]+ ([^ ]+) .*" "\\1" b "${b}")
  if(a STREQUAL b)
    math(EXPR same "${same} + 1")
  endif()
endforeach()
if(NOT same EQUAL 11)
  message(FATAL_ERROR "${same} of 12 checksums as LUDB's, not 11")
endif()

# BioSig reads the beats of the annotation file.
find_program(SAVE2GDF save2gdf)
if(SAVE2GDF)
  execute_process(COMMAND ${SAVE2GDF} -JSON ${OUT}/135x.hea OUTPUT_VARIABLE json ERROR_QUIET)
  if(NOT json MATCHES "\"NumberOfGroupsOrUserSpecifiedEvents\"[ \t]*:[ \t]*${beats},")
    message(FATAL_ERROR "BioSig does not find ${beats} beats in 135x.atr:\n${json}")
  endif()
endif()
