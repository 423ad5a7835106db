// An analysis engine for the tests: it analyses nothing, it writes known results
// (engine_results.h) into the working copy through the library's own writer, or
// answers the code its sidecar file asks for.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "analysis/engine_entry.h"
#include "engine_results.h"
#include "reader/section_parsers.h"
#include "support/waveform_builder.h"
#include "writer/writer.h"

#ifdef _WIN32
#define KTX_TEST_EXPORT __declspec(dllexport)
#else
#define KTX_TEST_EXPORT __attribute__((visibility("default")))
#endif

namespace {

struct Steering {
  std::string Mode = "ok";
  std::string Codes = test_engine::kDefaultCodes;
};

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

Steering ReadSteering(const std::string& folder) {
  Steering steering;
  std::ifstream in(folder + test_engine::kSidecar);
  std::string line;
  if (std::getline(in, line) && !line.empty()) steering.Mode = line;
  if (std::getline(in, line) && line.size() >= 30) steering.Codes = line.substr(0, 30);
  return steering;
}

class EngineWriter : public CWriter {
 public:
  bool Run(const char* path, const Steering& steering, int32_t mode) {
    const bool done = Analyse(path, steering, mode);
    Close();
    return done;
  }

 private:
  bool Analyse(const char* path, const Steering& steering, int32_t mode) {
    if (!OpenRd(path, false) || !MoveTo(File, kRecordHeaderSize) ||
        !ReadSectionIndex(File, &Index)) {
      return false;
    }
    Loaded |= kSection0;
    uint8_t header[kSectionHeaderSize];
    if (!FindSection(File, &Index, 3, header) || !ParseSection3(File, header, &LeadDefinitions)) {
      return false;
    }
    Report(path, mode);
    if (Index.Count + 6 > SScpRecord::kFixedEntries &&
        !Store.Allocate(static_cast<uint16_t>(Index.Count + 6 - SScpRecord::kFixedEntries))) {
      return false;
    }
    for (uint32_t i = 1; i < Index.Count; ++i) {
      const uint16_t id = Index.Entry(i)->Id;
      const bool result = id == 4 || id == 5 || id == 7 || id == 9 || id == 10;
      if (id != 0 && !result && !StoreSection(id)) return false;
    }
    std::vector<uint8_t> leads;
    std::vector<uint16_t> codes;  // measured: the leads in reverse, then the limb leads
    for (unsigned lead = 0; lead < LeadDefinitions.Count; ++lead) {
      const uint8_t code = LeadDefinitions.Leads[lead].LeadId;
      leads.push_back(code);
      if (!(code == 1 && steering.Mode == "no-lead-I-measure")) codes.insert(codes.begin(), code);
    }
    for (uint16_t limb = 61; limb <= 64; ++limb) {
      if (LeadDefinitions.GetIdIndexFromId(static_cast<int16_t>(limb)) ==
          SLeadDefinitions::kNoLead) {
        codes.push_back(limb);
      }
    }
    const uint16_t size = steering.Mode == "long" ? 66 : 62;
    return Put(4, test_engine::Section4Body()) && Put(5, test_engine::MedianBody(leads)) &&
           Put(7, test_engine::Section7Body()) && Put(9, test::Section9Body(steering.Codes)) &&
           Put(10, test_engine::MeasurementsBody(codes, size)) && WriteSections(path);
  }

  bool Put(uint16_t id, const test::Bytes& body) {
    uint16_t entry = 0;
    uint8_t* section = nullptr;
    if (!NextEntry(&entry) ||
        !PlaceSection(entry, id, static_cast<uint32_t>(kSectionHeaderSize + body.size()),
                      &section)) {
      return false;
    }
    std::memcpy(section + kSectionHeaderSize, body.data(), body.size());
    return FinishEntry(entry);
  }

  void Report(const char* path, int32_t mode) {
    std::ofstream out(FolderOf(path) + test_engine::kSeen, std::ios::trunc);
    out << "mode " << mode << " leads ";
    for (unsigned lead = 0; lead < LeadDefinitions.Count; ++lead) {
      out << (lead ? "," : "") << unsigned{LeadDefinitions.Leads[lead].LeadId};
    }
    out << "\n";
  }
};

}  // namespace

extern "C" KTX_TEST_EXPORT uint16_t KTX_STDCALL ScpAnalysis32(const char* fileName, int32_t mode) {
  const Steering steering = ReadSteering(FolderOf(fileName));
  if (steering.Mode == "damage") {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out << "not a record";
    return 0;
  }
  if (steering.Mode.find_first_not_of("0123456789") == std::string::npos) {
    return static_cast<uint16_t>(std::atoi(steering.Mode.c_str()));
  }
  EngineWriter writer;
  return writer.Run(fileName, steering, mode) ? 0 : 3;
}
