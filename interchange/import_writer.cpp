#include "interchange/import_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "acquisition/event.h"
#include "interchange/text_fields.h"
#include "platform/errors.h"
#include "platform/time.h"

namespace {

constexpr uint32_t kMaxSamples = 32767;  // per lead of a multi-lead Section 6
constexpr uint8_t kMaxLeads = 254;
// Device type 15 (no device of the table), every lead recorded at the same time.
constexpr uint8_t kImportDeviceFlags = 0x0F | (SECGInfo::kSimultaneous << 4);
constexpr uint8_t kUnitYears = 1;

bool Fail(std::string* why, const std::string& message, uint32_t code) {
  *why = message;
  return plat::FailWith(code);
}

plat::Bstr NewText(const std::string& utf8) {
  const plat::WideString wide = ktx::interchange::WideFromUtf8(utf8);
  return wide.empty() ? nullptr : plat::SysAllocString(wide.c_str());
}

void ReplaceText(plat::Bstr* field, const std::string& utf8) {
  plat::SysFreeString(*field);
  *field = NewText(utf8);
}

// The source's device text in the system code page, cut to the serial number's room.
void CopyDevice(const std::string& utf8, SECGInfo* info) {
  std::string ansi;
  const plat::WideString wide = ktx::interchange::WideFromUtf8(utf8);
  if (!plat::WideToAnsi(wide.c_str(), -1, &ansi)) ansi.clear();
  const size_t length = std::min(ansi.size(), sizeof(info->SerialNumber) - 1);
  std::memset(info->SerialNumber, 0, sizeof(info->SerialNumber));
  std::memcpy(info->SerialNumber, ansi.data(), length);
}

void FillInfo(const SSignalSet& signals, uint16_t avm, SECGInfo* info) {
  info->Clear();
  const SSourceInfo& source = signals.Source;
  CopyDevice(source.Device, info);
  info->DeviceFlags = kImportDeviceFlags;
  info->LeadCount = static_cast<uint8_t>(signals.Signals.size());
  info->SampleBits = 16;
  info->Year = source.Acquired.Year;
  info->Month = static_cast<uint8_t>(source.Acquired.Month);
  info->Day = static_cast<uint8_t>(source.Acquired.Day);
  info->Hour = static_cast<uint8_t>(source.Acquired.Hour);
  info->Minute = static_cast<uint8_t>(source.Acquired.Minute);
  info->Second = static_cast<uint8_t>(source.Acquired.Second);
  info->SampleCount = static_cast<uint16_t>(signals.SampleCount());
  info->SampleInterval = SampleIntervalFor(signals.Rate);
  info->Resolution = avm;
}

bool CheckSignals(const SSignalSet& signals, std::string* why) {
  if (signals.Signals.empty()) return Fail(why, "no leads to store", plat::kErrInvalidParameter);
  if (signals.Signals.size() > kMaxLeads) {
    return Fail(why, std::to_string(signals.Signals.size()) + " leads: a record holds at most 254",
                plat::kErrOutOfStructures);
  }
  const size_t count = signals.SampleCount();
  for (const SSignal& signal : signals.Signals) {
    if (signal.Microvolts.size() != count) {
      return Fail(why, "the leads are not equally long", plat::kErrInvalidParameter);
    }
  }
  if (count == 0) return Fail(why, "the leads hold no samples", plat::kErrInvalidParameter);
  if (count > kMaxSamples) {
    return Fail(why, std::to_string(count) + " samples per lead: a record holds at most 32767",
                plat::kErrInvalidData);
  }
  if (SampleIntervalFor(signals.Rate) == 0) {
    return Fail(why,
                "a rate of " + ktx::interchange::ShortNumber(signals.Rate) +
                    " Hz: a record states rates from 15.26 Hz to 1 MHz",
                plat::kErrInvalidParameter);
  }
  return true;
}

// The AVM for every lead: the finest resolution among them, the largest sample.
bool ScaleFor(const SSignalSet& signals, uint16_t requested, uint16_t* avm, std::string* why) {
  double largest = 0;
  double step = 0;
  for (const SSignal& signal : signals.Signals) {
    for (double value : signal.Microvolts) {
      if (!std::isnan(value)) largest = std::max(largest, std::fabs(value));
    }
    if (signal.StepNv > 0 && (step == 0 || signal.StepNv < step)) step = signal.StepNv;
  }
  return ChooseAvm(largest, step, requested, avm, why) ||
         plat::FailWith(plat::kErrInvalidParameter);
}

std::string CommentOf(const SSignalSet& signals) {
  std::string comment;
  auto add = [&](const std::string& line) {
    if (!comment.empty()) comment += "\r\n";
    comment += line;
  };
  for (const std::string& line : signals.Source.Comments) add(line);
  for (size_t i = 0; i < signals.Signals.size(); ++i) {
    if (signals.Signals[i].LeadCode == 0 && !signals.Signals[i].Name.empty()) {
      add("Lead " + std::to_string(i + 1) + ": " + signals.Signals[i].Name + " (unspecified)");
    }
  }
  return comment;
}

}  // namespace

uint16_t SampleIntervalFor(double rate) {
  if (!(rate > 0)) return 0;
  const double interval = std::floor(1e6 / rate);
  return interval >= 1 && interval <= 65535 ? static_cast<uint16_t>(interval) : 0;
}

void SourcePatient(const SSourceInfo& source, CPatientInfo* patient) {
  patient->SetDefault();
  ReplaceText(&patient->PatientId, source.PatientId);
  ReplaceText(&patient->LastName, source.LastName);
  ReplaceText(&patient->FirstName, source.FirstName);
  patient->Gender = source.Gender;
  patient->YearOfBirth = source.BirthYear;
  patient->MonthOfBirth = source.BirthMonth;
  patient->DayOfBirth = source.BirthDay;
}

bool CImportWriter::CreateFromSignals(const char* ScpFilename, const SSignalSet& signals,
                                      const CPatientInfo* pPatInfo, uint16_t avm, SScaling* scaling,
                                      std::string* why) {
  if (ScpFilename == nullptr) return Fail(why, "no file name", plat::kErrInvalidParameter);
  if (File != plat::kClosedFile) return Fail(why, "a file is open", plat::kErrInvalidAccess);
  *scaling = SScaling{};
  const bool written = plat::CatchOutOfMemory(false, [&] {
    if (!CheckSignals(signals, why) || !ScaleFor(signals, avm, &scaling->AVM, why)) return false;
    SEvent event;
    FillInfo(signals, scaling->AVM, &event.Info);
    if (!event.InitLeads(event.Info.LeadCount)) return false;
    for (size_t i = 0; i < signals.Signals.size(); ++i) {
      const SSignal& signal = signals.Signals[i];
      SLeadData& lead = event.Leads[i];
      lead.LeadId = signal.LeadCode;
      for (size_t s = 0; s < signal.Microvolts.size(); ++s) {
        lead.Samples[s] = MarkerSafeSample(signal.Microvolts[s], scaling->AVM, scaling);
      }
    }
    event.FilledLeads = event.Info.LeadCount;

    // The creation sequence of every acquisition, with what the source adds to Section 1.
    Clear(kAllSections);
    const plat::SystemTime now = plat::LocalTimeNow();
    if (!Set(event.Info, &event)) return false;
    if (pPatInfo != nullptr) {
      Patient.Set(pPatInfo);
    } else {
      SourcePatient(signals.Source, &Patient);
    }
    General.SetDefault();
    General.Received = SDateTime{now.Year, now.Month, now.Day, now.Hour, now.Minute, now.Second};
    ReplaceText(&General.CommentText, CommentOf(signals));
    ReplaceText(&General.RecordingId, signals.Source.RecordName);
    if (signals.Source.Age >= 0) {
      // Section 1 computes the age from a birth date; without one the source's stands.
      const uint8_t age[3] = {static_cast<uint8_t>(signals.Source.Age & 0xFF),
                              static_cast<uint8_t>(signals.Source.Age >> 8), kUnitYears};
      if (!UnknownTags.Allocate(4, sizeof(age))) return false;
      std::memcpy(UnknownTags.Data[4], age, sizeof(age));
    }
    Store.KillData();
    GenerateLeadErrors();  // a table without entries is no reason to refuse the file
    UpdateMode = false;
    if (!CreateSec1() || !CreateSec3_6() || !WriteSections(ScpFilename)) {
      *why = "the record cannot be written";
      return false;
    }
    Close();
    return true;
  });
  if (!written) {
    const plat::KeepLastError keep;
    Close();
  }
  return written;
}

bool CreateFromMicrovolts(const char* ScpFilename, const std::vector<std::vector<double>>& leads,
                          double rate, const std::vector<uint8_t>& leadCodes,
                          const CPatientInfo* pPatInfo, uint16_t avm, SScaling* scaling,
                          std::string* why) {
  if (leadCodes.size() != leads.size()) {
    return Fail(why, "one lead code per lead", plat::kErrInvalidParameter);
  }
  return plat::CatchOutOfMemory(false, [&] {
    SSignalSet signals;
    signals.Rate = rate;
    for (size_t i = 0; i < leads.size(); ++i) {
      SSignal signal;
      signal.LeadCode = leadCodes[i];
      signal.Microvolts = leads[i];
      signals.Signals.push_back(std::move(signal));
    }
    CImportWriter writer;
    return writer.CreateFromSignals(ScpFilename, signals, pPatInfo, avm, scaling, why);
  });
}
