' Every member of ScpWriter, ScpReader, ScpLoader and ScpAnalysis, late-bound, with the
' failures a script sees. Arguments: a scratch folder, the examples folder. Prints one
' "FAIL:" line per wrong answer and "PASS <checks>" at the end when all were right.
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

' What VBScript reports for the module's HRESULTs: E_FAIL as it is, E_INVALIDARG as 5.
Const E_FAIL = -2147467259
Const E_INVALIDARG = 5

Dim writer, reader, loader, analysis, patient, recording, general, info, errors, leadData
Dim rhythm, median, raw, scp, code, i, text, found
Set writer = CreateObject("KTXSCP32.ScpWriter")
Set reader = CreateObject("KTXSCP32.ScpReader")
Set loader = CreateObject("KTXSCP32.ScpLoader")
Set analysis = CreateObject("KTXSCP32.ScpAnalysis")
Set patient = CreateObject("KTXSCP32.ScpPatientInfo")
Set recording = CreateObject("KTXSCP32.ScpRecordingInfo")
Set general = CreateObject("KTXSCP32.ScpGeneralInfo")
Set info = CreateObject("KTXSCP32.ScpAnalysisInfo")
Set errors = CreateObject("KTXSCP32.ScpLeadErrorInfo")
Set leadData = CreateObject("KTXSCP32.ScpLeadData")
Set rhythm = CreateObject("KTXSCP32.ScpEncodedData")
Set median = CreateObject("KTXSCP32.ScpEncodedData")

On Error Resume Next

' --- ScpWriter: creations ---
raw = examples & "\acquisition\raw12_8lead.raw"
scp = folder & "\road.scp"
patient.LastName = "Martin"
patient.FirstName = "Eve"
patient.PatientId = "P-17"
patient.Gender = 2
writer.CreateFromRaw12LFile scp, raw, patient, 5000, 500, 8
Check "CreateFromRaw12LFile", Err.Number, 0 : Err.Clear
writer.CreateFromRaw8bitFile folder & "\s8.scp", examples & "\acquisition\stream8.bin", Nothing, True, 5000, 500
Check "CreateFromRaw8bitFile", Err.Number, 0 : Err.Clear
writer.CreateFromRaw16bitFile folder & "\s16.scp", examples & "\acquisition\stream16.bin", Nothing, False, 1000, 500
Check "CreateFromRaw16bitFile", Err.Number, 0 : Err.Clear
writer.CreateFromBioFile folder & "\bio.scp", examples & "\acquisition\two_events.bio", Nothing
Check "CreateFromBioFile", Err.Number, 0 : Err.Clear
Check "CreateFromBioFile second event", reader.ReadLeads(folder & "\bio.b.scp") > 0, True
writer.CreateEmpty folder & "\empty.scp"
Check "CreateEmpty", Err.Number, 0 : Err.Clear
Check "CreateEmpty CRC", reader.ReadCRCCheck(folder & "\empty.scp"), True
Dim bytes(99)
For i = 0 To 99
  bytes(i) = 128 + (i Mod 25)
Next
writer.CreateFromRaw8bitMem folder & "\m8.scp", bytes, 100, Nothing, True, 5000, 500
Check "CreateFromRaw8bitMem", Err.Number, 0 : Err.Clear
writer.CreateFromRaw16bitMem folder & "\m16.scp", bytes, 100, Nothing, False, 1000, 500
Check "CreateFromRaw16bitMem", Err.Number, 0 : Err.Clear
reader.ReadRhythm folder & "\m8.scp", rhythm
Check "8-bit samples from memory", rhythm.Samples(1), 100
reader.ReadRhythm folder & "\m16.scp", rhythm
Check "16-bit samples from memory", rhythm.Samples(1), 50
writer.CreateFromRaw12LMem folder & "\m12.scp", bytes, 100, Nothing, 5000, 500, 8
Check "CreateFromRaw12LMem of no raw record", Err.Number, E_FAIL : Err.Clear
writer.CreateFromRaw8bitMem folder & "\m9.scp", bytes, 101, Nothing, True, 5000, 500
Check "size beyond the array", Err.Number, E_INVALIDARG : Err.Clear
writer.CreateFromRaw12LFile folder & "\none.scp", folder & "\missing.raw", Nothing, 5000, 500, 8
Check "missing acquisition", Err.Number, E_FAIL : Err.Clear

' --- ScpWriter: edits, each read back ---
writer.UpdateCommentText scp, "after exercise"
writer.UpdateOverreadingPhysician scp, "Dr Over"
writer.UpdateInterpretationPhysician scp, "Dr Inter"
writer.UpdateRecordingPhysician scp, "Dr Rec"
writer.UpdateInterpretationText scp, "Sinus"
writer.UpdateRecordingId scp, "ID-42"
writer.UpdateRecordingLocation scp, "Ward 3"
writer.UpdateRecordingApp scp, "Cart"
writer.UpdateRecordingVer scp, "2.1"
writer.UpdateInterpretationApp scp, "Reader"
writer.UpdateInterpretationVer scp, "3.4"
writer.UpdateReceived scp, 7, 3, 2025, 14, 5, 9
writer.UpdateInterpretationConfirmed scp, True
Check "text and date edits", Err.Number, 0 : Err.Clear
reader.ReadGeneral scp, general
Check "ReadGeneral", Err.Number, 0 : Err.Clear
Check "CommentText", general.CommentText, "after exercise"
Check "OverreadingPhysician", general.OverreadingPhysician, "Dr Over"
Check "InterpretationPhysician", general.InterpretationPhysician, "Dr Inter"
Check "RecordingPhysician", general.RecordingPhysician, "Dr Rec"
Check "InterpretationText", general.InterpretationText, "Sinus"
Check "RecordingId", general.RecordingId, "ID-42"
Check "RecordingLocation", general.RecordingLocation, "Ward 3"
Check "RecordingApp", general.RecordingApp, "Cart"
Check "RecordingVer", general.RecordingVer, "2.1"
Check "InterpretationApp", general.InterpretationApp, "Reader"
Check "InterpretationVer", general.InterpretationVer, "3.4"
Check "Received", general.ReceivedYear & "-" & general.ReceivedMonth & "-" & general.ReceivedDay & " " & general.ReceivedHour & ":" & general.ReceivedMinute & ":" & general.ReceivedSecond, "2025-3-7 14:5:9"
Check "InterpretationConfirmed", CInt(general.InterpretationConfirmed), 1
Check "ModifierApp", general.ModifierApp, "KTXSCP32.DLL"
Check "ModifierVer", general.ModifierVer, "1.6"
Check "CreatorApp", general.CreatorApp, "KTXSCP32.DLL"

writer.UpdatePowerFilter scp, 60
writer.UpdateBaselineFilter scp, True
writer.UpdateMuscleFilter scp, True
Check "filter edits", Err.Number, 0 : Err.Clear
reader.ReadRecording scp, recording
Check "ReadRecording", Err.Number, 0 : Err.Clear
Check "FilterPower", CInt(recording.FilterPower), 1
Check "FilterPowerCutoff", recording.FilterPowerCutoff, 60
Check "FilterBaseline", CInt(recording.FilterBaseline), 1
Check "FilterMuscle", CInt(recording.FilterMuscle), 1
writer.UpdatePowerFilter scp, 55
reader.ReadRecording scp, recording
Check "power filter 55 is off", CInt(recording.FilterPower), 0
recording.DeviceID = 77
writer.UpdateRecording scp, recording
Check "UpdateRecording", Err.Number, 0 : Err.Clear
patient.FirstName = "Eva"
writer.UpdatePatient scp, patient
Check "UpdatePatient", Err.Number, 0 : Err.Clear
writer.UpdatePatient scp, Nothing
Check "UpdatePatient without patient", Err.Number, E_FAIL : Err.Clear
writer.UpdateRecording scp, Nothing
Check "UpdateRecording without recording", Err.Number, E_FAIL : Err.Clear
writer.UpdateLeadErrors scp
Check "UpdateLeadErrors", Err.Number, 0 : Err.Clear
writer.UpdateCalculatedLeads scp
Check "UpdateCalculatedLeads", Err.Number, 0 : Err.Clear
writer.UpdateCommentText folder & "\missing.scp", "x"
Check "edit of a missing file", Err.Number, E_FAIL : Err.Clear

' --- ScpReader ---
reader.ReadPatient scp, patient
Check "ReadPatient", Err.Number, 0 : Err.Clear
Check "LastName", patient.LastName, "Martin"
Check "FirstName", patient.FirstName, "Eva"
Check "Gender", patient.Gender, 2
Check "ReadLeads", reader.ReadLeads(scp), 12
Check "ReadLeadSet", reader.ReadLeadSet(scp, 4, Array(1, 2, 61, 64)), True
Check "ReadLeadSet absent lead", reader.ReadLeadSet(scp, 1, Array(100)), False
Check "ReadCRCCheck", CInt(reader.ReadCRCCheck(scp)), -1
Check "HasMeasurements before analysis", CInt(reader.HasMeasurements(scp)), 0
reader.ReadRhythm scp, rhythm
Check "ReadRhythm", Err.Number, 0 : Err.Clear
Check "rhythm leads", rhythm.Leads, 12
reader.ReadMedian scp, median
Check "ReadMedian before analysis", Err.Number, E_FAIL : Err.Clear
reader.ReadLeadErrors scp, errors
Check "ReadLeadErrors", Err.Number, 0 : Err.Clear
reader.ReadLeadData scp, leadData
Check "ReadLeadData before analysis", Err.Number, E_FAIL : Err.Clear
reader.ReadAnalysis scp, info
Check "ReadAnalysis before analysis", Err.Number, E_FAIL : Err.Clear
reader.ReadPatient folder & "\missing.scp", patient
Check "ReadPatient of a missing file", Err.Number, E_FAIL : Err.Clear
reader.ReadPatient scp, Nothing
Check "ReadPatient without object", Err.Number, E_INVALIDARG : Err.Clear
Check "ReadCRCCheck of a missing file", reader.ReadCRCCheck(folder & "\missing.scp"), False
Check "ReadCRCCheck of a missing file fails", Err.Number, E_FAIL : Err.Clear
found = reader.ReadLeadSet(scp, 3, Array(1, 2))
Check "ReadLeadSet array shorter than the count", Err.Number, E_INVALIDARG : Err.Clear

' --- ScpAnalysis ---
Check "GenerateAnalysisText default", analysis.GenerateAnalysisText, True
Check "GeneratePatientWarningText default", analysis.GeneratePatientWarningText, True
analysis.GeneratePatientWarningText = 0
Check "GeneratePatientWarningText put", analysis.GeneratePatientWarningText, False
analysis.GeneratePatientWarningText = True
Dim long
long = folder & "\synthetic.scp"
writer.CreateFromRaw12LFile long, examples & "\acquisition\synthetic_8lead.raw", patient, 5000, 500, 8
Check "synthetic recording", Err.Number, 0 : Err.Clear
Check "CreateAnalysis", analysis.CreateAnalysis(long, 0, False), 0
Check "CreateAnalysis call", Err.Number, 0 : Err.Clear
Check "CreateAnalysis of a missing file succeeds as a call", analysis.CreateAnalysis(folder & "\missing.scp", 0, False) <> 0, True
Check "its call", Err.Number, 0 : Err.Clear

' --- ScpLoader ---
loader.Load long
Check "Load", Err.Number, 0 : Err.Clear
loader.GetPatient patient
loader.GetRecording recording
loader.GetGeneral general
loader.GetLeadErrors errors
loader.GetAnalysis info
loader.GetLeadData leadData
loader.GetRhythm rhythm
loader.GetMedian median
Check "every Get after an analysis", Err.Number, 0 : Err.Clear
Check "GetLeads", loader.GetLeads(), 8
Check "GetLeadSet", loader.GetLeadSet(2, Array(1, 2)), True
Check "GetLeadSet absent", loader.GetLeadSet(1, Array(61)), False
Check "analysis text", Len(general.InterpretationText) > 0, True
Check "analysis identity", general.ModifierVer, "1.6.0.0"
Check "measured leads", leadData.Leads, 8
Check "average RR", info.AvRRms > 0, True
Check "reference beats", median.Leads, 8
loader.GenerateCalculatedLeads
Check "GenerateCalculatedLeads", Err.Number, 0 : Err.Clear
Check "GetLeads after deriving", loader.GetLeads(), 12
loader.GenerateLeadErrors
Check "GenerateLeadErrors", Err.Number, 0 : Err.Clear
loader.GetLeadErrors errors
Check "lead errors of every rhythm lead", errors.Leads, 12
Check "ReadCRCCheck through the loader", loader.ReadCRCCheck(long), True
Check "HasMeasurements after analysis", CInt(reader.HasMeasurements(long)), 1
analysis.RemoveAnalysis long
Check "RemoveAnalysis", Err.Number, 0 : Err.Clear
Check "HasMeasurements after removal", CInt(reader.HasMeasurements(long)), 0
analysis.RemoveAnalysis folder & "\missing.scp"
Check "RemoveAnalysis of a missing file", Err.Number, E_FAIL : Err.Clear
loader.ValidatedLoad scp
Check "ValidatedLoad", Err.Number, 0 : Err.Clear
loader.ValidatedLoad folder & "\empty.scp"
Check "ValidatedLoad of an empty record", Err.Number, E_FAIL : Err.Clear
loader.Unload
Check "Unload", Err.Number, 0 : Err.Clear
loader.GetPatient patient
Check "GetPatient after Unload", Err.Number, E_FAIL : Err.Clear
Check "GetLeads after Unload", loader.GetLeads(), 0
Check "its failure", Err.Number, E_FAIL : Err.Clear
loader.Load folder & "\missing.scp"
Check "Load of a missing file", Err.Number, E_FAIL : Err.Clear
loader.GetRhythm Nothing
Check "GetRhythm without object", Err.Number, E_INVALIDARG : Err.Clear

Set writer = Nothing
Set reader = Nothing
Set loader = Nothing
Set analysis = Nothing
If failures = 0 Then WScript.Echo "PASS " & checks
