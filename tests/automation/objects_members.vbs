' ScpWriter, ScpReader, ScpLoader and ScpAnalysis late-bound: script arrays, script
' booleans and the failures a script sees (each member's every value is the early-bound
' client's business; the type library test checks every member's signature).
' Arguments: a scratch folder, the examples folder. Prints one "FAIL:" line per wrong
' answer and "PASS <checks>" at the end when all were right.
Option Explicit
Dim folder, examples, checks, failures
folder = WScript.Arguments(0)
examples = WScript.Arguments(1)
checks = 0
failures = 0

Sub Check(what, actual, expected)
  checks = checks + 1
  If CStr(actual) <> CStr(expected) Then
    failures = failures + 1
    WScript.Echo "FAIL: " & what & ": got [" & actual & "], expected [" & expected & "]"
  End If
End Sub

' The error number the call before left (0 for none); it is cleared for the next call.
Sub Answer(what, number, expected)
  Check what, number, expected
  Err.Clear
End Sub

' What VBScript reports for the module's HRESULTs: E_FAIL as it is, E_INVALIDARG as 5.
Const E_FAIL = -2147467259
Const E_INVALIDARG = 5

Dim writer, reader, loader, analysis, patient, recording, general, info, errors, leadData
Dim rhythm, median, raw, scp, i, found, missing, synthetic
Function Make(name)
  Set Make = CreateObject("KTXSCP32.Scp" & name)
End Function
Set writer = Make("Writer") : Set reader = Make("Reader") : Set loader = Make("Loader")
Set analysis = Make("Analysis") : Set patient = Make("PatientInfo")
Set recording = Make("RecordingInfo") : Set general = Make("GeneralInfo")
Set info = Make("AnalysisInfo") : Set errors = Make("LeadErrorInfo")
Set leadData = Make("LeadData") : Set rhythm = Make("EncodedData")
Set median = Make("EncodedData")

On Error Resume Next

' --- ScpWriter: creations ---
raw = examples & "\acquisition\"
scp = folder & "\road.scp"
missing = folder & "\missing.scp"
patient.LastName = "Martin" : patient.FirstName = "Eve" : patient.Gender = 2
writer.CreateFromRaw12LFile scp, raw & "raw12_8lead.raw", patient, 5000, 500, 8
Answer "CreateFromRaw12LFile", Err.Number, 0
writer.CreateEmpty folder & "\empty.scp" : Answer "CreateEmpty", Err.Number, 0
Check "CreateEmpty CRC", reader.ReadCRCCheck(folder & "\empty.scp"), True
writer.CreateFromRaw12LFile folder & "\none.scp", folder & "\missing.raw", Nothing, 5000, 500, 8
Answer "missing acquisition", Err.Number, E_FAIL

' The memory creations take a script's array of bytes, and no size beyond it.
Dim bytes(99)
For i = 0 To 99
  bytes(i) = 128 + (i Mod 25)
Next
writer.CreateFromRaw8bitMem folder & "\m8.scp", bytes, 100, Nothing, True, 5000, 500
Answer "CreateFromRaw8bitMem", Err.Number, 0
writer.CreateFromRaw16bitMem folder & "\m16.scp", bytes, 100, Nothing, False, 1000, 500
Answer "CreateFromRaw16bitMem", Err.Number, 0
reader.ReadRhythm folder & "\m8.scp", rhythm
Check "8-bit samples from memory", rhythm.Samples(1), 100
reader.ReadRhythm folder & "\m16.scp", rhythm
Check "16-bit samples from memory", rhythm.Samples(1), 50
writer.CreateFromRaw12LMem folder & "\m12.scp", bytes, 100, Nothing, 5000, 500, 8
Answer "CreateFromRaw12LMem of no raw record", Err.Number, E_FAIL
writer.CreateFromRaw8bitMem folder & "\m9.scp", bytes, 101, Nothing, True, 5000, 500
Answer "size beyond the array", Err.Number, E_INVALIDARG

' --- ScpWriter: edits (every text edit is read back by the early-bound client) ---
writer.UpdateCommentText scp, "after exercise"
writer.UpdateInterpretationVer scp, "3.4"
writer.UpdateReceived scp, 7, 3, 2025, 14, 5, 9
writer.UpdateInterpretationConfirmed scp, True
writer.UpdatePowerFilter scp, 60
writer.UpdateBaselineFilter scp, True
writer.UpdateMuscleFilter scp, True : Answer "text, date and filter edits", Err.Number, 0
reader.ReadGeneral scp, general
Check "first and last text edit", general.CommentText & "|" & general.InterpretationVer, _
  "after exercise|3.4"
reader.ReadRecording scp, recording
Check "power filter", CInt(recording.FilterPower) & " " & recording.FilterPowerCutoff, "1 60"
recording.DeviceID = 77
writer.UpdateRecording scp, recording : Answer "UpdateRecording", Err.Number, 0
patient.FirstName = "Eva"
writer.UpdatePatient scp, patient : Answer "UpdatePatient", Err.Number, 0
writer.UpdatePatient scp, Nothing : Answer "UpdatePatient without patient", Err.Number, E_FAIL
writer.UpdateRecording scp, Nothing : Answer "UpdateRecording without recording", Err.Number, E_FAIL
writer.UpdateLeadErrors scp
writer.UpdateCalculatedLeads scp : Answer "UpdateLeadErrors, UpdateCalculatedLeads", Err.Number, 0
writer.UpdateCommentText missing, "x" : Answer "edit of a missing file", Err.Number, E_FAIL

' --- ScpReader ---
reader.ReadPatient scp, patient
Check "ReadPatient", patient.LastName & " " & patient.FirstName & " " & patient.Gender, _
  "Martin Eva 2"
Check "ReadLeads", reader.ReadLeads(scp), 12
Check "ReadLeadSet", reader.ReadLeadSet(scp, 4, Array(1, 2, 61, 64)), True
Check "ReadLeadSet absent lead", reader.ReadLeadSet(scp, 1, Array(100)), False
found = reader.ReadLeadSet(scp, 3, Array(1, 2))
Answer "ReadLeadSet array shorter than the count", Err.Number, E_INVALIDARG
Check "ReadCRCCheck", CInt(reader.ReadCRCCheck(scp)), -1
Check "HasMeasurements before analysis", CInt(reader.HasMeasurements(scp)), 0
reader.ReadRhythm scp, rhythm
reader.ReadLeadErrors scp, errors : Answer "ReadRhythm, ReadLeadErrors", Err.Number, 0
Check "rhythm leads", rhythm.Leads, 12
' Sample arrays: GetDataSamples fills a script's array, SetDataSamples takes one, and
' no length beyond the array.
Dim samples(9), same
rhythm.GetDataSamples 1, 3, 10, samples : Answer "GetDataSamples into an array", Err.Number, 0
same = True
For i = 0 To 9
  same = same And samples(i) = rhythm.DataSample(1, 3 + i)
Next
Check "GetDataSamples reads what DataSample reads", same, True
rhythm.SetDataSamples 2, 1, 3, Array(5, -6, 2031)
Answer "SetDataSamples from an array", Err.Number, 0
Check "SetDataSamples stored", rhythm.DataSample(2, 1) & " " & rhythm.DataSample(2, 2) & " " & _
  rhythm.DataSample(2, 3), "5 -6 2031"
rhythm.GetDataSamples 1, 1, 11, samples : Answer "length beyond the array", Err.Number, E_INVALIDARG
rhythm.GetDataSamples 1, rhythm.Samples(1), 2, samples
Answer "samples beyond the lead", Err.Number, E_FAIL
reader.ReadMedian scp, median : Answer "ReadMedian before analysis", Err.Number, E_FAIL
reader.ReadLeadData scp, leadData : Answer "ReadLeadData before analysis", Err.Number, E_FAIL
reader.ReadAnalysis scp, info : Answer "ReadAnalysis before analysis", Err.Number, E_FAIL
reader.ReadPatient missing, patient : Answer "ReadPatient of a missing file", Err.Number, E_FAIL
reader.ReadPatient scp, Nothing : Answer "ReadPatient without object", Err.Number, E_INVALIDARG
Check "ReadCRCCheck of a missing file", reader.ReadCRCCheck(missing), False
Answer "its failure", Err.Number, E_FAIL

' --- ScpAnalysis ---
Check "switch defaults", analysis.GenerateAnalysisText And analysis.GeneratePatientWarningText, True
analysis.GeneratePatientWarningText = 0
Check "GeneratePatientWarningText put", analysis.GeneratePatientWarningText, False
analysis.GeneratePatientWarningText = True
synthetic = folder & "\synthetic.scp"
writer.CreateFromRaw12LFile synthetic, raw & "synthetic_8lead.raw", patient, 5000, 500, 8
Check "CreateAnalysis", analysis.CreateAnalysis(synthetic, 0, False), 0
Check "CreateAnalysis of a missing file", analysis.CreateAnalysis(missing, 0, False) <> 0, True
Answer "both calls succeed", Err.Number, 0

' --- ScpLoader ---
loader.Load synthetic
loader.GetPatient patient : loader.GetRecording recording : loader.GetGeneral general
loader.GetLeadErrors errors : loader.GetAnalysis info : loader.GetLeadData leadData
loader.GetRhythm rhythm : loader.GetMedian median
Answer "Load and every Get after an analysis", Err.Number, 0
Check "GetLeads", loader.GetLeads(), 8
Check "GetLeadSet", loader.GetLeadSet(2, Array(1, 2)), True
Check "GetLeadSet absent", loader.GetLeadSet(1, Array(61)), False
Check "analysis", (Len(general.InterpretationText) > 0) & " " & general.ModifierVer & " " & _
  leadData.Leads & " " & (info.AvRRms > 0) & " " & median.Leads, "True 1.6.0.0 8 True 8"
loader.GenerateCalculatedLeads
loader.GenerateLeadErrors : Answer "GenerateCalculatedLeads, GenerateLeadErrors", Err.Number, 0
loader.GetLeadErrors errors
Check "leads and lead errors after deriving", loader.GetLeads() & " " & errors.Leads, "12 12"
Check "ReadCRCCheck through the loader", loader.ReadCRCCheck(synthetic), True
Check "HasMeasurements after analysis", CInt(reader.HasMeasurements(synthetic)), 1
analysis.RemoveAnalysis synthetic : Answer "RemoveAnalysis", Err.Number, 0
Check "HasMeasurements after removal", CInt(reader.HasMeasurements(synthetic)), 0
analysis.RemoveAnalysis missing : Answer "RemoveAnalysis of a missing file", Err.Number, E_FAIL
loader.ValidatedLoad scp : Answer "ValidatedLoad", Err.Number, 0
loader.ValidatedLoad folder & "\empty.scp"
Answer "ValidatedLoad of an empty record", Err.Number, E_FAIL
loader.Unload : Answer "Unload", Err.Number, 0
loader.GetPatient patient : Answer "GetPatient after Unload", Err.Number, E_FAIL
Check "GetLeads after Unload", loader.GetLeads(), 0
Answer "its failure", Err.Number, E_FAIL
loader.Load missing : Answer "Load of a missing file", Err.Number, E_FAIL
loader.GetRhythm Nothing : Answer "GetRhythm without object", Err.Number, E_INVALIDARG

Set writer = Nothing : Set reader = Nothing : Set loader = Nothing : Set analysis = Nothing
' A check whose own expression failed is skipped: its error is still pending here.
Check "no error left over", Err.Number, 0
If failures = 0 Then WScript.Echo "PASS " & checks
