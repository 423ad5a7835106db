#include "automation/scp_writer.h"

#include "automation/com_boundary.h"
#include "automation/narrow_name.h"
#include "automation/object_transfer.h"
#include "writer/writer.h"

namespace ktx_com {
namespace {

// Every call starts alike, inside the exception boundary: the SCP name is checked (E_INVALIDARG)
// and converted (E_FAIL) for a fresh writer that names this module as the maker of what it writes;
// the operation gives the rest of the answer.
template <class Operation>
HRESULT OnWriter(BSTR ScpFilename, Operation operation) {
  return ComBoundary([&]() -> HRESULT {
    if (!ScpFilename) return E_INVALIDARG;
    CWriter writer;
    writer.SelectWriter(L"KTXSCP32.DLL", L"1.6");
    char name[kNarrowNameSize];
    if (!NarrowName(ScpFilename, name)) return E_FAIL;
    return operation(writer, name);
  });
}

HRESULT Answer(bool done) {
  return done ? S_OK : E_FAIL;
}

// One writer call on the named file with the given arguments after the name.
template <class... Parameters, class... Arguments>
HRESULT Edit(BSTR ScpFilename, bool (CWriter::*call)(const char*, Parameters...),
             Arguments... arguments) {
  return OnWriter(ScpFilename, [&](CWriter& w, const char* scp) {
    return Answer((w.*call)(scp, arguments...));
  });
}

// A creation: SCP name, optional source name, optional patient object (null: the
// writer's defaults). A failing patient transfer ends the call before any file work.
template <class Operation>
HRESULT Create(BSTR ScpFilename, BSTR SourceFilename, bool sourceNeeded, IScpPatientInfo* pPatInfo,
               Operation operation) {
  if (sourceNeeded && !SourceFilename) return E_INVALIDARG;
  return OnWriter(ScpFilename, [&](CWriter& writer, const char* scp) {
    char source[kNarrowNameSize] = {};
    if (sourceNeeded && !NarrowName(SourceFilename, source)) return E_FAIL;
    CPatientInfo patient;
    if (pPatInfo) {
      const HRESULT hr = FillPatientRecord(pPatInfo, &patient);
      if (FAILED(hr)) return hr;
    }
    return Answer(operation(writer, scp, source, pPatInfo ? &patient : nullptr));
  });
}

template <class... Parameters, class... Arguments>
HRESULT CreateFromFile(BSTR ScpFilename, BSTR SourceFilename, IScpPatientInfo* pPatInfo,
                       bool (CWriter::*call)(const char*, const char*, const CPatientInfo*,
                                             Parameters...),
                       Arguments... arguments) {
  return Create(ScpFilename, SourceFilename, true, pPatInfo,
                [&](CWriter& w, const char* scp, const char* source, const CPatientInfo* patient) {
                  return (w.*call)(scp, source, patient, arguments...);
                });
}

// The memory creations take the caller's bytes as they come: the acquisition readers
// check what they find there.
template <class... Parameters, class... Arguments>
HRESULT CreateFromMemory(BSTR ScpFilename, const unsigned char* Data, LONG DataSize,
                         IScpPatientInfo* pPatInfo,
                         bool (CWriter::*call)(const char*, const uint8_t*, uint32_t,
                                               const CPatientInfo*, Parameters...),
                         Arguments... arguments) {
  return Create(ScpFilename, nullptr, false, pPatInfo,
                [&](CWriter& w, const char* scp, const char*, const CPatientInfo* patient) {
                  return (w.*call)(scp, Data, static_cast<uint32_t>(DataSize), patient,
                                   arguments...);
                });
}

int16_t Flag(VARIANT_BOOL value) {
  return value != 0 ? 1 : 0;
}

}  // namespace

HRESULT CScpWriter::CreateFromBioFile(BSTR ScpFilename, BSTR BioFilename,
                                      IScpPatientInfo* pPatInfo) {
  return ComBoundary([&]() -> HRESULT {
    return CreateFromFile(ScpFilename, BioFilename, pPatInfo, &CWriter::CreateFromBioFile);
  });
}

HRESULT CScpWriter::CreateFromRaw12LFile(BSTR ScpFilename, BSTR RawFilename,
                                         IScpPatientInfo* pPatInfo, double Resolution,
                                         double SamplingRate, short Leads) {
  return ComBoundary([&]() -> HRESULT {
    return CreateFromFile(ScpFilename, RawFilename, pPatInfo, &CWriter::CreateFromRaw12L,
                          Resolution, SamplingRate, Leads);
  });
}

HRESULT CScpWriter::CreateFromRaw8bitFile(BSTR ScpFilename, BSTR RawFilename,
                                          IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                          double Resolution, double SamplingRate) {
  return ComBoundary([&]() -> HRESULT {
    return CreateFromFile(ScpFilename, RawFilename, pPatInfo, &CWriter::CreateFrom8bitFile,
                          Unsigned != 0, Resolution, SamplingRate);
  });
}

HRESULT CScpWriter::CreateFromRaw16bitFile(BSTR ScpFilename, BSTR RawFilename,
                                           IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                           double Resolution, double SamplingRate) {
  return ComBoundary([&]() -> HRESULT {
    return CreateFromFile(ScpFilename, RawFilename, pPatInfo, &CWriter::CreateFrom16bitFile,
                          Unsigned != 0, Resolution, SamplingRate);
  });
}

HRESULT CScpWriter::CreateFromRaw12LMem(BSTR ScpFilename, unsigned char* Data, LONG DataSize,
                                        IScpPatientInfo* pPatInfo, double Resolution,
                                        double SamplingRate, short Leads) {
  return ComBoundary([&]() -> HRESULT {
    return CreateFromMemory(ScpFilename, Data, DataSize, pPatInfo, &CWriter::CreateFromRaw12LMem,
                            Resolution, SamplingRate, Leads);
  });
}

HRESULT CScpWriter::CreateFromRaw8bitMem(BSTR ScpFilename, unsigned char* Data, LONG DataSize,
                                         IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                         double Resolution, double SamplingRate) {
  return ComBoundary([&]() -> HRESULT {
    return CreateFromMemory(ScpFilename, Data, DataSize, pPatInfo, &CWriter::CreateFrom8bitMem,
                            Unsigned != 0, Resolution, SamplingRate);
  });
}

HRESULT CScpWriter::CreateFromRaw16bitMem(BSTR ScpFilename, unsigned char* Data, LONG DataSize,
                                          IScpPatientInfo* pPatInfo, VARIANT_BOOL Unsigned,
                                          double Resolution, double SamplingRate) {
  return ComBoundary([&]() -> HRESULT {
    return CreateFromMemory(ScpFilename, Data, DataSize, pPatInfo, &CWriter::CreateFrom16bitMem,
                            Unsigned != 0, Resolution, SamplingRate);
  });
}

HRESULT CScpWriter::CreateEmpty(BSTR ScpFilename) {
  return ComBoundary([&]() -> HRESULT { return Edit(ScpFilename, &CWriter::CreateEmpty); });
}

// The information objects' transfers answer E_FAIL for a null object.
HRESULT CScpWriter::UpdatePatient(BSTR ScpFilename, IScpPatientInfo* pPatInfo) {
  return ComBoundary([&]() -> HRESULT {
    return OnWriter(ScpFilename, [&](CWriter& w, const char* scp) {
      CPatientInfo patient;
      const HRESULT hr = FillPatientRecord(pPatInfo, &patient);
      return FAILED(hr) ? hr : Answer(w.UpdateFile(scp, &patient, nullptr));
    });
  });
}

HRESULT CScpWriter::UpdateRecording(BSTR ScpFilename, IScpRecordingInfo* pRecInfo) {
  return ComBoundary([&]() -> HRESULT {
    return OnWriter(ScpFilename, [&](CWriter& w, const char* scp) {
      CRecordInfo recording;
      const HRESULT hr = FillRecordingRecord(pRecInfo, &recording);
      return FAILED(hr) ? hr : Answer(w.UpdateFile(scp, nullptr, &recording));
    });
  });
}

HRESULT CScpWriter::UpdateLeadErrors(BSTR ScpFilename) {
  return ComBoundary([&]() -> HRESULT { return Edit(ScpFilename, &CWriter::UpdateLeadErrors); });
}

HRESULT CScpWriter::UpdateCalculatedLeads(BSTR ScpFilename) {
  return ComBoundary(
      [&]() -> HRESULT { return Edit(ScpFilename, &CWriter::UpdateCalculatedLeads); });
}

// Physician names: 0 overreading, 1 interpretation, 2 recording.
HRESULT CScpWriter::UpdateOverreadingPhysician(BSTR ScpFilename, BSTR Name) {
  return ComBoundary([&]() -> HRESULT {
    return Edit(ScpFilename, &CWriter::UpdatePhysicianName, int16_t{0}, Name);
  });
}

HRESULT CScpWriter::UpdateInterpretationPhysician(BSTR ScpFilename, BSTR Name) {
  return ComBoundary([&]() -> HRESULT {
    return Edit(ScpFilename, &CWriter::UpdatePhysicianName, int16_t{1}, Name);
  });
}

HRESULT CScpWriter::UpdateRecordingPhysician(BSTR ScpFilename, BSTR Name) {
  return ComBoundary([&]() -> HRESULT {
    return Edit(ScpFilename, &CWriter::UpdatePhysicianName, int16_t{2}, Name);
  });
}

HRESULT CScpWriter::UpdateReceived(BSTR ScpFilename, short Day, short Month, short Year, short Hour,
                                   short Minute, short Second) {
  return ComBoundary([&]() -> HRESULT {
    const SDateTime received = {static_cast<uint16_t>(Year),   static_cast<uint16_t>(Month),
                                static_cast<uint16_t>(Day),    static_cast<uint16_t>(Hour),
                                static_cast<uint16_t>(Minute), static_cast<uint16_t>(Second)};
    return Edit(ScpFilename, &CWriter::UpdateReceived, &received);
  });
}

HRESULT CScpWriter::UpdateInterpretationConfirmed(BSTR ScpFilename, VARIANT_BOOL Confirmed) {
  return ComBoundary([&]() -> HRESULT {
    return Edit(ScpFilename, &CWriter::UpdateInterpretationConfirmed, Flag(Confirmed));
  });
}

HRESULT CScpWriter::UpdateBaselineFilter(BSTR ScpFilename, VARIANT_BOOL Used) {
  return ComBoundary(
      [&]() -> HRESULT { return Edit(ScpFilename, &CWriter::UpdateBaselineFilter, Flag(Used)); });
}

HRESULT CScpWriter::UpdateMuscleFilter(BSTR ScpFilename, VARIANT_BOOL Used) {
  return ComBoundary(
      [&]() -> HRESULT { return Edit(ScpFilename, &CWriter::UpdateMuscleFilter, Flag(Used)); });
}

HRESULT CScpWriter::UpdatePowerFilter(BSTR ScpFilename, short PowerSetting) {
  return ComBoundary([&]() -> HRESULT {
    // Only the two mains frequencies name a filter; anything else switches it off.
    const int16_t hertz = PowerSetting == 50 || PowerSetting == 60 ? PowerSetting : 0;
    return Edit(ScpFilename, &CWriter::UpdatePowerFilter, hertz);
  });
}

// Texts stored as they come, each by the writer call of the same name.
#define KTX_TEXT_EDIT(Method)                               \
  HRESULT CScpWriter::Method(BSTR ScpFilename, BSTR Text) { \
    return Edit(ScpFilename, &CWriter::Method, Text);       \
  }
KTX_TEXT_EDIT(UpdateInterpretationText)
KTX_TEXT_EDIT(UpdateCommentText)
KTX_TEXT_EDIT(UpdateRecordingId)
KTX_TEXT_EDIT(UpdateRecordingLocation)
KTX_TEXT_EDIT(UpdateRecordingApp)
KTX_TEXT_EDIT(UpdateRecordingVer)
KTX_TEXT_EDIT(UpdateInterpretationApp)
KTX_TEXT_EDIT(UpdateInterpretationVer)
#undef KTX_TEXT_EDIT

}  // namespace ktx_com
