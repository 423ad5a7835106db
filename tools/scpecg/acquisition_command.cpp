// scpecg acquisition: decodes a device acquisition as the file-creation operations
// would, writes nothing, and prints each event's header record and leads.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "acquisition/bio_reader.h"
#include "acquisition/raw12_reader.h"
#include "acquisition/raw16_reader.h"
#include "acquisition/raw8_reader.h"
#include "commands.h"
#include "platform/errors.h"
#include "platform/file.h"
#include "record/lead_labels.h"

namespace scpecg {

namespace {

struct AcquisitionOptions {
  std::string Format;
  int16_t Leads = 8;
  double Rate = 0;
  double Resolution = 0;
  bool Unsigned = false;
  bool Json = false;
  std::string File;
};

struct EventView {
  SECGInfo Info;
  const SLeadObj* Leads;
};

struct LeadSummary {
  std::optional<int> Minimum;
  std::optional<int> Maximum;
  uint32_t Count;
};

LeadSummary Summarize(const SLeadData& lead, uint32_t count) {
  LeadSummary summary{std::nullopt, std::nullopt, lead.Samples != nullptr ? count : 0};
  for (uint32_t i = 0; i < summary.Count; ++i) {
    const int value = lead.Samples[i];
    summary.Minimum = std::min(summary.Minimum.value_or(value), value);
    summary.Maximum = std::max(summary.Maximum.value_or(value), value);
  }
  return summary;
}

std::string RevisionText(const SECGInfo& info) {
  char text[32];
  ProgramRevisionText(info.HardwareVersion, info.SoftwareVersion, text, sizeof(text));
  return text;
}

std::string DateText(const SECGInfo& info) {
  char text[32];
  std::snprintf(text, sizeof(text), "%04u-%02u-%02u", unsigned{info.Year}, unsigned{info.Month},
                unsigned{info.Day});
  return text;
}

std::string TimeText(const SECGInfo& info) {
  char text[32];
  std::snprintf(text, sizeof(text), "%02u:%02u:%02u", unsigned{info.Hour}, unsigned{info.Minute},
                unsigned{info.Second});
  return text;
}

template <typename T>
std::string OrDash(const std::optional<T>& value) {
  return value ? std::to_string(*value) : "-";
}

nlohmann::ordered_json EventJson(const EventView& event) {
  const SECGInfo& info = event.Info;
  nlohmann::ordered_json leads = nlohmann::ordered_json::array();
  for (unsigned i = 0; i < event.Leads->LeadCount; ++i) {
    const SLeadData& lead = event.Leads->Leads[i];
    const LeadSummary summary = Summarize(lead, info.SampleCount);
    auto orNull = [](const std::optional<int>& v) {
      return v ? nlohmann::ordered_json(*v) : nlohmann::ordered_json(nullptr);
    };
    leads.push_back({{"slot", i},
                     {"lead_index", lead.LeadIndex},
                     {"lead_id", lead.LeadId},
                     {"lead_code", lead.GetLeadCode()},
                     {"lead", LeadLabel(lead.GetLeadCode())},
                     {"minimum", orNull(summary.Minimum)},
                     {"maximum", orNull(summary.Maximum)},
                     {"count", summary.Count}});
  }
  return {{"device_type", DeviceTypeText(info.DeviceFlags)},
          {"device_type_code", info.DeviceFlags & 0x0F},
          {"lead_recording_mode", (info.DeviceFlags >> 4) & 0x03},
          {"device_flags", info.DeviceFlags},
          {"serial_number", info.SerialNumber},
          {"hardware_version", info.HardwareVersion},
          {"software_version", info.SoftwareVersion},
          {"program_revision", RevisionText(info)},
          {"filters", {{"device", info.Filters & 0x0F}, {"data", info.Filters >> 4}}},
          {"date", DateText(info)},
          {"time", TimeText(info)},
          {"sample_count", info.SampleCount},
          {"sample_interval_us", info.SampleInterval},
          {"resolution_nv", info.Resolution},
          {"sample_bits", info.SampleBits},
          {"lead_count", info.LeadCount},
          {"filled_leads", event.Leads->FilledLeads},
          {"single_lead", info.SingleLead},
          {"gain", info.Gain},
          {"status", info.Status},
          {"leads", leads}};
}

void PrintEvent(size_t number, const EventView& event) {
  const SECGInfo& info = event.Info;
  char flags[8];
  std::snprintf(flags, sizeof(flags), "0x%02X", unsigned{info.Status});
  std::cout << "event " << number << "\n"
            << "  device type       \"" << DeviceTypeText(info.DeviceFlags) << "\" (code "
            << (info.DeviceFlags & 0x0F) << "), lead recording mode "
            << ((info.DeviceFlags >> 4) & 0x03) << "\n"
            << "  serial number     \"" << info.SerialNumber << "\"\n"
            << "  program revision  \"" << RevisionText(info) << "\" (hardware "
            << unsigned{info.HardwareVersion} << ", software " << unsigned{info.SoftwareVersion}
            << ")\n"
            << "  filters           device " << (info.Filters & 0x0F) << ", data "
            << (info.Filters >> 4) << "\n"
            << "  date and time     " << DateText(info) << " " << TimeText(info) << "\n"
            << "  samples           " << info.SampleCount << " per lead, interval "
            << info.SampleInterval << " us, resolution " << info.Resolution << " nV, "
            << unsigned{info.SampleBits} << " bits\n"
            << "  leads             " << unsigned{info.LeadCount} << " ("
            << unsigned{event.Leads->FilledLeads} << " filled), single lead "
            << unsigned{info.SingleLead} << ", gain " << unsigned{info.Gain} << ", status " << flags
            << "\n";
  if (event.Leads->LeadCount == 0) return;
  std::cout << "   slot index   id code lead         minimum  maximum  count\n";
  for (unsigned i = 0; i < event.Leads->LeadCount; ++i) {
    const SLeadData& lead = event.Leads->Leads[i];
    const LeadSummary summary = Summarize(lead, info.SampleCount);
    char line[128];
    std::snprintf(line, sizeof(line), "  %5u %5u %4u %4u %-11s %8s %8s %6u\n", i,
                  unsigned{lead.LeadIndex}, unsigned{lead.LeadId}, unsigned{lead.GetLeadCode()},
                  LeadLabel(lead.GetLeadCode()).c_str(), OrDash(summary.Minimum).c_str(),
                  OrDash(summary.Maximum).c_str(), summary.Count);
    std::cout << line;
  }
}

// Records a raw 12-lead read took in: the reader keeps only the valid ones.
bool Raw12Records(const AcquisitionOptions& options, uint32_t* records) {
  const uint32_t size = options.Leads == 1                           ? 2
                        : (options.Leads == 2 || options.Leads == 6) ? 4
                                                                     : 13;
  const plat::FileHandle file = plat::OpenForRead(options.File.c_str());
  uint64_t bytes = 0;
  const bool ok = file != plat::kClosedFile && plat::FileSize(file, &bytes);
  if (file != plat::kClosedFile) plat::CloseFile(file);
  *records = static_cast<uint32_t>(std::min<uint64_t>(bytes / size, 32767));
  return ok;
}

int RunAcquisition(const AcquisitionOptions& options) {
  C12LReader raw12;
  C16BitReader raw16;
  C8BitReader raw8;
  CBioReader bio;
  std::vector<EventView> events;
  uint32_t rejected = 0;
  bool ok = true;
  SECGInfo info{};
  const char* name = options.File.c_str();
  if (options.Format == "bio") {
    int16_t count = 0;
    ok = bio.ReadEvents(name, &count);
    for (int16_t i = 0; ok && i < count; ++i) {
      const SLeadObj* leads = bio.GetEvent(&info, i);
      ok = leads != nullptr;
      if (ok) events.push_back({info, leads});
    }
  } else {
    const SLeadObj* leads = nullptr;
    if (options.Format == "raw12") {
      leads = raw12.ReadEvent(name, &info, options.Leads, options.Rate, options.Resolution);
    } else if (options.Format == "16bit") {
      leads = raw16.ReadEvent(name, &info, options.Unsigned, options.Resolution, options.Rate);
    } else {
      leads = raw8.ReadEvent(name, &info, options.Unsigned, options.Resolution, options.Rate);
    }
    ok = leads != nullptr;
    if (ok) events.push_back({info, leads});
    uint32_t records = 0;
    if (ok && options.Format == "raw12") {
      ok = Raw12Records(options, &records);
      rejected = records - info.SampleCount;
    }
  }
  if (!ok) {
    std::cerr << options.File << ": " << ErrorText(plat::LastError()) << "\n";
    return kExitFailed;
  }
  if (options.Json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const EventView& event : events) list.push_back(EventJson(event));
    const nlohmann::ordered_json out = {{"file", options.File},
                                        {"format", options.Format},
                                        {"rejected_records", rejected},
                                        {"events", list}};
    std::cout << out.dump(2) << "\n";
    return kExitOk;
  }
  std::cout << options.File << ": " << options.Format << ", " << events.size()
            << (events.size() == 1 ? " event" : " events") << ", rejected raw records " << rejected
            << "\n";
  for (size_t i = 0; i < events.size(); ++i) PrintEvent(i + 1, events[i]);
  return kExitOk;
}

}  // namespace

void AddAcquisitionCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<AcquisitionOptions>();
  CLI::App* command = app.add_subcommand(
      "acquisition", "Decode a device acquisition without writing anything and describe it");
  command->add_option("--format", options->Format, "Input format")
      ->required()
      ->check(CLI::IsMember({"raw12", "8bit", "16bit", "bio"}));
  command
      ->add_option("--leads", options->Leads,
                   "raw12 lead configuration: 1, 2 or 6 (I, II), 8 or 12 (I, II, V1-V6)")
      ->check(CLI::IsMember({1, 2, 6, 8, 12}))
      ->capture_default_str();
  command->add_option("--rate", options->Rate,
                      "Sampling rate in Hz; 0 takes the 8bit/16bit reader's default");
  command->add_option("--resolution", options->Resolution,
                      "Nanovolts per count; 0 takes the 8bit/16bit reader's default");
  command->add_flag("--unsigned", options->Unsigned, "8bit/16bit samples are unsigned");
  command->add_flag("--json", options->Json, "Print as JSON");
  command->add_option("file", options->File, "Acquisition file")->required();
  command->callback([options, &status] { status = RunAcquisition(*options); });
}

}  // namespace scpecg
