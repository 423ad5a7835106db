// Every class by ProgID, version-independent and .1 alike.
var failures = 0;
function fail(what) { WScript.Echo("FAIL " + what); failures++; }
var served = ["PatientInfo", "RecordingInfo", "GeneralInfo", "AnalysisInfo", "LeadErrorInfo",
              "EncodedData", "LeadData", "Writer", "Reader", "Loader", "Analysis"];
for (var i = 0; i < served.length * 2; i++) {
  var progId = "KTXSCP32.Scp" + served[i >> 1] + (i & 1 ? ".1" : "");
  try { new ActiveXObject(progId); } catch (e) { fail(progId + " not created"); }
}

var general = new ActiveXObject("KTXSCP32.ScpGeneralInfo");
if (general.InterpretationConfirmed != 0) fail("InterpretationConfirmed default");
general.InterpretationConfirmed = true;
if (general.InterpretationConfirmed != true) fail("InterpretationConfirmed round trip");
general.ReceivedDay = 31; general.ReceivedMonth = 13; general.ReceivedYear = 2020;
try { var d = general.ReceivedDate; fail("month 13 composed a date"); } catch (e) {}

var errors = new ActiveXObject("KTXSCP32.ScpLeadErrorInfo");
errors.Allocate(3); errors.LeadErrorCode(3) = 7;
if (errors.LeadErrorCode(3) != 7) fail("lead error code 3");
try { errors.LeadErrorCode(4); fail("lead error code 4 read"); } catch (e) {}
errors.Grow(2);
if (errors.Leads != 5) fail("Grow 2 gives 5 leads");
try { errors.Grow(250); fail("Grow beyond 254 succeeded"); } catch (e) {}
errors.Allocate(0);
if (errors.Leads != 0) fail("Allocate 0 empties");

if (failures == 0) WScript.Echo("PASS");
