// Copying an acquisition event into the writer's header records, lead definitions and
// rhythm data, ready for the Section 1, 3 and 6 builders.
#include <cstring>
#include <new>

#include "platform/errors.h"
#include "writer/writer.h"

namespace {

// Replaces *field by the wide form of `length` bytes of system code page text.
bool SetText(plat::Bstr* field, const char* text, size_t length) {
  plat::WideString wide;
  if (!plat::AnsiToWide(text, static_cast<int32_t>(length), &wide)) return false;
  plat::SysFreeString(*field);
  *field = plat::SysAllocString(wide.c_str());
  return *field != nullptr || plat::FailWith(plat::kErrOutOfMemory);
}

// One nibble of SECGInfo::Filters as an SCP-ECG filter bit map: 50 Hz wins over
// 60 Hz when a device claims both.
uint8_t FilterBits(unsigned nibble) {
  uint8_t bits = 0;
  if (nibble & SECGInfo::kMains50) {
    bits = kFilterPower50Hz;
  } else if (nibble & SECGInfo::kMains60) {
    bits = kFilterPower60Hz;
  }
  if (nibble & SECGInfo::kMuscle) bits |= kFilterMuscle;
  if (nibble & SECGInfo::kBaseline) bits |= kFilterBaseline;
  return bits;
}

// Section 3 flags byte: bit 2 all leads simultaneous, bits 3-7 how many.
constexpr uint8_t kAllSimultaneous = 0x04;
constexpr uint8_t kKeptFlagBits = 0x03;

}  // namespace

bool CWriter::Set(SECGInfo& info, const SLeadObj* leads) {
  if (leads == nullptr || (leads->Leads == nullptr && leads->LeadCount != 0)) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  return plat::CatchOutOfMemory(false, [&] {
    Recording.SetDefault();
    LeadDefinitions.KillData();
    Rhythm.KillData();
    HasRhythm = 0;

    char revision[32];
    ProgramRevisionText(info.HardwareVersion, info.SoftwareVersion, revision, sizeof(revision));
    if (!SetText(&Recording.ProgramRevision, revision, std::strlen(revision))) return false;
    // A host may fill all 256 characters without a terminator.
    const void* end = std::memchr(info.SerialNumber, 0, sizeof(info.SerialNumber));
    const size_t serialLength =
        end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - info.SerialNumber)
                       : sizeof(info.SerialNumber);
    if (!SetText(&Recording.SerialNumber, info.SerialNumber, serialLength)) return false;
    Recording.FilterFlags = FilterBits(info.Filters & 0x0Fu);
    Recording.DataFilterFlags = FilterBits(info.Filters >> 4);
    const char* deviceType = DeviceTypeText(info.DeviceFlags);
    if (!SetText(&Recording.DeviceType, deviceType, std::strlen(deviceType))) return false;
    Recording.AcquisitionYear = info.Year;
    Recording.AcquisitionMonth = info.Month;
    Recording.AcquisitionDay = info.Day;
    Recording.AcquisitionHour = info.Hour;
    Recording.AcquisitionMinute = info.Minute;
    Recording.AcquisitionSecond = info.Second;

    const uint8_t count = leads->LeadCount;
    if (!LeadDefinitions.Allocate(count)) return false;
    uint8_t flags = LeadDefinitions.Flags & kKeptFlagBits;
    if (info.LeadRecordingMode() == SECGInfo::kSimultaneous) {
      flags = static_cast<uint8_t>(flags | kAllSimultaneous | ((count % 32u) << 3));
    }
    LeadDefinitions.Flags = flags;
    Loaded |= kSection1;
    for (uint8_t i = 0; i < count; ++i) {
      SLeadDef& lead = LeadDefinitions.Leads[i];
      lead.LeadId = leads->Leads[i].GetLeadCode();
      lead.StartSample = 1;
      lead.EndSample = info.SampleCount;
    }
    Loaded |= kSection3;

    if (!Rhythm.Allocate(count)) return false;
    Rhythm.AVM = info.Resolution;
    Rhythm.SampleInterval = info.SampleInterval;
    Rhythm.Encoding = 0;
    Rhythm.Bimodal = 0;
    for (uint8_t i = 0; i < count; ++i) {
      if (!Rhythm.AllocateLead(i, info.SampleCount)) return false;
      const int16_t* samples = leads->Leads[i].Samples;
      if (samples != nullptr) {
        std::memcpy(Rhythm.LeadSamples[i], samples, sizeof(int16_t) * info.SampleCount);
      }
    }
    Loaded |= kSection6;
    HasRhythm = 1;
    return true;
  });
}
