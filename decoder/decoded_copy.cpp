#include "decoder/decoded_copy.h"

#include <algorithm>
#include <new>

#include "platform/errors.h"
#include "record/crc.h"

namespace {

// A multi-lead Section 5 or 6 counts each lead's bytes in 16 bits.
constexpr size_t kMaxSectionLeadSamples = 32767;

bool Fill(const SDecodedSamples& decoded, SEncodedData* data) {
  data->KillData();
  const auto leads = static_cast<uint8_t>(decoded.Leads.size());
  if (!data->Allocate(leads)) return false;
  data->AVM = decoded.AVM;
  data->SampleInterval = decoded.SampleInterval;
  data->Encoding = 0;
  data->Bimodal = 0;
  for (uint8_t i = 0; i < leads; ++i) {
    const std::vector<int16_t>& lead = decoded.Leads[i];
    if (lead.empty()) continue;
    if (lead.size() > 65535) return plat::FailWith(plat::kErrInvalidData);
    if (!data->AllocateLead(i, static_cast<uint16_t>(lead.size()))) return false;
    std::copy(lead.begin(), lead.end(), data->LeadSamples[i]);
  }
  return true;
}

bool Install(const SDecodedWaveforms& decoded, CReader* reader) {
  reader->Clear(kSection3 | kSection5 | kSection6);
  SLeadDefinitions& leads = reader->LeadDefinitions;
  const auto count = static_cast<uint8_t>(decoded.LeadDefs.size());
  if (count == 0 || !decoded.Rhythm.Present) return plat::FailWith(plat::kErrNoData);
  if (!leads.Allocate(count)) return false;
  std::copy(decoded.LeadDefs.begin(), decoded.LeadDefs.end(), leads.Leads);
  // The reference beats are back in the rhythm: nothing is subtracted any more.
  leads.Flags = static_cast<uint8_t>(decoded.LeadFlags & ~1u);
  reader->Loaded |= kSection3;
  if (!Fill(decoded.Rhythm, &reader->Rhythm)) return false;
  reader->HasRhythm = 1;
  reader->Loaded |= kSection6;
  if (decoded.Median.Present) {
    if (!Fill(decoded.Median, &reader->Median)) return false;
    reader->HasMedian = 1;
    reader->Loaded |= kSection5;
  }
  return true;
}

bool FitsSections(const SDecodedWaveforms& decoded) {
  if (decoded.LeadDefs.size() < 2) return true;
  for (const SDecodedSamples* data : {&decoded.Rhythm, &decoded.Median}) {
    for (const std::vector<int16_t>& lead : data->Leads) {
      if (lead.size() > kMaxSectionLeadSamples) return false;
    }
  }
  return true;
}

}  // namespace

bool InstallDecodedWaveforms(const SDecodedWaveforms& decoded, CReader* reader) {
  if (reader == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  bool ok = false;
  try {
    ok = Install(decoded, reader);
  } catch (const std::bad_alloc&) {
    ok = plat::FailWith(plat::kErrOutOfMemory);
  }
  if (!ok) {
    plat::KeepLastError keep;
    reader->Clear(kSection3 | kSection5 | kSection6);
  }
  return ok;
}

void CDecodedCopyWriter::RepairCopiedCrcs() {
  for (uint16_t entry = 0; entry < Store.Used; ++entry) {
    uint8_t* section = Store.Data(entry);
    const uint32_t length = Store.Length(entry);
    const uint16_t id = Store.Id(entry);
    if (id == 0 || id >= 32 || section == nullptr || length <= 2) continue;
    CCRC crc;
    crc.Add(section + 2, length - 2);
    const auto low = static_cast<uint8_t>(crc.Value());
    const auto high = static_cast<uint8_t>(crc.Value() >> 8);
    if (section[0] == low && section[1] == high) continue;
    section[0] = low;
    section[1] = high;
    RepairedCrcs |= 1u << id;
  }
}

bool CDecodedCopyWriter::WriteDecodedCopy(const char* from, const char* to) {
  RepairedCrcs = 0;
  if (from == nullptr || to == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  auto fail = [this] {
    Close();
    return false;
  };
  SDecodedWaveforms decoded;
  if (!DecodeWaveformFile(from, &decoded)) return false;
  if (!FitsSections(decoded)) return plat::FailWith(plat::kErrInvalidData);
  Close();
  if (!OpenRd(from, false)) return fail();
  if (!MoveTo(File, kRecordHeaderSize) || !ReadSectionIndex(File, &Index)) return fail();
  Loaded |= kSection0;
  if (!InstallDecodedWaveforms(decoded, this)) return fail();
  // Eight sections at most: the fixed store entries hold them.
  if (!StoreSection(1) || !CreateSec3_6()) return fail();
  if (HasMedian && !CreateSec5()) return fail();
  for (const uint16_t id : {uint16_t{7}, uint16_t{9}, uint16_t{10}}) {
    if (!StoreSection(id)) return fail();
  }
  RepairCopiedCrcs();
  CloseFile();
  const bool written = WriteSections(to);
  Close();
  return written;
}
