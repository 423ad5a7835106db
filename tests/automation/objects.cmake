# The writer, reader, loader and analysis objects of KTXSCP32.dll, under Wine: an
# early-bound GoogleTest client, and the scripts and examples run by cscript.
file(GLOB KTX_PART2_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/objects_*.cpp)
add_executable(test_automation_objects ${KTX_PART2_SOURCES})
target_link_libraries(test_automation_objects PRIVATE ktx_test_support GTest::gtest_main ole32
  oleaut32 uuid)
target_include_directories(test_automation_objects PRIVATE ${CMAKE_BINARY_DIR}/automation/generated)
# Paths as the Windows side sees them (Wine maps the host's root to drive Z:).
string(REPLACE "/" "\\\\" KTX_PART2_MODULE "Z:${CMAKE_BINARY_DIR}/KTXSCP32.dll")
target_compile_definitions(test_automation_objects PRIVATE "KTX_MODULE_PATH=\"${KTX_PART2_MODULE}\""
  "KTX_EXAMPLES_DIR=\"Z:${PROJECT_SOURCE_DIR}/examples\"")
ktx_warnings(test_automation_objects)
add_dependencies(test_automation_objects KTXSCP32 KTXSYS32 KTXSYSEN KTXSYSFR)
add_test(NAME test_automation_objects COMMAND test_automation_objects)
# The analysis works in the documents folder, as the core analysis tests do.
set_tests_properties(test_automation_objects PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
ktx_documents_test(test_automation_objects)

# Late binding needs the server registered: one setup test, then every script under the
# same registry lock as the registration tests.
if(KTX_WINE)
  string(REPLACE "/" "\\" KTX_PART2_DLL_NATIVE "Z:${CMAKE_BINARY_DIR}/KTXSCP32.dll")
  add_test(NAME automation_objects_register COMMAND ${KTX_WINE} regsvr32 /s ${KTX_PART2_DLL_NATIVE})
  set_tests_properties(automation_objects_register PROPERTIES FIXTURES_SETUP objects_registered
    RESOURCE_LOCK ktx_com_registry)
  set(KTX_PART2_WORK ${CMAKE_CURRENT_BINARY_DIR}/objects_scripts)
  # name, script, expected output (or ""), then the script's own arguments; MATCHES, when
  # set by the caller, lists what the output must hold. The scripts run in objects_host,
  # or in Wine's cscript when PART2_CSCRIPT is set.
  function(objects_script name script expected)
    if(PART2_CSCRIPT)
      set(host "")
    else()
      set(host $<TARGET_FILE:objects_host>)
    endif()
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -DWINE=${KTX_WINE} -DHOST=${host} -DSCRIPT=${script}
      -DWORK=${KTX_PART2_WORK}/${name} "-DARGS=${ARGN}" -DEXPECTED=${expected}
      "-DMATCHES=${MATCHES}" -P ${CMAKE_CURRENT_LIST_DIR}/objects_run_script.cmake)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED objects_registered
      RESOURCE_LOCK ktx_com_registry TIMEOUT 900)
    ktx_documents_test(${name})
  endfunction()
  set(KTX_PART2_DIR ${CMAKE_CURRENT_LIST_DIR})
  objects_script(automation_objects_vbs ${KTX_PART2_DIR}/objects_members.vbs ""
    ${PROJECT_SOURCE_DIR}/examples)
endif()

# What a script reads equals what the native `scpecg show --json` printed for the same
# file (objects_show/*.txt, made with objects_show/expected_from_json.py): a record edited by
# the native tool, and two of the shared sample records when they are there.
if(KTX_WINE)
  set(KTX_PART2_SHOW_CLASSES_edited "patient,recording,general,lead_errors,leads,rhythm")
  # The core reader keeps the Huffman-coded or unreadable Section 6 of these two records
  # out (the native tool decodes it), so their waveform classes are not compared.
  set(KTX_PART2_SHOW_CLASSES_SCP-Tools__ECG_20070321_110542_191010101010
    "patient,recording,general,lead_errors,analysis,measurements")
  set(KTX_PART2_SHOW_CLASSES_ecg-contec__demo "patient,recording,general,lead_errors")
  set(KTX_PART2_SAMPLES ${PROJECT_SOURCE_DIR}/../shared/samples/scp)
  foreach(record edited SCP-Tools__ECG_20070321_110542_191010101010 ecg-contec__demo)
    set(file ${KTX_PART2_SAMPLES}/${record}.scp)
    if(record STREQUAL "edited")
      set(file ${KTX_PART2_DIR}/objects_show/edited.scp)
    elseif(NOT EXISTS ${file})
      continue()
    endif()
    objects_script(automation_objects_show_${record} ${KTX_PART2_DIR}/objects_show.js
      ${KTX_PART2_DIR}/objects_show/${record}.txt ${file} ${KTX_PART2_SHOW_CLASSES_${record}})
  endforeach()
endif()

# The sample road of examples/automation, in both languages of the script host: on the
# shipped 39-sample example (too short to analyse: the failing result code is printed) and on ten
# seconds of a synthetic ECG (analysed, measured and interpreted in English and French).
if(KTX_WINE)
  set(KTX_PART2_ROAD ${PROJECT_SOURCE_DIR}/examples/automation)
  set(KTX_PART2_SYNTHETIC ${PROJECT_SOURCE_DIR}/examples/acquisition/synthetic_8lead.raw)
  foreach(host vbs js)
    set(MATCHES "Analysis \\(English\\): -?[1-9]" "Comment: [A-Z]" "Leads \\(12\\)"
      "CRC check: [Tt]rue" "No measurements stored")
    objects_script(automation_objects_road_${host} ${KTX_PART2_ROAD}/road.${host} "")
    set(MATCHES "Analysis \\(English\\): 0 OK\nInterpretation:\nSinus rhythm"
      "Analysis \\(French\\): 0 OK\nInterpretation:\nRythme sinusal" "Leads \\(12\\)"
      "RR [0-9]+ ms" "lead 64: QRS [0-9]+ ms")
    objects_script(automation_objects_road_${host}_analysed ${KTX_PART2_ROAD}/road.${host} ""
      ${KTX_PART2_SYNTHETIC})
    # The same in the system's own script host.
    set(PART2_CSCRIPT ON)
    objects_script(automation_objects_road_${host}_cscript ${KTX_PART2_ROAD}/road.${host} ""
      ${KTX_PART2_SYNTHETIC})
    unset(PART2_CSCRIPT)
  endforeach()
  unset(MATCHES)
endif()

# Late binding for German, French and British callers, whose locale the library is not
# registered for (it is for 1033): the road, created, edited, read and analysed in
# Wine's script host with LANG set (the test command generates these locales).
if(KTX_WINE)
  set(MATCHES "Analysis \\(English\\): 0 OK\nInterpretation:\nSinus rhythm"
    "Analysis \\(French\\): 0 OK" "Comment: [A-Z]" "Leads \\(12\\)" "RR [0-9]+ ms")
  set(PART2_CSCRIPT ON)
  foreach(caller de_DE:vbs fr_FR:js en_GB:vbs)
    string(REPLACE ":" ";" caller ${caller})
    list(GET caller 0 locale)
    list(GET caller 1 host)
    objects_script(automation_locale_${locale} ${KTX_PART2_ROAD}/road.${host} ""
      ${KTX_PART2_SYNTHETIC})
    set_tests_properties(automation_locale_${locale} PROPERTIES
      ENVIRONMENT "LANG=${locale}.UTF-8;LC_ALL=${locale}.UTF-8")
  endforeach()
  unset(PART2_CSCRIPT)
  unset(MATCHES)
endif()

# The small script host the script tests run in: after each script it checks that
# DllCanUnloadNow answers S_OK.
add_executable(objects_host ${CMAKE_CURRENT_LIST_DIR}/script_host/objects_host.cpp)
target_link_libraries(objects_host PRIVATE ole32 oleaut32 uuid)
ktx_warnings(objects_host)
