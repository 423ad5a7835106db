#include "ludb_record.h"

#include <algorithm>

#include "acquisition/event.h"
#include "platform/time.h"
#include "record/codes.h"
#include "writer/writer.h"

namespace accuracy {
namespace {

constexpr uint16_t kAcquisitionYear = 2020;

LeadMarks MarksOf(const std::vector<Annotation>& all) {
  LeadMarks lead;
  for (size_t i = 0; i < all.size(); ++i) {
    const int code = all[i].Code;
    std::vector<Wave>* waves = code == kCodePWave    ? &lead.P
                               : code == kCodeNormal ? &lead.Qrs
                               : code == kCodeTWave  ? &lead.T
                                                     : nullptr;
    if (waves == nullptr) continue;
    Wave w;
    w.Peak = all[i].Time;
    if (i > 0 && all[i - 1].Code == kCodeWaveOn) w.Onset = all[i - 1].Time;
    if (i + 1 < all.size() && all[i + 1].Code == kCodeWaveOff) w.Offset = all[i + 1].Time;
    waves->push_back(w);
  }
  return lead;
}

// The creation every acquisition reader ends in, open to the harness.
class EventWriter : public CWriter {
 public:
  bool Create(const char* file, const CPatientInfo& patient, SEvent& event) {
    Clear(kAllSections);
    return CreateFromEvent(file, &patient, plat::LocalTimeNow(), event.Info, &event);
  }
};

}  // namespace

bool LoadLudb(const std::string& folder, const std::string& id, LudbRecord* r, std::string* error) {
  r->Id = id;
  const std::string path = folder + "/" + id;
  if (!ReadRecord(path, &r->Signals, error)) return false;
  bool diagnoses = false;
  for (const std::string& line : r->Signals.Comments) {
    if (line.rfind("<age>:", 0) == 0) {
      r->Age = std::atoi(line.c_str() + 6);
    } else if (line.rfind("<sex>:", 0) == 0) {
      r->Sex = line.find('M', 6) != std::string::npos ? 'M' : 'F';
    } else if (line.rfind("<diagnoses>:", 0) == 0) {
      diagnoses = true;
    } else if (diagnoses) {
      r->Diagnoses.push_back(line);
    }
  }
  for (const std::string& lead : r->Signals.LeadNames) {
    std::vector<Annotation> all;
    if (!ReadAnnotations(path + "." + lead, &all, error)) return false;
    r->Leads.push_back(MarksOf(all));
  }
  return true;
}

bool WriteScp(const LudbRecord& r, const std::string& file) {
  const WfdbRecord& s = r.Signals;
  SEvent event;
  event.Info.SampleCount = static_cast<uint16_t>(s.Samples[0].size());
  event.Info.SampleInterval = static_cast<uint16_t>(1e6 / s.Rate + 0.5);
  event.Info.Resolution = 1000;  // nanovolts per unit: the values are microvolts
  event.Info.Year = kAcquisitionYear;
  event.Info.Month = 1;
  event.Info.Day = 1;
  event.Info.SingleLead = 255;
  event.Info.SetLeadRecordingMode(SECGInfo::kSimultaneous);
  if (!event.InitLeads(static_cast<uint8_t>(s.Samples.size()))) return false;
  event.Info.LeadCount = static_cast<uint8_t>(s.Samples.size());
  // LUDB's lead order is the standard one: I, II, III, aVR, aVL, aVF, V1-V6.
  for (size_t l = 0; l < s.Samples.size(); ++l) {
    SLeadData& lead = event.Leads[l];
    lead.LeadIndex = static_cast<uint8_t>(l);
    for (size_t i = 0; i < s.Samples[l].size(); ++i) {
      int v = std::clamp(s.Samples[l][i], -32768, 32767);
      if (IsLeadErrorMarker(v))
        v = v == kMarkerErrorBit0 ? kMarkerErrorBit0 - 1 : kMarkerErrorBit2 + 1;
      lead.Samples[i] = static_cast<int16_t>(v);
    }
  }
  event.FilledLeads = event.Info.LeadCount;
  CPatientInfo patient;
  patient.Gender = r.Sex == 'M' ? 1 : r.Sex == 'F' ? 2 : 0;
  if (r.Age >= 0) {
    patient.YearOfBirth = static_cast<uint16_t>(kAcquisitionYear - r.Age);
    patient.MonthOfBirth = 1;
    patient.DayOfBirth = 1;
  }
  EventWriter writer;
  return writer.Create(file.c_str(), patient, event);
}

}  // namespace accuracy
