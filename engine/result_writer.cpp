#include "engine/result_writer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "format/section10.h"
#include "format/section4.h"
#include "format/section7.h"
#include "format/section9.h"
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

// The 31 values of one lead's measurement record, clamped to 16 bits.
void FillRecord(const Findings& f, const LeadFindings& m, SLeadMeasurement* record) {
  const long stSlope = std::lround((m.STJ80 - m.JPointAmplitude) / 0.08);
  const long values[29] = {f.PDuration,
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
  int16_t clamped[29];
  for (size_t v = 0; v < 29; ++v) clamped[v] = Clamp16(values[v]);
  record->LeadId = m.LeadCode;
  record->RecordLength = SLeadMeasurements::kRecordSize;
  std::memcpy(reinterpret_cast<uint8_t*>(record) + offsetof(SLeadMeasurement, PDuration), clamped,
              sizeof clamped);
}

}  // namespace

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
  auto axis = [](int v) { return Clamp16(v == kAxisUndefined ? long{kUndefined} : v); };
  const auto spikes = static_cast<uint8_t>(std::min<size_t>(a.PacemakerSpikes.size(), 255));
  const auto n = static_cast<uint16_t>(std::min<size_t>(a.Complexes.size(), 65535));
  std::vector<uint16_t> spikeTimes(spikes);
  for (size_t i = 0; i < spikes; ++i)
    spikeTimes[i] = ClampU16(std::lround(a.PacemakerSpikes[i] * msPerSample));
  std::vector<uint8_t> types(n);
  for (size_t i = 0; i < n; ++i)
    types[i] = static_cast<uint8_t>(std::min(a.Complexes[i].Type, 255));

  SSection7Content c;
  c.Global.QRSTypes = 1;
  c.Global.PossiblePacemakerSpikes = spikes;
  c.Global.AvRRms = ClampU16(f.MeanRR);
  c.Global.AvPPms = ClampU16(f.MeanPP);
  c.Global.POnsetms = d.HasP ? at(d.POnset) : kUndefined;
  c.Global.POffsetms = d.HasP ? at(d.POffset) : kUndefined;
  c.Global.QRSOnsetms = at(d.QrsOnset);
  c.Global.QRSOffsetms = at(d.QrsOffset);
  c.Global.TOffsetms = at(d.TOffset);
  c.Global.PAxis = axis(f.PAxis);
  c.Global.QRSAxis = axis(f.QRSAxis);
  c.Global.TAxis = axis(f.TAxis);
  c.SpikeTimes = spikeTimes.data();
  c.QrsTypes = types.data();
  c.QrsCount = n;
  c.VentricularRate = ClampU16(f.HeartRate);
  c.AtrialRate = ClampU16(f.MeanPP > 0 ? std::lround(60000.0 / f.MeanPP) : 0);
  c.QTc = ClampU16(f.QTcBazett);
  c.QTcFormula = 1;  // Bazett
  return AddBuilt(7, Section7BodySize(c), [&c](uint8_t* body) { BuildSection7(c, body); });
}

bool ResultWriter::AddSection9(const ktx::engine::Analysis& a) {
  const std::vector<uint16_t>& rhythm = a.Codes.Rhythm;
  const std::vector<uint16_t>& morphology = a.Codes.Morphology;
  return AddBuilt(9, kSection9BodySize, [&](uint8_t* body) {
    BuildSection9(rhythm.data(), rhythm.size(), morphology.data(), morphology.size(), body);
  });
}

bool ResultWriter::AddSection10(const ktx::engine::Analysis& a) {
  const Findings& f = a.Found;
  const auto n = static_cast<uint16_t>(std::min<size_t>(f.Leads.size(), 254));
  SLeadMeasurements table;
  if (n != 0 && !table.Allocate(n)) return false;
  table.RecordSize = SLeadMeasurements::kRecordSize;
  for (uint16_t i = 0; i < n; ++i) FillRecord(f, f.Leads[i], &table.Records[i]);
  return AddBuilt(10, Section10BodySize(table),
                  [&table](uint8_t* body) { BuildSection10(table, body); });
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
