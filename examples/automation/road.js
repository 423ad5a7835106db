// The whole road through KTXSCP32's automation objects, in JScript: create an SCP-ECG
// record from a raw 12-lead acquisition with patient data, edit its comment, derive the
// limb leads, analyse it in English and in French, read everything back and print the
// measurements and the interpretation.
//
//   cscript //nologo road.js [output folder] [raw 12-lead file]
//
// The folder defaults to the current one, the acquisition to the shipped example
// ..\acquisition\raw12_8lead.raw (8 leads, 500 Hz, 5000 nV per unit). KTXSCP32.dll must be
// registered (regsvr32 KTXSCP32.dll); the engine and language modules lie beside it.
var fso = new ActiveXObject("Scripting.FileSystemObject");
var args = WScript.Arguments;
var folder = args.length > 0 ? args(0) : ".";
var raw = args.length > 1 ? args(1)
    : fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName),
                    "..\\acquisition\\raw12_8lead.raw");
var scp = fso.BuildPath(folder, "road_js.scp");

var writer = new ActiveXObject("KTXSCP32.ScpWriter");
var reader = new ActiveXObject("KTXSCP32.ScpReader");
var loader = new ActiveXObject("KTXSCP32.ScpLoader");
var analysis = new ActiveXObject("KTXSCP32.ScpAnalysis");

// 1. Create the record with the patient's data. JScript has no Nothing: a patient object
//    is always passed.
var patient = new ActiveXObject("KTXSCP32.ScpPatientInfo");
patient.LastName = "Dupont";
patient.FirstName = "Luc";
patient.PatientId = "P-0018";
patient.Gender = 1;
patient.YearOfBirth = 1954;
patient.MonthOfBirth = 11;
patient.DayOfBirth = 2;
writer.CreateFromRaw12LFile(scp, raw, patient, 5000, 500, 8);

// 2. Edit the comment; 3. add III, aVR, aVL and aVF.
writer.UpdateCommentText(scp, "Follow-up, no complaints");
writer.UpdateCalculatedLeads(scp);

// 4. Analyse in English, then in French; each analysis replaces the one before.
var general = new ActiveXObject("KTXSCP32.ScpGeneralInfo");
var languages = ["English", "French"];
for (var language = 0; language < languages.length; language++) {
  var result = analysis.CreateAnalysis(scp, language, false);
  WScript.Echo("Analysis (" + languages[language] + "): " + result + (result == 0 ? " OK" : ""));
  if (result == 0) {
    reader.ReadGeneral(scp, general);
    WScript.Echo("Interpretation:\n" + general.InterpretationText);
  }
}

// 5. Read everything back.
var recording = new ActiveXObject("KTXSCP32.ScpRecordingInfo");
var rhythm = new ActiveXObject("KTXSCP32.ScpEncodedData");
loader.Load(scp);
loader.GetPatient(patient);
loader.GetRecording(recording);
loader.GetGeneral(general);
loader.GetRhythm(rhythm);
WScript.Echo("Patient: " + patient.FirstName + " " + patient.LastName + " (" + patient.PatientId +
             "), born " + patient.YearOfBirth + "-" + patient.MonthOfBirth + "-" + patient.DayOfBirth);
WScript.Echo("Acquired: " + recording.AcquisitionYear + "-" + recording.AcquisitionMonth + "-" +
             recording.AcquisitionDay + " on " + recording.DeviceType);
WScript.Echo("Comment: " + general.CommentText);
var codes = [];
for (var i = 1; i <= rhythm.Leads; i++) codes.push(rhythm.LeadId(i));
WScript.Echo("Leads (" + loader.GetLeads() + "): " + codes.join(" "));
WScript.Echo("CRC check: " + reader.ReadCRCCheck(scp));

// 6. The measurements.
if (reader.HasMeasurements(scp)) {
  var info = new ActiveXObject("KTXSCP32.ScpAnalysisInfo");
  var leadData = new ActiveXObject("KTXSCP32.ScpLeadData");
  loader.GetAnalysis(info);
  loader.GetLeadData(leadData);
  WScript.Echo("RR " + info.AvRRms + " ms, QRS " + info.QRSOnsetms + "-" + info.QRSOffsetms +
               " ms, axes P " + info.PAxis + " QRS " + info.QRSAxis + " T " + info.TAxis);
  for (var i = 1; i <= leadData.Leads; i++) {
    WScript.Echo("  lead " + leadData.LeadId(i) + ": QRS " + leadData.QRSDuration(i) + " ms, R " +
                 leadData.RAmplitude(i) + " uV");
  }
} else {
  WScript.Echo("No measurements stored.");
}
loader.Unload();
