' The whole road through KTXSCP32's automation objects: create an SCP-ECG record from a
' raw 12-lead acquisition with patient data, edit its comment, derive the limb leads,
' analyse it in English and in French, read everything back and print the measurements
' and the interpretation.
'
'   cscript //nologo road.vbs [output folder] [raw 12-lead file]
'
' The folder defaults to the current one, the acquisition to the shipped example
' ..\acquisition\raw12_8lead.raw (8 leads, 500 Hz, 5000 nV per unit). KTXSCP32.dll must be
' registered (regsvr32 KTXSCP32.dll); the engine and language modules lie beside it.
Option Explicit

Dim fso, folder, raw, scp
Set fso = CreateObject("Scripting.FileSystemObject")
folder = "."
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
raw = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "..\acquisition\raw12_8lead.raw")
If WScript.Arguments.Count > 1 Then raw = WScript.Arguments(1)
scp = fso.BuildPath(folder, "road.scp")

Dim resultNames
resultNames = Array("Can't write interpretation text", "Can't manipulate files", _
  "Unable to use dll", "Analysis not empty", "Bad parameter", _
  "File is not a valid 12 Lead file", "OK", "Not enough memory", "Error in file open", _
  "Error in file read", "Error in file write", "Error in file seek", "No QRS complex", _
  "No P or T waves", "No file found", "Error using log file", _
  "Error in string manipulation", "Error in analysis module parameters", _
  "Unable to graph average", "Unable to analyse this signal", "A Lead is off", _
  "Not a valid scp filename")

Function ResultText(code)
  If code >= -6 And code <= 15 Then
    ResultText = resultNames(code + 6)
  Else
    ResultText = "code " & code
  End If
End Function

Dim writer, reader, loader, analysis
Set writer = CreateObject("KTXSCP32.ScpWriter")
Set reader = CreateObject("KTXSCP32.ScpReader")
Set loader = CreateObject("KTXSCP32.ScpLoader")
Set analysis = CreateObject("KTXSCP32.ScpAnalysis")

' 1. Create the record with the patient's data.
Dim patient
Set patient = CreateObject("KTXSCP32.ScpPatientInfo")
patient.LastName = "Martin"
patient.FirstName = "Eve"
patient.PatientId = "P-0017"
patient.Gender = 2
patient.BirthDate = DateSerial(1961, 4, 23)
patient.Height = 1.68
patient.Weight = 61.5
writer.CreateFromRaw12LFile scp, raw, patient, 5000, 500, 8

' 2. Edit the comment; 3. add III, aVR, aVL and aVF.
writer.UpdateCommentText scp, "Resting ECG before surgery"
writer.UpdateCalculatedLeads scp

' 4. Analyse, in English and then in French; each analysis replaces the one before.
Dim language, result, general, languageNames
languageNames = Array("English", "French")
Set general = CreateObject("KTXSCP32.ScpGeneralInfo")
For Each language In Array(0, 1)
  result = analysis.CreateAnalysis(scp, language, False)
  WScript.Echo "Analysis (" & languageNames(language) & "): " & result & " " & ResultText(result)
  If result = 0 Then
    reader.ReadGeneral scp, general
    WScript.Echo "Interpretation:"
    WScript.Echo general.InterpretationText
  End If
Next

' 5. Read everything back.
Dim recording, rhythm, info, leadData, i
Set recording = CreateObject("KTXSCP32.ScpRecordingInfo")
Set rhythm = CreateObject("KTXSCP32.ScpEncodedData")
Set info = CreateObject("KTXSCP32.ScpAnalysisInfo")
Set leadData = CreateObject("KTXSCP32.ScpLeadData")
loader.Load scp
loader.GetPatient patient
loader.GetRecording recording
loader.GetGeneral general
loader.GetRhythm rhythm
WScript.Echo "Patient: " & patient.FirstName & " " & patient.LastName & " (" & patient.PatientId & "), born " & patient.BirthDate
WScript.Echo "Acquired: " & recording.AcquisitionDate & " on " & recording.DeviceType
WScript.Echo "Comment: " & general.CommentText
WScript.Echo "Created by " & general.CreatorApp & " " & general.CreatorVer & ", modified by " & general.ModifierApp & " " & general.ModifierVer
Dim codes
codes = ""
For i = 1 To rhythm.Leads
  codes = codes & " " & rhythm.LeadId(i)
Next
WScript.Echo "Leads (" & loader.GetLeads() & "):" & codes & "; " & rhythm.Samples(1) & " samples each, " & rhythm.SampleInterval & " us apart"
WScript.Echo "CRC check: " & reader.ReadCRCCheck(scp)

' 6. The measurements.
If reader.HasMeasurements(scp) Then
  loader.GetAnalysis info
  loader.GetLeadData leadData
  WScript.Echo "RR " & info.AvRRms & " ms, PP " & info.AvPPms & " ms; P " & info.POnsetms & "-" & info.POffsetms & _
    " ms, QRS " & info.QRSOnsetms & "-" & info.QRSOffsetms & " ms, T end " & info.TOffsetms & " ms"
  WScript.Echo "Axes: P " & info.PAxis & ", QRS " & info.QRSAxis & ", T " & info.TAxis
  For i = 1 To leadData.Leads
    WScript.Echo "  lead " & leadData.LeadId(i) & ": QRS " & leadData.QRSDuration(i) & " ms, QT " & leadData.QTInterval(i) & _
      " ms, R " & leadData.RAmplitude(i) & " uV, S " & leadData.SAmplitude(i) & " uV"
  Next
Else
  WScript.Echo "No measurements stored."
End If
loader.Unload
