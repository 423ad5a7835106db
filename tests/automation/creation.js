// Every class by ProgID, version-independent and .1 alike.
var failures = 0;
function fail(what) { WScript.Echo("FAIL " + what); failures++; }
function create(progId) {
  try { return new ActiveXObject(progId); } catch (e) { return null; }
}
var served = ["ScpPatientInfo", "ScpRecordingInfo", "ScpGeneralInfo", "ScpAnalysisInfo",
              "ScpLeadErrorInfo", "ScpEncodedData", "ScpLeadData", "ScpWriter", "ScpReader",
              "ScpLoader", "ScpAnalysis"];
for (var i = 0; i < served.length; i++) {
  if (!create("KTXSCP32." + served[i])) fail(served[i] + " not created");
  if (!create("KTXSCP32." + served[i] + ".1")) fail(served[i] + ".1 not created");
}

var general = new ActiveXObject("KTXSCP32.ScpGeneralInfo");
if (general.InterpretationConfirmed != 0) fail("InterpretationConfirmed default");
general.InterpretationConfirmed = true;
if (general.InterpretationConfirmed != true) fail("InterpretationConfirmed round trip");
general.ReceivedDay = 31; general.ReceivedMonth = 13; general.ReceivedYear = 2020;
try { var d = general.ReceivedDate; fail("month 13 composed a date"); } catch (e) {}

var errors = new ActiveXObject("KTXSCP32.ScpLeadErrorInfo");
errors.Allocate(3);
errors.LeadErrorCode(3) = 7;
if (errors.LeadErrorCode(3) != 7) fail("lead error code 3");
try { errors.LeadErrorCode(4); fail("lead error code 4 read"); } catch (e) {}
errors.Grow(2);
if (errors.Leads != 5) fail("Grow 2 gives 5 leads");
try { errors.Grow(250); fail("Grow beyond 254 succeeded"); } catch (e) {}
errors.Allocate(0);
if (errors.Leads != 0) fail("Allocate 0 empties");

if (failures == 0) WScript.Echo("PASS");
