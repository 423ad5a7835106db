#include "acquisition/raw12_decode.h"

#include <algorithm>

#include "acquisition/reader_common.h"
#include "acquisition/sample_codecs.h"
#include "platform/errors.h"

namespace ktx::acq {

namespace {

constexpr uint8_t kOneLead[] = {kUnspecifiedLead};
constexpr uint8_t kTwoLeads[] = {0, 1};                        // I, II
constexpr uint8_t kEightLeads[] = {0, 1, 6, 7, 8, 9, 10, 11};  // I, II, V1-V6

bool LayoutFor(int16_t leadConfig, Raw12Layout* layout) {
  switch (leadConfig) {
    case 1:
      *layout = {1, 2, kUnspecifiedLead, kOneLead};
      return true;
    case 2:
    case 6:
      *layout = {2, 4, 255, kTwoLeads};
      return true;
    case 8:
    case 12:
      *layout = {8, 13, 255, kEightLeads};
      return true;
    default:
      return false;
  }
}

}  // namespace

bool BeginRaw12(SEvent& event, int16_t leadConfig, double samplingRate, double resolution,
                Raw12Layout* layout) {
  event.KillLeads();
  SECGInfo& info = event.Info;
  info.Clear();
  info.SampleInterval = TruncateTo16(1000000.0 / samplingRate);
  info.Resolution = TruncateTo16(resolution);
  info.SetLeadRecordingMode(SECGInfo::kSimultaneous);
  if (!LayoutFor(leadConfig, layout)) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  info.LeadCount = layout->Leads;
  info.SingleLead = layout->SingleLead;
  return true;
}

bool AllocateRaw12(SEvent& event, const Raw12Layout& layout, uint64_t inputBytes,
                   const plat::SystemTime& when) {
  SECGInfo& info = event.Info;
  info.SampleCount =
      static_cast<uint16_t>(std::min<uint64_t>(inputBytes / layout.RecordSize, kMaxRawSamples));
  info.SampleBits = 12;
  SetDateTime(info, when);
  if (!event.InitLeads(info.LeadCount)) return false;
  for (unsigned i = 0; i < layout.Leads; ++i) {
    event.Leads[i].LeadIndex = layout.LeadIndexes[i];
    event.Leads[i].LeadId = kLeadNotSet;
  }
  return true;
}

bool DecodeRaw12Record(SEvent& event, const Raw12Layout& layout, const uint8_t* record,
                       uint32_t position) {
  if (layout.Leads == 1) {
    event.Leads[0].Samples[position] = DecodeOneLead(record[0], record[1]);
    return OneLeadInSync(record[0], record[1]);
  }
  for (unsigned pair = 0; pair * 2 < layout.Leads; ++pair) {
    DecodePair(record + 3 * pair, &event.Leads[2 * pair].Samples[position],
               &event.Leads[2 * pair + 1].Samples[position]);
  }
  return ChecksumMatches(record, layout.RecordSize);
}

SLeadObj* FinishRaw12(SEvent& event, uint32_t storedSamples, SECGInfo* info) {
  event.FilledLeads = event.Info.LeadCount;
  event.Info.SampleCount = static_cast<uint16_t>(storedSamples);
  if (info != nullptr) info->Set(event.Info);
  plat::SetLastError(plat::kErrSuccess);
  return &event;
}

}  // namespace ktx::acq
