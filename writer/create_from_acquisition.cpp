// Creating an SCP-ECG file from one acquisition event: raw 12-lead, 8-bit and 16-bit
// sources, from a file or from memory. Every variant reads the event with its reader
// and hands it to CreateFromEvent, which the Bio files use for each of their events.
#include "acquisition/raw12_reader.h"
#include "acquisition/raw16_reader.h"
#include "acquisition/raw8_reader.h"
#include "platform/errors.h"
#include "writer/writer.h"

namespace {

// Steps 1 and 2 of every creation: the names and buffers given, and no file open.
bool MayCreate(const CWriter& writer, bool argumentsGiven) {
  if (!argumentsGiven) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (writer.File != plat::kClosedFile) {
    return plat::FailWith(plat::kErrInvalidAccess);
  }
  return true;
}

// Every member back to its defaults, then the one local time the file is stamped with.
plat::SystemTime Begin(CWriter& writer) {
  writer.Clear(kAllSections);
  return plat::LocalTimeNow();
}

}  // namespace

bool CWriter::CreateFromEvent(const char* ScpFilename, const CPatientInfo* pPatInfo,
                              const plat::SystemTime& now, SECGInfo& info, const SLeadObj* leads) {
  if (leads == nullptr || !Set(info, leads)) {
    CReader::Close();  // keeps the reader's or Set's code
    return false;
  }
  if (pPatInfo != nullptr) Patient.Set(pPatInfo);
  General.SetDefault();
  General.Received = SDateTime{now.Year, now.Month, now.Day, now.Hour, now.Minute, now.Second};

  Store.KillData();
  GenerateLeadErrors();  // a table without entries is no reason to refuse the file
  UpdateMode = false;
  const bool written = CreateSec1() && CreateSec3_6() && WriteSections(ScpFilename);
  Close();
  return written;
}

bool CWriter::CreateFromRaw12L(const char* ScpFilename, const char* RawFilename,
                               const CPatientInfo* pPatInfo, double Resolution, double SamplingRate,
                               int16_t Leads) {
  if (!MayCreate(*this, ScpFilename != nullptr && RawFilename != nullptr)) return false;
  C12LReader reader;
  const plat::SystemTime now = Begin(*this);
  SECGInfo info;
  info.Clear();
  // The reader takes the sampling rate first, the resolution second.
  const SLeadObj* leads = reader.ReadEvent(RawFilename, &info, Leads, SamplingRate, Resolution);
  return CreateFromEvent(ScpFilename, pPatInfo, now, info, leads);
}

bool CWriter::CreateFromRaw12LMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                                  const CPatientInfo* pPatInfo, double Resolution,
                                  double SamplingRate, int16_t Leads) {
  if (!MayCreate(*this, ScpFilename != nullptr && Data != nullptr && DataSize != 0)) return false;
  C12LMemReader reader;
  const plat::SystemTime now = Begin(*this);
  SECGInfo info;
  info.Clear();
  const SLeadObj* leads = reader.ReadEvent(Data, DataSize, &info, Leads, SamplingRate, Resolution);
  return CreateFromEvent(ScpFilename, pPatInfo, now, info, leads);
}

bool CWriter::CreateFrom8bitFile(const char* ScpFilename, const char* RawFilename,
                                 const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                 double SamplingRate) {
  if (!MayCreate(*this, ScpFilename != nullptr && RawFilename != nullptr)) return false;
  C8BitReader reader;
  const plat::SystemTime now = Begin(*this);
  SECGInfo info;
  info.Clear();
  const SLeadObj* leads = reader.ReadEvent(RawFilename, &info, Unsigned, Resolution, SamplingRate);
  return CreateFromEvent(ScpFilename, pPatInfo, now, info, leads);
}

bool CWriter::CreateFrom8bitMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                                const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                double SamplingRate) {
  if (!MayCreate(*this, ScpFilename != nullptr && Data != nullptr && DataSize != 0)) return false;
  C8BitMemReader reader;
  const plat::SystemTime now = Begin(*this);
  SECGInfo info;
  info.Clear();
  const SLeadObj* leads =
      reader.ReadEvent(Data, DataSize, &info, Unsigned, Resolution, SamplingRate);
  return CreateFromEvent(ScpFilename, pPatInfo, now, info, leads);
}

bool CWriter::CreateFrom16bitFile(const char* ScpFilename, const char* RawFilename,
                                  const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                  double SamplingRate) {
  if (!MayCreate(*this, ScpFilename != nullptr && RawFilename != nullptr)) return false;
  C16BitReader reader;
  const plat::SystemTime now = Begin(*this);
  SECGInfo info;
  info.Clear();
  const SLeadObj* leads = reader.ReadEvent(RawFilename, &info, Unsigned, Resolution, SamplingRate);
  return CreateFromEvent(ScpFilename, pPatInfo, now, info, leads);
}

bool CWriter::CreateFrom16bitMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                                 const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                 double SamplingRate) {
  if (!MayCreate(*this, ScpFilename != nullptr && Data != nullptr && DataSize != 0)) return false;
  C16BitMemReader reader;
  const plat::SystemTime now = Begin(*this);
  SECGInfo info;
  info.Clear();
  const SLeadObj* leads =
      reader.ReadEvent(Data, DataSize, &info, Unsigned, Resolution, SamplingRate);
  return CreateFromEvent(ScpFilename, pPatInfo, now, info, leads);
}
