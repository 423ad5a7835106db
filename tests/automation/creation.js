// Every class by ProgID, version-independent and .1 alike; information objects and
// sample arrays from JScript.
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

// Sample arrays: SetDataSamples takes a JScript array, GetDataSamples fills one (its
// elements need not exist yet), and no length beyond the array.
var encoded = new ActiveXObject("KTXSCP32.ScpEncodedData");
encoded.Allocate(1); encoded.SetSamples(1, 5);
encoded.SetDataSamples(1, 1, 5, [3, -4, 5, 2031, 7]);
if (encoded.DataSample(1, 2) != -4 || encoded.DataSample(1, 4) != 2031) fail("SetDataSamples");
var filled = new Array(3);
encoded.GetDataSamples(1, 3, 3, filled);
if (filled.join() != "5,2031,7") fail("GetDataSamples gave " + filled.join());
try { encoded.GetDataSamples(1, 1, 4, filled); fail("length beyond the array"); } catch (e) {}
try { encoded.SetDataSamples(1, 5, 2, [1, 2, 3]); fail("samples beyond the lead"); } catch (e) {}

if (failures == 0) WScript.Echo("PASS");
