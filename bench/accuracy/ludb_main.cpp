// The engine on LUDB's annotated 12-lead ECGs. Each record is written as an SCP-ECG
// file with its 12 leads and analysed; its global boundaries (Section 7, on the
// reference beat) are compared with the cardiologists' marks, its per-lead QRS
// duration and QT (Section 10) with the same lead's marks, and its statements
// (Section 9) with the record's diagnoses.
//
// Reference: for every dominant beat of Section 4 that the leads mark, each boundary
// relative to that beat's fiducial; the record's reference is the median over its
// beats, as the engine's own reference beat is a median. The 12-lead boundary is the
// earliest onset and the latest offset over the leads (CSE), the lead II boundary
// lead II's own. Error = engine - reference, one value per record.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/ktxsys32.h"
#include "engine/statements/catalogue.h"
#include "ludb_diagnoses.h"
#include "ludb_marks.h"
#include "ludb_record.h"
#include "reader/reader.h"
#include "record/codes.h"
#include "section4.h"

namespace {

using accuracy::BeatMarks;
using accuracy::LudbRecord;

constexpr uint16_t kUndefined = 29999;
constexpr int kBoundaries = 5;  // P on, P off, QRS on, QRS off, T off
const char* const kBoundaryNames[kBoundaries] = {"P on", "P off", "QRS on", "QRS off", "T off"};

long Boundary(const BeatMarks& m, int k) {
  const long v[kBoundaries] = {m.POnset, m.POffset, m.QrsOnset, m.QrsOffset, m.TOffset};
  return v[k];
}

double Median(std::vector<double> v) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

struct Spread {
  std::vector<double> Values;
  void Add(double v) {
    if (!std::isnan(v)) Values.push_back(v);
  }
  double Mean() const {
    double s = 0;
    for (double v : Values) s += v;
    return Values.empty() ? NAN : s / static_cast<double>(Values.size());
  }
  double Sd() const {
    const double m = Mean();
    double s = 0;
    for (double v : Values) s += (v - m) * (v - m);
    return Values.size() < 2 ? NAN : std::sqrt(s / static_cast<double>(Values.size() - 1));
  }
};

// SCP-ECG lead code of LUDB's signal `index` (I, II, III, aVR, aVL, aVF, V1-V6).
uint16_t LeadCodeOf(size_t index) {
  static const uint16_t kCodes[] = {kLeadI,  kLeadII, kLeadIII, kLeadAVR, kLeadAVL, kLeadAVF,
                                    kLeadV1, kLeadV2, kLeadV3,  kLeadV4,  kLeadV5,  kLeadV6};
  return index < 12 ? kCodes[index] : 0;
}

// What the engine gave for one record.
struct EngineOutput {
  uint16_t Result = 0;
  accuracy::QrsLocations Qrs;
  SGlobalMeasurements Global;
  std::vector<uint16_t> Codes;
  std::vector<SLeadMeasurement> Leads;
};

EngineOutput Analyse(const std::string& file) {
  EngineOutput out;
  out.Result = ScpAnalysis32(file.c_str(), 1);
  if (out.Result != 0) return out;
  out.Qrs = accuracy::ReadQrsLocations(file);
  CReader reader;
  uint16_t loaded = 0;
  if (!reader.Load(file.c_str(), &loaded, kAllSections)) return out;
  out.Global = reader.Analysis.Measurements;
  for (int i = 0; i < reader.Analysis.RhythmCodes; ++i)
    out.Codes.push_back(reader.Analysis.RhythmCode[i]);
  for (int i = 0; i < reader.Analysis.MorphologyCodes; ++i)
    out.Codes.push_back(reader.Analysis.MorphologyCode[i]);
  for (unsigned i = 0; i < reader.LeadMeasurements.Count; ++i)
    out.Leads.push_back(reader.LeadMeasurements.Records[i]);
  return out;
}

// Per record: the errors of the five boundaries (ms, NAN where either side lacks
// them), against the 12 leads and against lead II, and the QRS durations.
struct RecordErrors {
  double Global[kBoundaries], LeadII[kBoundaries];
  double QrsEngine = NAN, QrsGlobal = NAN, QrsII = NAN;
  double QtGlobal = NAN, PrGlobal = NAN;  // the marks' medians, 12 leads
  std::vector<double> LeadQrs, LeadQt;    // per-lead errors, ms
  int Beats = 0;
};

RecordErrors Score(const LudbRecord& r, const EngineOutput& e) {
  RecordErrors out;
  const double rate = r.Signals.Rate, ms = 1000.0 / rate;
  const auto span = [ms](long samples) { return static_cast<double>(samples) * ms; };
  const long window = static_cast<long>(0.15 * rate);
  std::vector<double> global[kBoundaries], leadII[kBoundaries], qrsGlobal, qrsII, qt, pr;
  std::vector<std::vector<double>> leadQrs(r.Leads.size()), leadQt(r.Leads.size());
  for (size_t b = 0; b < e.Qrs.Fiducials.size(); ++b) {
    if (e.Qrs.Types[b] != 0) continue;
    const long f = e.Qrs.Fiducials[b];
    BeatMarks g, ii;
    if (!accuracy::GlobalMarksAt(r, f, window, &g)) continue;
    ++out.Beats;
    qrsGlobal.push_back(span(g.QrsOffset - g.QrsOnset));
    if (g.TOffset >= 0) qt.push_back(span(g.TOffset - g.QrsOnset));
    if (g.POnset >= 0) pr.push_back(span(g.QrsOnset - g.POnset));
    for (int k = 0; k < kBoundaries; ++k)
      if (Boundary(g, k) >= 0) global[k].push_back(span(Boundary(g, k) - f));
    if (accuracy::LeadMarksAt(r.Leads[1], f, window, &ii)) {
      qrsII.push_back(span(ii.QrsOffset - ii.QrsOnset));
      for (int k = 0; k < kBoundaries; ++k)
        if (Boundary(ii, k) >= 0) leadII[k].push_back(span(Boundary(ii, k) - f));
    }
    for (size_t l = 0; l < r.Leads.size(); ++l) {
      BeatMarks m;
      if (!accuracy::LeadMarksAt(r.Leads[l], f, window, &m)) continue;
      leadQrs[l].push_back(span(m.QrsOffset - m.QrsOnset));
      if (m.TOffset >= 0) leadQt[l].push_back(span(m.TOffset - m.QrsOnset));
    }
  }
  const SGlobalMeasurements& m = e.Global;
  const double fiducial = e.Qrs.ReferenceFiducial * ms;
  const uint16_t engine[kBoundaries] = {m.POnsetms, m.POffsetms, m.QRSOnsetms, m.QRSOffsetms,
                                        m.TOffsetms};
  for (int k = 0; k < kBoundaries; ++k) {
    const double mine = engine[k] == kUndefined ? NAN : engine[k] - fiducial;
    out.Global[k] = mine - Median(global[k]);
    out.LeadII[k] = mine - Median(leadII[k]);
  }
  if (m.QRSOffsetms != kUndefined && e.Result == 0 && !e.Qrs.Fiducials.empty())
    out.QrsEngine = m.QRSOffsetms - m.QRSOnsetms;
  out.QrsGlobal = Median(qrsGlobal);
  out.QtGlobal = Median(qt);
  out.PrGlobal = Median(pr);
  out.QrsII = Median(qrsII);
  for (const SLeadMeasurement& lead : e.Leads)
    for (size_t l = 0; l < r.Leads.size(); ++l) {
      if (LeadCodeOf(l) != lead.LeadId) continue;
      if (!leadQrs[l].empty()) out.LeadQrs.push_back(lead.QRSDuration - Median(leadQrs[l]));
      if (!leadQt[l].empty()) out.LeadQt.push_back(lead.QTInterval - Median(leadQt[l]));
    }
  return out;
}

std::string Cell(double v) {
  char text[16];
  if (std::isnan(v)) return "     .";
  std::snprintf(text, sizeof(text), "%+6.0f", v);
  return text;
}

std::string Codes(const std::vector<uint16_t>& codes) {
  std::string s;
  for (uint16_t c : codes) s += (s.empty() ? "" : " ") + std::to_string(c);
  return s;
}

const char* RhythmClass(const LudbRecord& r) {
  if (accuracy::IsPaced(r)) return "paced";
  if (accuracy::IsFibrillationOrFlutter(r)) return "AF/AFL";
  return accuracy::IsSinusNotPaced(r) ? "sinus" : "other";
}

struct Totals {
  Spread Global[kBoundaries], LeadII[kBoundaries], LeadQrs, LeadQt;
  Spread QrsEngine, QrsGlobal, QrsII;
  void Add(const RecordErrors& e) {
    for (int k = 0; k < kBoundaries; ++k) {
      Global[k].Add(e.Global[k]);
      LeadII[k].Add(e.LeadII[k]);
    }
    for (double v : e.LeadQrs) LeadQrs.Add(v);
    for (double v : e.LeadQt) LeadQt.Add(v);
    QrsEngine.Add(e.QrsEngine);
    QrsGlobal.Add(e.QrsGlobal);
    QrsII.Add(e.QrsII);
  }
};

void PrintTotals(const char* title, const Totals& t) {
  std::printf("\n%s: mean / SD of the error, ms (records)\n", title);
  std::printf("%-8s %20s %20s\n", "", "vs 12 leads", "vs lead II");
  for (int k = 0; k < kBoundaries; ++k)
    std::printf("%-8s %+7.1f / %5.1f (%3zu) %+7.1f / %5.1f (%3zu)\n", kBoundaryNames[k],
                t.Global[k].Mean(), t.Global[k].Sd(), t.Global[k].Values.size(), t.LeadII[k].Mean(),
                t.LeadII[k].Sd(), t.LeadII[k].Values.size());
  std::printf(
      "Per lead (Section 10 vs the lead's marks): QRS duration %+.1f / %.1f, QT %+.1f / "
      "%.1f (%zu leads)\n",
      t.LeadQrs.Mean(), t.LeadQrs.Sd(), t.LeadQt.Mean(), t.LeadQt.Sd(), t.LeadQrs.Values.size());
  std::printf("Median QRS duration: engine %.0f, 12 leads %.0f, lead II %.0f ms\n",
              Median(t.QrsEngine.Values), Median(t.QrsGlobal.Values), Median(t.QrsII.Values));
}

bool States(const std::vector<uint16_t>& codes, const std::vector<uint16_t>& any) {
  return std::any_of(codes.begin(), codes.end(),
                     [&](uint16_t c) { return std::find(any.begin(), any.end(), c) != any.end(); });
}

void PrintStatements(const std::vector<LudbRecord>& records,
                     const std::vector<EngineOutput>& outputs) {
  std::printf("\n%-36s %7s %6s %4s %7s %7s\n", "Diagnosis (statement codes)", "Records", "Stated",
              "TP", "Se %", "PPV %");
  for (const accuracy::DiagnosisRow& row : accuracy::DiagnosisRows()) {
    int present = 0, stated = 0, hits = 0;
    for (size_t i = 0; i < records.size(); ++i) {
      const bool has = row.Has(records[i]), says = States(outputs[i].Codes, row.Codes);
      present += has;
      stated += says;
      hits += has && says;
    }
    std::printf("%-36s %7d %6d %4d %7.1f %7.1f\n", row.Name, present, stated, hits,
                present ? 100.0 * hits / present : NAN, stated ? 100.0 * hits / stated : NAN);
  }
  std::printf("\n%-36s %6s  %s\n", "No diagnosis in the set (code)", "Stated", "records");
  for (uint16_t code : accuracy::StatementsWithoutDiagnosis()) {
    std::string which;
    for (size_t i = 0; i < records.size(); ++i)
      if (States(outputs[i].Codes, {code})) which += " " + records[i].Id;
    const ktx::engine::StatementEntry* entry = ktx::engine::FindStatement(code);
    std::string name = entry ? entry->Text[0] : "?";
    if (name.size() > 30) name = name.substr(0, 30);
    std::printf("%-30s (%3u) %6zu %s\n", name.c_str(), unsigned{code},
                static_cast<size_t>(std::count(which.begin(), which.end(), ' ')), which.c_str());
  }
  // Statements a normal ECG may carry: its rhythm, its axis, the summary.
  const std::vector<uint16_t> normalKinds = {1, 2, 3, 4, 20, 21, 22, 100, 101, 102};
  int normal = 0, normalWithSt = 0, normalWithOther = 0, fibrillation = 0, fibrillationWithP = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    if (accuracy::IsNormal(records[i])) {
      ++normal;
      normalWithSt += States(outputs[i].Codes, {70, 71, 72, 73, 74, 75, 76, 77, 78, 79});
      normalWithOther +=
          std::any_of(outputs[i].Codes.begin(), outputs[i].Codes.end(), [&](uint16_t c) {
            return std::find(normalKinds.begin(), normalKinds.end(), c) == normalKinds.end();
          });
    }
    if (accuracy::IsFibrillationOrFlutter(records[i])) {
      ++fibrillation;
      fibrillationWithP += outputs[i].Result == 0 && outputs[i].Global.POnsetms != kUndefined;
    }
  }
  std::printf("Normal ECGs with an ST statement: %d of %d\n", normalWithSt, normal);
  std::printf("Normal ECGs with a statement beyond rhythm, axis and summary: %d of %d\n",
              normalWithOther, normal);
  std::printf("Fibrillation/flutter records with a P wave reported: %d of %d\n", fibrillationWithP,
              fibrillation);
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = KTX_LUDB_DIR;
  std::vector<std::string> ids;
  int half = 0;            // 1 or 2: every other record, for checking a change on both halves
  bool reference = false;  // the marks' 12-lead QRS, QT and PR and lead II's QRS per record
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      folder = argv[++i];
    } else if (std::strcmp(argv[i], "--reference") == 0) {
      reference = true;
    } else if (std::strcmp(argv[i], "--half") == 0 && i + 1 < argc) {
      half = std::atoi(argv[++i]);
    } else {
      ids.push_back(argv[i]);
    }
  }
  if (ids.empty()) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      if (entry.path().extension() == ".hea") ids.push_back(entry.path().stem().string());
    std::sort(ids.begin(), ids.end(), [](const std::string& a, const std::string& b) {
      return std::stoi(a) < std::stoi(b);
    });
    if (half == 1 || half == 2) {
      std::vector<std::string> kept;
      for (size_t i = static_cast<size_t>(half - 1); i < ids.size(); i += 2) kept.push_back(ids[i]);
      ids = kept;
    }
  }
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "ktx_ludb.scp";
  std::printf("%-5s %-6s %3s %5s | %s | %s | %s | %s\n", "Rec", "Rhythm", "HR", "Beats",
              "12 leads: P on  P off QRS on QRSoff  T off",
              "lead II:  P on  P off QRS on QRSoff  T off", "QRS eng 12 II", "statements");
  std::vector<LudbRecord> records;
  std::vector<EngineOutput> outputs;
  Totals sinus, all;
  bool ok = true;
  for (const std::string& id : ids) {
    LudbRecord r;
    std::string error;
    if (!accuracy::LoadLudb(folder, id, &r, &error) || !accuracy::WriteScp(r, scratch.string())) {
      std::fprintf(stderr, "%s: %s\n", id.c_str(), error.empty() ? "not written" : error.c_str());
      ok = false;
      continue;
    }
    const EngineOutput e = Analyse(scratch.string());
    const RecordErrors s = Score(r, e);
    std::string line;
    for (double v : s.Global) line += Cell(v) + " ";
    line += "|          ";
    for (double v : s.LeadII) line += Cell(v) + " ";
    std::printf("%-5s %-6s %3d %5d | %s| %4.0f %3.0f %3.0f | %s%s\n", id.c_str(), RhythmClass(r),
                e.Global.AvRRms ? static_cast<int>(std::lround(60000.0 / e.Global.AvRRms)) : 0,
                s.Beats, line.c_str(), s.QrsEngine, s.QrsGlobal, s.QrsII, Codes(e.Codes).c_str(),
                e.Result ? (" result " + std::to_string(e.Result)).c_str() : "");
    if (reference)
      std::printf("      marks: QRS 12 leads %.0f, lead II %.0f; QT %.0f; PR %.0f ms\n",
                  s.QrsGlobal, s.QrsII, s.QtGlobal, s.PrGlobal);
    all.Add(s);
    if (accuracy::IsSinusNotPaced(r)) sinus.Add(s);
    records.push_back(std::move(r));
    outputs.push_back(e);
  }
  PrintTotals("Sinus, not paced", sinus);
  PrintTotals("All records", all);
  PrintStatements(records, outputs);
  std::filesystem::remove(scratch);
  return ok ? 0 : 1;
}
