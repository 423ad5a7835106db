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
Function Make(name)
  Set Make = CreateObject("KTXSCP32.Scp" & name)
End Function
Set writer = Make("Writer") : Set reader = Make("Reader") : Set loader = Make("Loader")
Set analysis = Make("Analysis") : Set patient = Make("PatientInfo")
Set recording = Make("RecordingInfo") : Set general = Make("GeneralInfo")
Set info = Make("AnalysisInfo") : Set errors = Make("LeadErrorInfo")
Set leadData = Make("LeadData") : Set rhythm = Make("EncodedData") : Set median = Make("EncodedData")

On Error Resume Next

' --- ScpWriter: creations ---
raw = examples & "\acquisition\raw12_8lead.raw"
scp = folder & "\road.scp"
patient.LastName = "Martin" : patient.FirstName = "Eve" : patient.Gender = 2
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
Check "texts", general.CommentText & "|" & general.OverreadingPhysician & "|" & _
  general.InterpretationPhysician & "|" & general.RecordingPhysician & "|" & _
  general.InterpretationText & "|" & general.RecordingId & "|" & general.RecordingLocation & _
  "|" & general.RecordingApp & "|" & general.RecordingVer & "|" & general.InterpretationApp & _
  "|" & general.InterpretationVer, "after exercise|Dr Over|Dr Inter|Dr Rec|Sinus|ID-42|Ward 3|Cart|2.1|Reader|3.4"
Check "Received", general.ReceivedYear & "-" & general.ReceivedMonth & "-" & general.ReceivedDay & " " & general.ReceivedHour & ":" & general.ReceivedMinute & ":" & general.ReceivedSecond, "2025-3-7 14:5:9"
Check "InterpretationConfirmed", CInt(general.InterpretationConfirmed), 1
Check "makers", general.CreatorApp & " " & general.ModifierApp & " " & general.ModifierVer, _
  "KTXSCP32.DLL KTXSCP32.DLL 1.6"

writer.UpdatePowerFilter scp, 60
writer.UpdateBaselineFilter scp, True
writer.UpdateMuscleFilter scp, True
Check "filter edits", Err.Number, 0 : Err.Clear
reader.ReadRecording scp, recording
Check "ReadRecording", Err.Number, 0 : Err.Clear
Check "filters", CInt(recording.FilterPower) & " " & recording.FilterPowerCutoff & " " & _
  CInt(recording.FilterBaseline) & " " & CInt(recording.FilterMuscle), "1 60 1 1"
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
Check "patient", patient.LastName & " " & patient.FirstName & " " & patient.Gender, "Martin Eva 2"
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
Check "switch defaults", analysis.GenerateAnalysisText And analysis.GeneratePatientWarningText, True
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
loader.GetPatient patient : loader.GetRecording recording : loader.GetGeneral general
loader.GetLeadErrors errors : loader.GetAnalysis info : loader.GetLeadData leadData
loader.GetRhythm rhythm : loader.GetMedian median
Check "every Get after an analysis", Err.Number, 0 : Err.Clear
Check "GetLeads", loader.GetLeads(), 8
Check "GetLeadSet", loader.GetLeadSet(2, Array(1, 2)), True
Check "GetLeadSet absent", loader.GetLeadSet(1, Array(61)), False
Check "analysis", (Len(general.InterpretationText) > 0) & " " & general.ModifierVer & " " & _
  leadData.Leads & " " & (info.AvRRms > 0) & " " & median.Leads, "True 1.6.0.0 8 True 8"
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

Set writer = Nothing : Set reader = Nothing : Set loader = Nothing : Set analysis = Nothing
' A check whose own expression failed is skipped: its error is still pending here.
Check "no error left over", Err.Number, 0
If failures = 0 Then WScript.Echo "PASS " & checks
