# Registers KTXSCP32.dll with regsvr32 and reads back every registry entry of every class,
# then checks that unregistering removes them all but the CLSID key, and that registering
# twice is harmless. Run by ctest under Wine: cmake -DWINE=... -DDLL=... -P registration.cmake
set(LIBID "{0D3CD872-74B8-4D6C-B9B4-A1ED4B6D5F61}")
# Class name and CLSID, as clients have them compiled in.
set(CLASSES
  "ScpPatientInfo={05378254-F61B-4785-ACB1-A14AC95BA983}"
  "ScpRecordingInfo={EAB032D2-D1FA-42A0-8ABB-23FBCDD2DF41}"
  "ScpGeneralInfo={F030558E-5F07-4CE5-821F-7F9220EB8BEE}"
  "ScpAnalysisInfo={139038DA-5EFD-4A51-9488-EF146A1B1ECD}"
  "ScpLeadErrorInfo={9A0F844C-689C-452B-B114-0314E76215A7}"
  "ScpEncodedData={10229793-8F9E-43D2-BBC7-2862AE0842FB}"
  "ScpWriter={29D5631E-7DA5-4520-9CAC-C5608D298FD2}"
  "ScpReader={6BFCAFCE-BB29-46D1-A722-2D3D051C0C43}"
  "ScpLeadData={CB0123ED-F534-4A16-B388-514E1BDBB5B8}"
  "ScpLoader={0A77DE66-9C7F-403E-B102-C9C07ABA8FFF}"
  "ScpAnalysis={36F8CDD5-1853-4924-B68C-ACE134BB5471}")

string(REPLACE "/" "\\" dll_native "Z:${DLL}")
set(failures 0)

function(fail message)
  message(SEND_ERROR "${message}")
endfunction()

function(regsvr32)
  execute_process(COMMAND ${WINE} regsvr32 /s ${ARGN} ${dll_native} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    fail("regsvr32 ${ARGN} exited with ${rc}")
  endif()
endfunction()

# The text of `reg query key /s` without carriage returns, or "missing".
function(query key out)
  execute_process(COMMAND ${WINE} reg query "HKCR\\${key}" /s RESULT_VARIABLE rc
    OUTPUT_VARIABLE text ERROR_QUIET)
  if(NOT rc EQUAL 0)
    set(text "missing")
  endif()
  string(REPLACE "\r" "" text "${text}")
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(expect key expected)
  query("${key}" actual)
  if(NOT actual STREQUAL expected)
    fail("HKCR\\${key}:\n--- expected\n${expected}\n--- found\n${actual}")
  endif()
endfunction()

function(expect_registered name clsid)
  set(root "HKEY_CLASSES_ROOT")
  set(progid "KTXSCP32.${name}.1")
  set(independent "KTXSCP32.${name}")
  set(d "    (Default)    REG_SZ    ")
  expect("${progid}" "${root}\\${progid}\n${d}${name} Class\n\n${root}\\${progid}\\CLSID\n${d}${clsid}")
  expect("${independent}" "${root}\\${independent}\n${d}${name} Class\n\n${root}\\${independent}\\CLSID\n${d}${clsid}\n\n${root}\\${independent}\\CurVer\n${d}${progid}")
  set(k "${root}\\CLSID\\${clsid}")
  expect("CLSID\\${clsid}" "${k}\n${d}${name} Class\n\n${k}\\InprocServer32\n${d}${dll_native}\n    ThreadingModel    REG_SZ    Apartment\n\n${k}\\ProgID\n${d}${progid}\n\n${k}\\Programmable\n\n${k}\\TypeLib\n${d}${LIBID}\n\n${k}\\VersionIndependentProgID\n${d}${independent}")
endfunction()

function(expect_all_registered)
  foreach(entry IN LISTS CLASSES)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 clsid)
    expect_registered(${name} ${clsid})
  endforeach()
  query("TypeLib\\${LIBID}\\1.0\\409" library)
  if(NOT library MATCHES "REG_SZ    ${dll_native}" AND NOT library MATCHES "KTXSCP32.dll")
    fail("type library not registered: ${library}")
  endif()
endfunction()

# Fresh start, whatever an earlier run left.
regsvr32(/u)
regsvr32()
expect_all_registered()
# A second registration replaces the entries by the same ones.
regsvr32()
expect_all_registered()

regsvr32(/u)
foreach(entry IN LISTS CLASSES)
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 clsid)
  expect("KTXSCP32.${name}.1" "missing")
  expect("KTXSCP32.${name}" "missing")
  expect("CLSID\\${clsid}" "missing")
endforeach()
expect("TypeLib\\${LIBID}" "missing")
execute_process(COMMAND ${WINE} reg query "HKCR\\CLSID" /ve RESULT_VARIABLE rc OUTPUT_QUIET
  ERROR_QUIET)
if(NOT rc EQUAL 0)
  fail("the CLSID key itself was removed")
endif()
# Unregistering what is not registered succeeds too.
regsvr32(/u)
# Leave the module registered for the script and client tests.
regsvr32()
