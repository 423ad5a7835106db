// scpecg create: new SCP-ECG files, empty or from a device acquisition with the
// patient's data.
#include <cstdio>
#include <iostream>
#include <vector>

#include "acquisition/bio_reader.h"
#include "acquisition/raw12_reader.h"
#include "acquisition/raw16_reader.h"
#include "acquisition/raw8_reader.h"
#include "acquisition_window.h"
#include "commands.h"
#include "file_rewrite.h"
#include "patient_options.h"
#include "platform/errors.h"
#include "platform/file.h"
#include "platform/text.h"
#include "platform/time.h"
#include "reader/reader.h"
#include "record/patient_info.h"
#include "writer/writer.h"

namespace scpecg {

namespace {

struct CreateOptions {
  std::string File;  // the output with --empty, the acquisition with --from
  std::string Output;
  bool Empty = false;
  std::string From;
  int16_t Leads = 8;
  double Rate = 0;
  double Resolution = 0;
  bool Unsigned = false;
  PatientOptions Patient;
  SampleWindow Window;
  bool InPlace = false;
};

// A writer that also stores events the command has cut to a window.
struct ToolWriter : CWriter {
  using CWriter::CreateFromEvent;
  // The names of the files that CreateFromBioFile writes for a Bio file of `events` events.
  static std::vector<std::string> EventNames(const std::string& output, int16_t events) {
    std::vector<std::string> names;
    if (events == 1) names.push_back(output);
    for (int16_t i = 0; events > 1 && i < events; ++i) {
      char name[plat::kMaxPath] = {};
      CreateEventFileName(name, output.c_str(), i);
      names.emplace_back(name);
    }
    return names;
  }
};

int Failed(const std::string& what) {
  std::cerr << what << ": " << ErrorText(plat::LastError()) << "\n";
  return kExitFailed;
}

// A refusal that has no Win32 code: the acquisition does not fit the record as asked.
int Refused(const std::string& message) {
  std::cerr << "scpecg create: " << message << "\n";
  return kExitFailed;
}

// One line per created file: what the file holds, as a reader sees it.
void Describe(const std::string& file, const std::string& source) {
  CReader reader;
  uint16_t loaded = 0;
  reader.Load(file.c_str(), &loaded, kSection3 | kSection6);
  std::cout << file << ": created from " << source;
  if ((loaded & kSection6) != 0 && reader.Rhythm.SampleInterval != 0) {
    char rate[32];
    std::snprintf(rate, sizeof(rate), "%g", 1e6 / reader.Rhythm.SampleInterval);
    const unsigned samples = reader.Rhythm.LeadCount > 0 ? reader.Rhythm.SampleCounts[0] : 0;
    const unsigned leads = reader.Rhythm.LeadCount;
    std::cout << ", " << leads << (leads == 1 ? " lead of " : " leads of ") << samples
              << " samples at " << rate << " Hz, " << reader.Rhythm.AVM << " nV";
  }
  std::cout << "\n";
}

// Bytes per sample record of the raw formats: one sample of every lead.
uint64_t RecordSize(const CreateOptions& options) {
  if (options.From == "8bit") return 1;
  if (options.From == "16bit") return 2;
  if (options.Leads == 1) return 2;
  return options.Leads == 8 || options.Leads == 12 ? 13 : 4;
}

// The header record the file reader makes of the acquisition (rate, resolution, date and
// time), from its first samples.
bool ReadHeader(const CreateOptions& o, SECGInfo* info) {
  const char* in = o.File.c_str();
  if (o.From == "raw12") return C12LReader().ReadEvent(in, info, o.Leads, o.Rate, o.Resolution);
  if (o.From == "8bit") return C8BitReader().ReadEvent(in, info, o.Unsigned, o.Resolution, o.Rate);
  return C16BitReader().ReadEvent(in, info, o.Unsigned, o.Resolution, o.Rate);
}

// `count` bytes of the file from byte `first`.
bool ReadBytes(const std::string& file, uint64_t first, uint64_t count,
               std::vector<uint8_t>* bytes) {
  const plat::FileHandle handle = plat::OpenForRead(file.c_str());
  if (handle == plat::kClosedFile) return false;
  bytes->assign(count, 0);
  uint32_t done = 0;
  const bool read = plat::Seek(handle, static_cast<int64_t>(first), plat::SeekFrom::Begin) &&
                    plat::ReadFile(handle, bytes->data(), static_cast<uint32_t>(count), &done) &&
                    done == count;
  plat::CloseFile(handle);
  return read || plat::FailWith(plat::kErrInvalidData);
}

// The memory readers, one of which decodes the window's bytes; each owns its event.
struct WindowReaders {
  C12LMemReader Raw12;
  C8BitMemReader Raw8;
  C16BitMemReader Raw16;
  const SLeadObj* Read(const CreateOptions& o, const std::vector<uint8_t>& bytes, SECGInfo* info) {
    const auto size = static_cast<uint32_t>(bytes.size());
    if (o.From == "raw12") {
      return Raw12.ReadEvent(bytes.data(), size, info, o.Leads, o.Rate, o.Resolution);
    }
    if (o.From == "8bit") {
      return Raw8.ReadEvent(bytes.data(), size, info, o.Unsigned, o.Resolution, o.Rate);
    }
    return Raw16.ReadEvent(bytes.data(), size, info, o.Unsigned, o.Resolution, o.Rate);
  }
};

double RateOf(const SECGInfo& info) {
  return info.SampleInterval != 0 ? 1e6 / info.SampleInterval : 0;
}

// The samples of one event to store; false after telling the user why they cannot be.
bool StoredRange(const CreateOptions& options, const std::string& what, uint64_t total, double rate,
                 SampleRange* range) {
  *range = {0, total};
  if (options.Window.Given) {
    if (rate <= 0) {
      Refused(what + ": its sampling rate is unknown, so --start/--seconds cannot be placed");
      return false;
    }
    *range = WindowSamples(options.Window, rate, total);
    if (range->Count == 0) {
      char length[64];
      std::snprintf(length, sizeof(length), "%.3f s", static_cast<double>(total) / rate);
      Refused(what + ": --start lies at or after its end (" + length + ")");
      return false;
    }
  }
  if (range->Count > kMaxStoredSamples) {
    Refused(options.Window.Given ? TooLongMessage("the window of " + what, range->Count, rate) +
                                       ": give a shorter --seconds"
                                 : TooLongMessage(what, range->Count, rate) +
                                       ": store a part of it with --start S --seconds N");
    return false;
  }
  return true;
}

std::string WindowText(const CreateOptions& options, const SampleRange& range, double rate) {
  if (!options.Window.Given) return std::string();
  char text[96];
  std::snprintf(text, sizeof(text), " (%.3f s to %.3f s)", static_cast<double>(range.First) / rate,
                static_cast<double>(range.First + range.Count) / rate);
  return text;
}

// raw12, 8bit, 16bit: the plain creation, or the window decoded from its own bytes with
// the header record the file reader makes (its date and time, rate and resolution).
int CreateFromStream(const CreateOptions& options, ToolWriter& writer, CPatientInfo& patient,
                     FileRewrite& rewrite, const std::string& what, const std::string& source) {
  const char* out = rewrite.Target().c_str();
  const char* in = options.File.c_str();
  uint64_t size = 0;
  const plat::FileHandle handle = plat::OpenForRead(in);
  if (handle == plat::kClosedFile) return Failed(what);
  const bool sized = plat::FileSize(handle, &size);
  plat::CloseFile(handle);
  if (!sized) return Failed(what);
  const uint64_t records = size / RecordSize(options);
  // Only a window, or an acquisition longer than a record holds, needs the rate first.
  SECGInfo header;
  header.Clear();
  SampleRange range{0, records};
  double rate = 0;
  if (options.Window.Given || records > kMaxStoredSamples) {
    if (!ReadHeader(options, &header)) return Failed(what);
    rate = RateOf(header);
    if (!StoredRange(options, options.File, records, rate, &range)) return kExitFailed;
  }
  bool created = false;
  if (!options.Window.Given) {
    if (options.From == "raw12") {
      created = writer.CreateFromRaw12L(out, in, &patient, options.Resolution, options.Rate,
                                        options.Leads);
    } else if (options.From == "8bit") {
      created = writer.CreateFrom8bitFile(out, in, &patient, options.Unsigned, options.Resolution,
                                          options.Rate);
    } else {
      created = writer.CreateFrom16bitFile(out, in, &patient, options.Unsigned, options.Resolution,
                                           options.Rate);
    }
    if (!created || !rewrite.Commit()) return Failed(what);
    Describe(options.Output, source);
    return kExitOk;
  }
  const uint64_t recordSize = RecordSize(options);
  std::vector<uint8_t> bytes;
  if (!ReadBytes(options.File, range.First * recordSize, range.Count * recordSize, &bytes)) {
    return Failed(what);
  }
  WindowReaders readers;
  SECGInfo decoded;
  decoded.Clear();
  const SLeadObj* leads = readers.Read(options, bytes, &decoded);
  if (leads == nullptr) return Failed(what);
  header.SampleCount = decoded.SampleCount;
  if (!writer.CreateFromEvent(out, &patient, plat::LocalTimeNow(), header, leads) ||
      !rewrite.Commit()) {
    return Failed(what);
  }
  Describe(options.Output, source + WindowText(options, range, rate));
  return kExitOk;
}

// The events of a Bio file written beside OUT under the copy's name, put in place one
// by one; what is not put in place is removed.
bool PlaceEvents(const std::vector<std::string>& written, const std::vector<std::string>& names,
                 bool place) {
  for (size_t i = 0; i < written.size(); ++i) {
    if (written[i] == names[i]) continue;
    if (place && plat::RenameOver(written[i].c_str(), names[i].c_str())) continue;
    place = false;
    plat::KeepLastError keep;
    plat::RemoveFile(written[i].c_str());
  }
  return place;
}

// Bio: every event checked before anything is written, then the plain creation or each
// event cut to the window, named as the plain creation names them; the files are written
// under the copy's name and put in place once all are complete.
int CreateFromBio(const CreateOptions& options, ToolWriter& writer, CPatientInfo& patient,
                  FileRewrite& rewrite, const std::string& what, const std::string& source) {
  const char* out = rewrite.Target().c_str();
  const char* in = options.File.c_str();
  CBioReader bio;
  int16_t events = 0;
  if (!bio.ReadEvents(in, &events)) return Failed(what);
  const std::vector<std::string> names = ToolWriter::EventNames(options.Output, events);
  const std::vector<std::string> written = ToolWriter::EventNames(rewrite.Target(), events);
  // The single file of a one-event Bio file is the rewrite's own copy.
  auto place = [&](bool complete) {
    if (events == 1) return complete && rewrite.Commit();
    return PlaceEvents(written, names, complete);
  };
  std::vector<SampleRange> ranges;
  for (int16_t i = 0; i < events; ++i) {
    const SECGInfo& info = bio.Events[i].Info;
    const std::string event =
        events > 1 ? options.File + " event " + std::to_string(i + 1) : options.File;
    ranges.emplace_back();
    if (!StoredRange(options, event, info.SampleCount, RateOf(info), &ranges.back())) {
      return kExitFailed;
    }
  }
  auto describe = [&](size_t i) {
    const double rate = RateOf(bio.Events[i].Info);
    Describe(names[i], source + " (event " + std::to_string(i + 1) + " of " +
                           std::to_string(names.size()) + ")" +
                           WindowText(options, ranges[i], rate));
  };
  if (!options.Window.Given) {
    if (!place(writer.CreateFromBioFile(out, in, &patient))) return Failed(what);
    for (size_t i = 0; i < names.size(); ++i) describe(i);
    return kExitOk;
  }
  // All events share one received time, as the plain creation stamps them.
  const plat::SystemTime now = plat::LocalTimeNow();
  for (int16_t i = 0; i < events; ++i) {
    SECGInfo info;
    info.Clear();
    const SLeadObj* leads = bio.GetEvent(&info, i);
    SLeadObj window;
    if (leads == nullptr || !WindowLeads(*leads, ranges[i], &window)) {
      place(false);
      return Failed(what);
    }
    info.SampleCount = static_cast<uint16_t>(ranges[i].Count);
    if (!writer.CreateFromEvent(written[i].c_str(), &patient, now, info, &window)) {
      place(false);
      return Failed(names[i] + " from " + source);
    }
  }
  if (!place(true)) return Failed(what);
  for (size_t i = 0; i < names.size(); ++i) describe(i);
  return kExitOk;
}

int CreateFrom(const CreateOptions& options) {
  ToolWriter writer;
  CPatientInfo patient;
  const std::string source = options.From + " " + options.File;
  // Whether the acquisition or the new file failed, the message names both.
  const std::string what = options.Output + " from " + source;
  FileRewrite rewrite(options.Output, options.InPlace, FileRewrite::Kind::Create);
  if (!SelectToolWriter(writer) || !ApplyPatientOptions(options.Patient, &patient) ||
      !rewrite.Begin()) {
    return Failed(what);
  }
  if (options.From == "raw12" && options.Leads != 1 && options.Leads != 2 && options.Leads != 8) {
    // 6 and 12 name the device's configuration; it records only I and II, or I, II, V1-V6.
    std::cerr << "scpecg create: note: --leads " << options.Leads << " records "
              << (options.Leads == 6 ? "2 leads (I, II)" : "8 leads (I, II, V1-V6)")
              << "; scpecg derive adds III, aVR, aVL and aVF\n";
  }
  if (options.From == "bio") return CreateFromBio(options, writer, patient, rewrite, what, source);
  return CreateFromStream(options, writer, patient, rewrite, what, source);
}

int RunCreate(CreateOptions options) {
  if (options.Empty == !options.From.empty()) {
    std::cerr << "scpecg create: say what to create from (--empty or --from FORMAT INPUT)\n";
    return kExitUsage;
  }
  if (options.Empty) {
    if (options.File.empty() == options.Output.empty()) {
      std::cerr << "scpecg create --empty: name the file once, as OUT or -o OUT\n";
      return kExitUsage;
    }
    if (options.Output.empty()) options.Output = options.File;
    CWriter writer;
    FileRewrite rewrite(options.Output, options.InPlace, FileRewrite::Kind::Create);
    if (!rewrite.Begin() || !writer.CreateEmpty(rewrite.Target().c_str()) || !rewrite.Commit()) {
      return Failed(options.Output);
    }
    std::cout << options.Output << ": created\n";
    return kExitOk;
  }
  if (options.File.empty() || options.Output.empty()) {
    std::cerr << "scpecg create --from: give the acquisition INPUT and -o OUT\n";
    return kExitUsage;
  }
  if (options.From == "raw12" && (options.Rate <= 0 || options.Resolution <= 0)) {
    std::cerr << "scpecg create --from raw12: raw files carry neither sampling rate nor "
                 "resolution; give --rate and --resolution\n";
    return kExitUsage;
  }
  return CreateFrom(options);
}

}  // namespace

void AddCreateCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<CreateOptions>();
  CLI::App* command = app.add_subcommand(
      "create", "Create an SCP-ECG file: empty, or from a device acquisition and patient data");
  command->add_option("file", options->File,
                      "With --empty the file to create; with --from the acquisition to read");
  command->add_option("-o,--output", options->Output, "SCP-ECG file to create");
  CLI::Option* empty =
      command->add_flag("--empty", options->Empty, "An empty record: Section 0 alone (142 bytes)");
  CLI::Option* from =
      command
          ->add_option("--from", options->From,
                       "Acquisition format; a Bio file of several events gives one file each, "
                       "named OUT with .a, .b, ... before the extension")
          ->check(CLI::IsMember({"raw12", "8bit", "16bit", "bio"}));
  empty->excludes(from);
  AddInPlaceFlag(*command, options->InPlace);
  std::vector<CLI::Option*> acquisition = {
      command
          ->add_option("--leads", options->Leads,
                       "raw12 lead configuration: 1, 2 or 6 (I, II), 8 or 12 (I, II, V1-V6)")
          ->check(CLI::IsMember({1, 2, 6, 8, 12}))
          ->capture_default_str(),
      command->add_option("--rate", options->Rate,
                          "Sampling rate in Hz (raw12: required; 8bit/16bit: 0 or absent takes "
                          "the reader's default)"),
      command->add_option("--resolution", options->Resolution,
                          "Nanovolts per count (raw12: required; 8bit/16bit: 0 or absent takes "
                          "the reader's default)"),
      command->add_flag("--unsigned", options->Unsigned, "8bit/16bit samples are offset binary"),
      command
          ->add_option("--start", options->Window.Start,
                       "Store the acquisition from S seconds on (each event of a Bio file)")
          ->check(CLI::NonNegativeNumber),
      command
          ->add_option("--seconds", options->Window.Seconds,
                       "Store N seconds of it (default: to the end); a record holds at most "
                       "32767 samples per lead")
          ->check(CLI::PositiveNumber),
  };
  for (CLI::Option* option : AddPatientOptions(command, options->Patient)) {
    acquisition.push_back(option);
  }
  for (CLI::Option* option : acquisition) option->excludes(empty);
  command->callback([options, command, &status] {
    options->Window.Given = command->count("--start") + command->count("--seconds") > 0;
    status = RunCreate(*options);
  });
}

}  // namespace scpecg
