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

template <typename ReadEvent>
bool CWriter::CreateFromReader(bool argumentsGiven, const char* ScpFilename,
                               const CPatientInfo* pPatInfo, ReadEvent readEvent) {
  if (!MayCreate(*this, argumentsGiven)) return false;
  const plat::SystemTime now = Begin(*this);
  SECGInfo info;
  info.Clear();
  const SLeadObj* leads = readEvent(&info);
  return CreateFromEvent(ScpFilename, pPatInfo, now, info, leads);
}

bool CWriter::CreateFromRaw12L(const char* ScpFilename, const char* RawFilename,
                               const CPatientInfo* pPatInfo, double Resolution, double SamplingRate,
                               int16_t Leads) {
  C12LReader reader;
  // The reader takes the sampling rate first, the resolution second.
  return CreateFromReader(
      ScpFilename != nullptr && RawFilename != nullptr, ScpFilename, pPatInfo, [&](SECGInfo* info) {
        return reader.ReadEvent(RawFilename, info, Leads, SamplingRate, Resolution);
      });
}

bool CWriter::CreateFromRaw12LMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                                  const CPatientInfo* pPatInfo, double Resolution,
                                  double SamplingRate, int16_t Leads) {
  C12LMemReader reader;
  return CreateFromReader(ScpFilename != nullptr && Data != nullptr && DataSize != 0, ScpFilename,
                          pPatInfo, [&](SECGInfo* info) {
                            return reader.ReadEvent(Data, DataSize, info, Leads, SamplingRate,
                                                    Resolution);
                          });
}

bool CWriter::CreateFrom8bitFile(const char* ScpFilename, const char* RawFilename,
                                 const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                 double SamplingRate) {
  C8BitReader reader;
  return CreateFromReader(
      ScpFilename != nullptr && RawFilename != nullptr, ScpFilename, pPatInfo, [&](SECGInfo* info) {
        return reader.ReadEvent(RawFilename, info, Unsigned, Resolution, SamplingRate);
      });
}

bool CWriter::CreateFrom8bitMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                                const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                double SamplingRate) {
  C8BitMemReader reader;
  return CreateFromReader(ScpFilename != nullptr && Data != nullptr && DataSize != 0, ScpFilename,
                          pPatInfo, [&](SECGInfo* info) {
                            return reader.ReadEvent(Data, DataSize, info, Unsigned, Resolution,
                                                    SamplingRate);
                          });
}

bool CWriter::CreateFrom16bitFile(const char* ScpFilename, const char* RawFilename,
                                  const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                  double SamplingRate) {
  C16BitReader reader;
  return CreateFromReader(
      ScpFilename != nullptr && RawFilename != nullptr, ScpFilename, pPatInfo, [&](SECGInfo* info) {
        return reader.ReadEvent(RawFilename, info, Unsigned, Resolution, SamplingRate);
      });
}

bool CWriter::CreateFrom16bitMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                                 const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                                 double SamplingRate) {
  C16BitMemReader reader;
  return CreateFromReader(ScpFilename != nullptr && Data != nullptr && DataSize != 0, ScpFilename,
                          pPatInfo, [&](SECGInfo* info) {
                            return reader.ReadEvent(Data, DataSize, info, Unsigned, Resolution,
                                                    SamplingRate);
                          });
}
