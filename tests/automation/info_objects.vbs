' The information and data objects by ProgID: defaults, edge values, index checks.
Option Explicit
On Error Resume Next
Dim failures : failures = 0

Sub Check(what, actual, expected)
  If Err.Number <> 0 Then
    WScript.Echo "FAIL " & what & ": error " & Hex(Err.Number)
    failures = failures + 1
    Err.Clear
  ElseIf actual <> expected Then
    WScript.Echo "FAIL " & what & ": " & actual & " <> " & expected
    failures = failures + 1
  End If
End Sub

Sub CheckError(what)
  If Err.Number = 0 Then Check what & ": no error", 0, 1
  Err.Clear
End Sub

Dim p, r, g, a, l, d, e, x
Set p = CreateObject("KTXSCP32.ScpPatientInfo")
Check "fresh LastName is empty", IsEmpty(p.LastName) Or p.LastName = "", True
x = p.BirthDate : CheckError "BirthDate of day 0"
p.BirthDate = 0
Check "BirthDate 0", p.DayOfBirth & "." & p.MonthOfBirth & "." & p.YearOfBirth, "30.12.1899"
p.DayOfBirth = 29 : p.MonthOfBirth = 2 : p.YearOfBirth = 2024
Check "BirthDate 29.2.2024", p.BirthDate, DateSerial(2024, 2, 29)
p.BirthDate = DateSerial(1961, 4, 23) + TimeSerial(10, 30, 0)
Check "a birth date keeps no time", p.BirthDate, DateSerial(1961, 4, 23)
p.DayOfBirth = 31 : p.MonthOfBirth = 2
x = p.BirthDate : CheckError "BirthDate 31 February"
p.Height = 1.8
Check "Height", p.Height, 1.8

Set r = CreateObject("KTXSCP32.ScpRecordingInfo")
Check "baseline cutoff default", r.FilterBaselineCutoff, 0.05
Check "muscle cutoff default", r.FilterMuscleCutoff, 35
Check "power cutoff default", r.FilterPowerCutoff, 50
r.FilterMuscle = -1 : r.FilterMuscleData = -1
Check "muscle cleared by data form", r.FilterMuscle, 0
r.FilterMuscleData = 0
Check "muscle data off", r.FilterMuscleData, 0
r.AcquisitionDate = DateSerial(2026, 12, 7) + TimeSerial(9, 35, 12)
Check "acquisition time", _
  r.AcquisitionHour & ":" & r.AcquisitionMinute & ":" & r.AcquisitionSecond, "9:35:12"
Check "acquisition round trip", r.AcquisitionDate, DateSerial(2026, 12, 7) + TimeSerial(9, 35, 12)

Set g = CreateObject("KTXSCP32.ScpGeneralInfo")
g.ReceivedDate = DateSerial(2000, 1, 2) + TimeSerial(3, 4, 5)
Check "received minute", g.ReceivedMinute, 4

Set a = CreateObject("KTXSCP32.ScpAnalysisInfo")
a.MorphologyCodes = 8 : CheckError "8 morphology codes"
a.MorphologyCodes = 2
a.MorphologyCode(2) = 1234
Check "morphology code 2", a.MorphologyCode(2), 1234
x = a.MorphologyCode(0) : CheckError "morphology code 0"
x = a.MorphologyCode(3) : CheckError "morphology code beyond the count"
a.QRSTypes = 257
Check "QRSTypes keeps 8 bits", a.QRSTypes, 1

Set l = CreateObject("KTXSCP32.ScpLeadErrorInfo")
l.Allocate 300 : CheckError "Allocate 300"
Check "no leads after Allocate 300", l.Leads, 0
l.Allocate 2 : l.LeadId(2) = 261
Check "lead id keeps 8 bits", l.LeadId(2), 5
l.Leads = 3 : CheckError "Leads is read-only"

Set d = CreateObject("KTXSCP32.ScpLeadData")
d.Grow 0 : CheckError "Grow 0"
d.Allocate 255 : CheckError "Allocate 255"
d.Allocate 254
Check "254 leads", d.Leads, 254
d.QTInterval(254) = 400
Check "QT interval", d.QTInterval(254), 400
x = d.QTInterval(255) : CheckError "lead 255"

Set e = CreateObject("KTXSCP32.ScpEncodedData")
e.Allocate 12
Check "samples of a new lead", e.Samples(1), 0
e.SetSamples 1, 5000
Check "zeroed sample", e.DataSample(1, 5000), 0
x = e.DataSample(1, 5001) : CheckError "sample 5001"
e.DataSample(1, 17) = -123
e.SetSamples 1, 5000
Check "same count keeps samples", e.DataSample(1, 17), -123
e.LeadsSimultaneous = 40
Check "five bits of LeadsSimultaneous", e.LeadsSimultaneous, 8
Check "Simultaneous untouched", e.Simultaneous, 0
e.Samples(1) = 3 : CheckError "Samples is read-only"

If failures = 0 Then WScript.Echo "PASS"
