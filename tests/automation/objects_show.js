// Prints what the automation objects read from one SCP-ECG file, one "class.key=value"
// line each, in the form objects_show/expected_from_json.py makes of the native
// `scpecg show --json` for the same file. Arguments: a scratch folder (unused), the file,
// the classes to print (comma-separated).
var file = WScript.Arguments(1);
var wanted = "," + WScript.Arguments(2) + ",";
var reader = new ActiveXObject("KTXSCP32.ScpReader");
var loader = new ActiveXObject("KTXSCP32.ScpLoader");

function put(key, value) { WScript.Echo(key + "=" + value); }
// One line per [key, property] pair; a null text prints as "".
function puts(prefix, object, pairs) {
  for (var i = 0; i < pairs.length; i++) {
    var value = object[pairs[i][1]];
    put(prefix + pairs[i][0], value == null ? "" : value);
  }
}
function pad(n, width) {
  for (var s = String(n); s.length < width;) s = "0" + s;
  return s;
}
function date(y, m, d) { return pad(y, 4) + "-" + pad(m, 2) + "-" + pad(d, 2); }
function time(h, m, s) { return pad(h, 2) + ":" + pad(m, 2) + ":" + pad(s, 2); }
function flag(b) { return b ? 1 : 0; }
function want(name) { return wanted.indexOf("," + name + ",") >= 0; }
function power(on, cutoff) { return on ? Math.round(cutoff) + " Hz" : "off"; }

loader.Load(file);

if (want("patient")) {
  var p = new ActiveXObject("KTXSCP32.ScpPatientInfo");
  reader.ReadPatient(file, p);
  puts("patient.", p, [["last_name", "LastName"], ["first_name", "FirstName"],
                       ["patient_id", "PatientId"], ["sex_code", "Gender"]]);
  put("patient.height_mm", Math.round(p.Height * 1000));
  put("patient.weight_g", Math.round(p.Weight * 1000));
  put("patient.birth_date", date(p.YearOfBirth, p.MonthOfBirth, p.DayOfBirth));
}
if (want("recording")) {
  var r = new ActiveXObject("KTXSCP32.ScpRecordingInfo");
  reader.ReadRecording(file, r);
  put("recording.acquisition_date", date(r.AcquisitionYear, r.AcquisitionMonth, r.AcquisitionDay));
  put("recording.acquisition_time",
      time(r.AcquisitionHour, r.AcquisitionMinute, r.AcquisitionSecond));
  puts("recording.", r, [["device_id", "DeviceID"], ["device_type", "DeviceType"],
      ["serial_number", "SerialNumber"], ["program_revision", "ProgramRevision"]]);
  for (var f = 0; f < 2; f++) {
    var form = ["recording.acquisition.", "recording.data."][f], suffix = ["", "Data"][f];
    put(form + "baseline", flag(r["FilterBaseline" + suffix]));
    put(form + "muscle", flag(r["FilterMuscle" + suffix]));
    put(form + "power", power(r["FilterPower" + suffix], r.FilterPowerCutoff));
  }
}
if (want("general")) {
  var g = new ActiveXObject("KTXSCP32.ScpGeneralInfo");
  reader.ReadGeneral(file, g);
  put("general.received", date(g.ReceivedYear, g.ReceivedMonth, g.ReceivedDay) + " " +
      time(g.ReceivedHour, g.ReceivedMinute, g.ReceivedSecond));
  put("general.interpretation_confirmed", flag(g.InterpretationConfirmed));
  put("general.interpretation_modified", flag(g.InterpretationModified));
  puts("general.", g, [["interpretation_text", "InterpretationText"], ["comment", "CommentText"],
      ["overreading_physician", "OverreadingPhysician"],
      ["interpretation_physician", "InterpretationPhysician"],
      ["recording_physician", "RecordingPhysician"], ["recording_location", "RecordingLocation"],
      ["recording_id", "RecordingId"], ["interpretation_app", "InterpretationApp"],
      ["interpretation_version", "InterpretationVer"], ["recording_app", "RecordingApp"],
      ["recording_version", "RecordingVer"], ["creator_app", "CreatorApp"],
      ["creator_version", "CreatorVer"], ["modifier_app", "ModifierApp"],
      ["modifier_version", "ModifierVer"]]);
}
if (want("lead_errors")) {
  var e = new ActiveXObject("KTXSCP32.ScpLeadErrorInfo");
  loader.GetLeadErrors(e);
  put("lead_errors.count", e.Leads);
  for (var i = 1; i <= e.Leads; i++) put("lead_errors." + i, e.LeadId(i) + " " + e.LeadErrorCode(i));
}
var rhythm = new ActiveXObject("KTXSCP32.ScpEncodedData");
if (want("leads") || want("rhythm")) loader.GetRhythm(rhythm);
if (want("leads")) {
  put("leads.count", loader.GetLeads());
  for (var i = 1; i <= rhythm.Leads; i++) {
    put("leads." + i, rhythm.LeadId(i) + " " + rhythm.SamplesLeadStart(i) + " " +
        rhythm.SamplesLeadEnd(i));
  }
}
if (want("analysis")) {
  var a = new ActiveXObject("KTXSCP32.ScpAnalysisInfo");
  reader.ReadAnalysis(file, a);
  var globals = [["qrs_types", "QRSTypes"], ["pacemaker_spikes", "PossiblePacemakerSpikes"],
                 ["rr_ms", "AvRRms"], ["pp_ms", "AvPPms"], ["p_onset_ms", "POnsetms"],
                 ["p_offset_ms", "POffsetms"], ["qrs_onset_ms", "QRSOnsetms"],
                 ["qrs_offset_ms", "QRSOffsetms"], ["t_offset_ms", "TOffsetms"],
                 ["p_axis", "PAxis"], ["qrs_axis", "QRSAxis"], ["t_axis", "TAxis"]];
  puts("analysis.", a, globals);
  for (var k = 0; k < 2 && (a.MorphologyCodes > 0 || a.RhythmCodes > 0); k++) {
    var kind = ["Morphology", "Rhythm"][k], codes = [];
    for (var i = 1; i <= a[kind + "Codes"]; i++) codes.push(a[kind + "Code"](i));
    put("analysis." + kind.toLowerCase() + "_codes", codes.join(" "));
  }
}
if (want("measurements")) {
  var m = new ActiveXObject("KTXSCP32.ScpLeadData");
  reader.ReadLeadData(file, m);
  var names = ["LeadId", "PDuration", "PRInterval", "QRSDuration", "QTInterval", "QDuration",
               "RDuration", "SDuration", "RdashDuration", "SdashDuration", "QAmplitude",
               "RAmplitude", "SAmplitude", "RdashAmplitude", "SdashAmplitude", "JPointAmplitude",
               "PplusAmplitude", "PminusAmplitude", "TplusAmplitude", "TminusAmplitude",
               "STSlope", "PMorphology", "TMorphology", "IsoElectricI", "IsoElectricK",
               "IntrinsicoidDeflection", "ECGRecordingConditions", "STAmplitudeJplus20",
               "STAmplitudeJplus60", "STAmplitudeJplus80"];
  put("measurements.count", m.Leads);
  for (var i = 1; i <= m.Leads; i++) {
    var values = [];
    for (var n = 0; n < names.length; n++) values.push(m[names[n]](i));
    put("measurements." + i, values.join(" "));
  }
}
function samples(key, data) {
  put(key + ".avm", data.AVM);
  put(key + ".interval", data.SampleInterval);
  for (var i = 1; i <= data.Leads; i++) {
    var count = data.Samples(i), low = 0, high = 0;
    for (var s = 1; s <= count; s++) {
      var v = data.DataSample(i, s);
      if (s == 1 || v < low) low = v;
      if (s == 1 || v > high) high = v;
    }
    put(key + "." + i, count + " " + low + " " + high);
  }
}
if (want("rhythm")) samples("rhythm", rhythm);
if (want("reference_beats")) {
  var median = new ActiveXObject("KTXSCP32.ScpEncodedData");
  loader.GetMedian(median);
  samples("reference_beats", median);
}
