#include "automation/scp_writer.h"

#include "automation/narrow_name.h"
#include "automation/object_transfer.h"
#include "writer/writer.h"

namespace ktx_com {
namespace {

// Every file this object creates or edits names this module as its writer.
void StampWriter(CWriter* writer) {
  writer->SelectWriter(L"KTXSCP32.DLL", L"1.6");
}

// One call on a fresh writer with the converted SCP name: checks, stamp, name, operation.
template <class Operation>
HRESULT WithWriter(BSTR ScpFilename, Operation operation) {
  if (!ScpFilename) return E_INVALIDARG;
  CWriter writer;
  StampWriter(&writer);
  char name[kNarrowNameSize];
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  return operation(writer, name) ? S_OK : E_FAIL;
}

// A creation: SCP name, optional source name, optional patient object (null: the
// writer's defaults). A failing patient transfer ends the call before any file work.
template <class Operation>
HRESULT Create(BSTR ScpFilename, BSTR SourceFilename, bool sourceNeeded, IScpPatientInfo* pPatInfo,
               Operation operation) {
  if (!ScpFilename || (sourceNeeded && !SourceFilename)) return E_INVALIDARG;
  CWriter writer;
  StampWriter(&writer);
  char name[kNarrowNameSize];
  char source[kNarrowNameSize] = {};
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  if (sourceNeeded && !NarrowName(SourceFilename, source)) return E_FAIL;
  CPatientInfo patient;
  if (pPatInfo) {
    const HRESULT hr = FillPatientRecord(pPatInfo, &patient);
    if (FAILED(hr)) return hr;
  }
  return operation(writer, name, source, pPatInfo ? &patient : nullptr) ? S_OK : E_FAIL;
}

int16_t Flag(VARIANT_BOOL value) {
  return value != 0 ? 1 : 0;
}

}  // namespace

HRESULT CScpWriter::CreateFromBioFile(BSTR ScpFilename, BSTR BioFilename,
                                      IScpPatientInfo* pPatInfo) {
  return Create(ScpFilename, BioFilename, true, pPatInfo,
                [&](CWriter& w, const char* scp, const char* bio, const CPatientInfo* patient) {
                  return w.CreateFromBioFile(scp, bio, patient);
                });
}

HRESULT CScpWriter::CreateFromRaw12LFile(BSTR ScpFilename, BSTR RawFilename,
                                         IScpPatientInfo* pPatInfo, double Resolution,
                                         double SamplingRate, short Leads) {
  return Create(ScpFilename, RawFilename, true, pPatInfo,
                [&](CWriter& w, const char* scp, const char* raw, const CPatientInfo* patient) {
                  return w.CreateFromRaw12L(scp, raw, patient, Resolution, SamplingRate, Leads);
                });
}

HRESULT CScpWriter::CreateFromRaw8bitFile(BSTR ScpFilename, BSTR RawFilename,
                                          IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                          double Resolution, double SamplingRate) {
  return Create(ScpFilename, RawFilename, true, pPatInfo,
                [&](CWriter& w, const char* scp, const char* raw, const CPatientInfo* patient) {
                  return w.CreateFrom8bitFile(scp, raw, patient, Unsigned != 0, Resolution,
                                              SamplingRate);
                });
}

HRESULT CScpWriter::CreateFromRaw16bitFile(BSTR ScpFilename, BSTR RawFilename,
                                           IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                           double Resolution, double SamplingRate) {
  return Create(ScpFilename, RawFilename, true, pPatInfo,
                [&](CWriter& w, const char* scp, const char* raw, const CPatientInfo* patient) {
                  return w.CreateFrom16bitFile(scp, raw, patient, Unsigned != 0, Resolution,
                                               SamplingRate);
                });
}

// The memory creations take the caller's bytes as they come: the acquisition readers
// check what they find there.
HRESULT CScpWriter::CreateFromRaw12LMem(BSTR ScpFilename, unsigned char* Data, LONG DataSize,
                                        IScpPatientInfo* pPatInfo, double Resolution,
                                        double SamplingRate, short Leads) {
  return Create(ScpFilename, nullptr, false, pPatInfo,
                [&](CWriter& w, const char* scp, const char*, const CPatientInfo* patient) {
                  return w.CreateFromRaw12LMem(scp, Data, static_cast<uint32_t>(DataSize), patient,
                                               Resolution, SamplingRate, Leads);
                });
}

HRESULT CScpWriter::CreateFromRaw8bitMem(BSTR ScpFilename, unsigned char* Data, LONG DataSize,
                                         IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                         double Resolution, double SamplingRate) {
  return Create(ScpFilename, nullptr, false, pPatInfo,
                [&](CWriter& w, const char* scp, const char*, const CPatientInfo* patient) {
                  return w.CreateFrom8bitMem(scp, Data, static_cast<uint32_t>(DataSize), patient,
                                             Unsigned != 0, Resolution, SamplingRate);
                });
}

HRESULT CScpWriter::CreateFromRaw16bitMem(BSTR ScpFilename, unsigned char* Data, LONG DataSize,
                                          IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                          double Resolution, double SamplingRate) {
  return Create(ScpFilename, nullptr, false, pPatInfo,
                [&](CWriter& w, const char* scp, const char*, const CPatientInfo* patient) {
                  return w.CreateFrom16bitMem(scp, Data, static_cast<uint32_t>(DataSize), patient,
                                              Unsigned != 0, Resolution, SamplingRate);
                });
}

HRESULT CScpWriter::CreateEmpty(BSTR ScpFilename) {
  return WithWriter(ScpFilename, [](CWriter& w, const char* scp) { return w.CreateEmpty(scp); });
}

HRESULT CScpWriter::UpdatePatient(BSTR ScpFilename, IScpPatientInfo* pPatInfo) {
  if (!ScpFilename) return E_INVALIDARG;
  CWriter writer;
  StampWriter(&writer);
  char name[kNarrowNameSize];
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  CPatientInfo patient;
  const HRESULT hr = FillPatientRecord(pPatInfo, &patient);  // E_FAIL for a null object
  if (FAILED(hr)) return hr;
  return writer.UpdateFile(name, &patient, nullptr) ? S_OK : E_FAIL;
}

HRESULT CScpWriter::UpdateRecording(BSTR ScpFilename, IScpRecordingInfo* pRecInfo) {
  if (!ScpFilename) return E_INVALIDARG;
  CWriter writer;
  StampWriter(&writer);
  char name[kNarrowNameSize];
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  CRecordInfo recording;
  const HRESULT hr = FillRecordingRecord(pRecInfo, &recording);  // E_FAIL for a null object
  if (FAILED(hr)) return hr;
  return writer.UpdateFile(name, nullptr, &recording) ? S_OK : E_FAIL;
}

HRESULT CScpWriter::UpdateLeadErrors(BSTR ScpFilename) {
  return WithWriter(ScpFilename,
                    [](CWriter& w, const char* scp) { return w.UpdateLeadErrors(scp); });
}

HRESULT CScpWriter::UpdateCalculatedLeads(BSTR ScpFilename) {
  return WithWriter(ScpFilename,
                    [](CWriter& w, const char* scp) { return w.UpdateCalculatedLeads(scp); });
}

// Physician names: 0 overreading, 1 interpretation, 2 recording.
HRESULT CScpWriter::UpdateOverreadingPhysician(BSTR ScpFilename, BSTR Name) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdatePhysicianName(scp, 0, Name);
  });
}

HRESULT CScpWriter::UpdateInterpretationPhysician(BSTR ScpFilename, BSTR Name) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdatePhysicianName(scp, 1, Name);
  });
}

HRESULT CScpWriter::UpdateRecordingPhysician(BSTR ScpFilename, BSTR Name) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdatePhysicianName(scp, 2, Name);
  });
}

HRESULT CScpWriter::UpdateInterpretationText(BSTR ScpFilename, BSTR Text) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateInterpretationText(scp, Text);
  });
}

HRESULT CScpWriter::UpdateCommentText(BSTR ScpFilename, BSTR Text) {
  return WithWriter(ScpFilename,
                    [&](CWriter& w, const char* scp) { return w.UpdateCommentText(scp, Text); });
}

HRESULT CScpWriter::UpdateRecordingId(BSTR ScpFilename, BSTR RecordingId) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateRecordingId(scp, RecordingId);
  });
}

HRESULT CScpWriter::UpdateReceived(BSTR ScpFilename, short Day, short Month, short Year, short Hour,
                                   short Minute, short Second) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    const SDateTime received = {static_cast<uint16_t>(Year),   static_cast<uint16_t>(Month),
                                static_cast<uint16_t>(Day),    static_cast<uint16_t>(Hour),
                                static_cast<uint16_t>(Minute), static_cast<uint16_t>(Second)};
    return w.UpdateReceived(scp, &received);
  });
}

HRESULT CScpWriter::UpdateInterpretationConfirmed(BSTR ScpFilename, VARIANT_BOOL Confirmed) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateInterpretationConfirmed(scp, Flag(Confirmed));
  });
}

HRESULT CScpWriter::UpdateBaselineFilter(BSTR ScpFilename, VARIANT_BOOL Used) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateBaselineFilter(scp, Flag(Used));
  });
}

HRESULT CScpWriter::UpdateMuscleFilter(BSTR ScpFilename, VARIANT_BOOL Used) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateMuscleFilter(scp, Flag(Used));
  });
}

HRESULT CScpWriter::UpdatePowerFilter(BSTR ScpFilename, short PowerSetting) {
  // Only the two mains frequencies name a filter; anything else switches it off.
  const int16_t hertz = PowerSetting == 50 || PowerSetting == 60 ? PowerSetting : 0;
  return WithWriter(ScpFilename,
                    [&](CWriter& w, const char* scp) { return w.UpdatePowerFilter(scp, hertz); });
}

HRESULT CScpWriter::UpdateRecordingLocation(BSTR ScpFilename, BSTR RecordingLocation) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateRecordingLocation(scp, RecordingLocation);
  });
}

HRESULT CScpWriter::UpdateRecordingApp(BSTR ScpFilename, BSTR Application) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateRecordingApp(scp, Application);
  });
}

HRESULT CScpWriter::UpdateRecordingVer(BSTR ScpFilename, BSTR Version) {
  return WithWriter(
      ScpFilename, [&](CWriter& w, const char* scp) { return w.UpdateRecordingVer(scp, Version); });
}

HRESULT CScpWriter::UpdateInterpretationApp(BSTR ScpFilename, BSTR Application) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateInterpretationApp(scp, Application);
  });
}

HRESULT CScpWriter::UpdateInterpretationVer(BSTR ScpFilename, BSTR Version) {
  return WithWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return w.UpdateInterpretationVer(scp, Version);
  });
}

}  // namespace ktx_com
