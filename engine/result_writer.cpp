#include "engine/result_writer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "format/section4.h"
#include "platform/errors.h"
#include "platform/little_endian.h"
#include "writer/section_rewrite.h"

namespace ktx::engine {
namespace {

constexpr uint16_t kUndefined = 29999;  // the standard's "not measured"

int16_t Clamp16(long v) {
  return static_cast<int16_t>(std::clamp<long>(v, -32768, 32767));
}
uint16_t ClampU16(long v) {
  return static_cast<uint16_t>(std::clamp<long>(v, 0, 65535));
}

void Put16(uint8_t* at, long v) {
  plat::PutLE16(at, static_cast<uint16_t>(Clamp16(v)));
}

void PutCode(uint8_t* at, const std::vector<uint16_t>& codes, size_t i) {
  if (i >= codes.size()) {
    at[0] = at[1] = at[2] = ' ';
    return;
  }
  const unsigned v = codes[i] % 1000;
  at[0] = v >= 100 ? static_cast<uint8_t>('0' + v / 100) : ' ';
  at[1] = v >= 10 ? static_cast<uint8_t>('0' + v / 10 % 10) : ' ';
  at[2] = static_cast<uint8_t>('0' + v % 10);
}

}  // namespace

template <typename Fill>
bool ResultWriter::AddBuilt(uint16_t id, uint32_t bodyLength, Fill fill) {
  uint16_t entry = 0;
  if (!NextEntry(&entry)) return false;
  uint32_t length = kSectionHeaderSize + bodyLength;
  length += length & 1;
  uint8_t* section = nullptr;
  if (!PlaceSection(entry, id, length, &section)) return false;
  fill(section + kSectionHeaderSize);
  return FinishEntry(entry);
}

bool ResultWriter::AddSection4(const ktx::engine::Analysis& a) {
  const ReferenceBeat& ref = a.Reference;
  SQrsLocations qrs;
  qrs.MedianLengthMs = ClampU16(std::lround(static_cast<double>(ref.Length()) * 1000.0 / ref.Rate));
  qrs.MedianFiducial = ClampU16(ref.Fiducial + 1);
  // Each complex is protected over the range it is subtracted in.
  qrs.HasProtected = true;
  qrs.Zones.reserve(a.Complexes.size());
  for (const QrsComplex& q : a.Complexes) {
    const auto onset = static_cast<uint32_t>(q.Onset + 1);
    const auto offset = static_cast<uint32_t>(q.Offset + 1);
    qrs.Zones.push_back({static_cast<uint16_t>(q.Type), onset,
                         static_cast<uint32_t>(q.Fiducial + 1), offset, onset, offset});
  }
  return AddBuilt(4, static_cast<uint32_t>(QrsLocationsSize(qrs)),
                  [&](uint8_t* body) { BuildQrsLocations(qrs, body); });
}

bool ResultWriter::AddSection5(const ktx::engine::Analysis& a, uint16_t avm) {
  const ReferenceBeat& ref = a.Reference;
  Median.KillData();
  if (!Median.Allocate(static_cast<uint8_t>(ref.Leads.size()))) return false;
  Median.AVM = avm;
  Median.SampleInterval = static_cast<uint16_t>(std::lround(1e6 / ref.Rate));
  const double unitsPerMicrovolt = 1000.0 / avm;
  for (size_t l = 0; l < ref.Leads.size(); ++l) {
    if (!Median.AllocateLead(static_cast<uint8_t>(l), static_cast<uint16_t>(ref.Length())))
      return false;
    for (size_t i = 0; i < ref.Length(); ++i)
      Median.LeadSamples[l][i] = Clamp16(std::lround(ref.Leads[l][i] * unitsPerMicrovolt));
  }
  HasMedian = 1;
  Loaded |= kSection5;
  return CreateSec5();
}

bool ResultWriter::AddSection7(const ktx::engine::Analysis& a) {
  const Findings& f = a.Found;
  const Delineation& d = a.Waves;
  const double msPerSample = 1000.0 / a.Reference.Rate;
  auto at = [&](int sample) { return static_cast<uint16_t>(std::lround(sample * msPerSample)); };
  const auto spikes = static_cast<uint32_t>(std::min<size_t>(a.PacemakerSpikes.size(), 255));
  const auto n = static_cast<uint32_t>(std::min<size_t>(a.Complexes.size(), 65535));
  // Head, one measurement block, spike times and amplitudes, spike information,
  // QRS types, then ventricular rate, atrial rate, QTc and its formula.
  const uint32_t length = 6 + 16 + 4 * spikes + 6 * spikes + 2 + n + 2 + 2 + 2 + 1 + 2;
  return AddBuilt(7, length, [&](uint8_t* body) {
    body[0] = 1;
    body[1] = static_cast<uint8_t>(spikes);
    plat::PutLE16(body + 2, ClampU16(f.MeanRR));
    plat::PutLE16(body + 4, ClampU16(f.MeanPP));
    plat::PutLE16(body + 6, d.HasP ? at(d.POnset) : kUndefined);
    plat::PutLE16(body + 8, d.HasP ? at(d.POffset) : kUndefined);
    plat::PutLE16(body + 10, at(d.QrsOnset));
    plat::PutLE16(body + 12, at(d.QrsOffset));
    plat::PutLE16(body + 14, at(d.TOffset));
    auto axis = [](int v) { return v == kAxisUndefined ? static_cast<long>(kUndefined) : v; };
    Put16(body + 16, axis(f.PAxis));
    Put16(body + 18, axis(f.QRSAxis));
    Put16(body + 20, axis(f.TAxis));
    uint8_t* out = body + 22;
    for (uint32_t i = 0; i < spikes; ++i, out += 4)
      plat::PutLE16(out, ClampU16(std::lround(a.PacemakerSpikes[i] * msPerSample)));
    for (uint32_t i = 0; i < spikes; ++i, out += 6) out[0] = 255;  // type unknown
    plat::PutLE16(out, static_cast<uint16_t>(n));
    out += 2;
    for (uint32_t i = 0; i < n; ++i)
      *out++ = static_cast<uint8_t>(std::min(a.Complexes[i].Type, 255));
    plat::PutLE16(out, ClampU16(f.HeartRate));
    plat::PutLE16(out + 2, ClampU16(f.MeanPP > 0 ? std::lround(60000.0 / f.MeanPP) : 0));
    plat::PutLE16(out + 4, ClampU16(f.QTcBazett));
    out[6] = 1;  // Bazett
  });
}

bool ResultWriter::AddSection9(const ktx::engine::Analysis& a) {
  return AddBuilt(9, 30, [&](uint8_t* body) {
    for (size_t i = 0; i < 3; ++i) PutCode(body + 3 * i, a.Codes.Rhythm, i);
    for (size_t i = 0; i < 7; ++i) PutCode(body + 9 + 3 * i, a.Codes.Morphology, i);
  });
}

bool ResultWriter::AddSection10(const ktx::engine::Analysis& a) {
  const Findings& f = a.Found;
  const auto n = static_cast<uint32_t>(std::min<size_t>(f.Leads.size(), 254));
  constexpr uint16_t kRecord = 62;
  return AddBuilt(10, 4 + kRecord * n, [&](uint8_t* body) {
    plat::PutLE16(body, static_cast<uint16_t>(n));
    plat::PutLE16(body + 2, kRecord);
    for (uint32_t i = 0; i < n; ++i) {
      const LeadFindings& m = f.Leads[i];
      uint8_t* r = body + 4 + kRecord * i;
      const long stSlope = std::lround((m.STJ80 - m.JPointAmplitude) / 0.08);
      const long values[31] = {m.LeadCode,
                               kRecord,
                               f.PDuration,
                               f.PRInterval,
                               m.QRSDuration > 0 ? m.QRSDuration : f.QRSDuration,
                               m.QTInterval > 0 ? m.QTInterval : f.QTInterval,
                               m.QDuration,
                               m.RDuration,
                               m.SDuration,
                               m.RdashDuration,
                               m.SdashDuration,
                               m.QAmplitude,
                               m.RAmplitude,
                               m.SAmplitude,
                               m.RdashAmplitude,
                               m.SdashAmplitude,
                               m.JPointAmplitude,
                               m.PAmplitudePlus,
                               m.PAmplitudeMinus,
                               m.TAmplitudePlus,
                               m.TAmplitudeMinus,
                               stSlope,
                               0,
                               0,
                               0,
                               0,
                               0,
                               0,
                               m.STJ20,
                               m.STJ60,
                               m.STJ80};
      for (int v = 0; v < 31; ++v) Put16(r + 2 * v, values[v]);
      plat::PutLE16(r, m.LeadCode);
      plat::PutLE16(r + 2, kRecord);
    }
  });
}

bool ResultWriter::Write(const char* name, const ktx::engine::Analysis& a, uint16_t avm,
                         bool perLead) {
  auto fail = [this] {
    Close();
    return false;
  };
  CSectionRewrite rewrite(*this);
  if (!rewrite.Open(name)) return fail();
  std::vector<uint16_t> kept;
  const auto keep = [](uint16_t id) { return id != 0 && !IsAnalysisSection(id); };
  if (!rewrite.PresentSections(keep, &kept)) return fail();
  if (!rewrite.Reserve(1 + static_cast<uint32_t>(kept.size()) + 5)) return fail();
  // Kept sections in their order, each analysis section after the last lower number.
  std::vector<uint16_t> results = {4, 7, 9};
  if (perLead) results = {4, 5, 7, 9, 10};
  size_t next = 0;
  auto addResultsBelow = [&](uint16_t limit) {
    for (; next < results.size() && results[next] < limit; ++next) {
      bool ok = true;
      switch (results[next]) {
        case 4:
          ok = AddSection4(a);
          break;
        case 5:
          ok = AddSection5(a, avm);
          break;
        case 7:
          ok = AddSection7(a);
          break;
        case 9:
          ok = AddSection9(a);
          break;
        default:
          ok = AddSection10(a);
          break;
      }
      if (!ok) return false;
    }
    return true;
  };
  for (uint16_t id : kept) {
    if (!addResultsBelow(id) || !StoreSection(id)) return fail();
  }
  if (!addResultsBelow(0xFFFF)) return fail();
  return rewrite.Commit(name);
}

}  // namespace ktx::engine
