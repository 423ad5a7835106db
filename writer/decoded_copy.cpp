#include "writer/decoded_copy.h"

#include <algorithm>
#include <new>

#include "format/section_header.h"
#include "platform/errors.h"
#include "writer/section_rewrite.h"

namespace {

// A multi-lead Section 5 or 6 counts each lead's bytes in 16 bits.
constexpr size_t kMaxSectionLeadSamples = 32767;

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

void CDecodedCopyWriter::RepairCopiedCrcs() {
  for (uint16_t entry = 0; entry < Store.Used; ++entry) {
    uint8_t* section = Store.Data(entry);
    const uint32_t length = Store.Length(entry);
    const uint16_t id = Store.Id(entry);
    if (id == 0 || id >= 32 || section == nullptr || length <= 2) continue;
    if (SealSection(section, length)) RepairedCrcs |= 1u << id;
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
  CSectionRewrite rewrite(*this);
  if (!rewrite.Open(from)) return fail();
  if (!InstallDecodedWaveforms(decoded, this)) return fail();
  // Eight sections at most: the fixed store entries hold them.
  const auto only = [](uint16_t wanted) { return [wanted](uint16_t id) { return id == wanted; }; };
  if (!rewrite.Reserve(8) || !rewrite.KeepSections(only(1)) || !CreateSec3_6()) return fail();
  if (HasMedian && !CreateSec5()) return fail();
  for (const uint16_t id : {uint16_t{7}, uint16_t{9}, uint16_t{10}}) {
    if (!rewrite.KeepSections(only(id))) return fail();
  }
  RepairCopiedCrcs();
  CloseFile();
  return rewrite.Commit(to);
}
