// An analysis engine for the tests: it analyses nothing. It rebuilds the working copy
// by hand with known results (engine_results.h) in place of any earlier ones, or
// answers the code its sidecar file asks for.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine_results.h"
#include "record/engine_abi.h"
#include "support/temp_folder.h"
#include "writer/record_sections.h"

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

// False when the copy has no lead table.
bool Analyse(const std::string& path, const Steering& steering, int32_t mode) {
  const auto sections = test::Sections(test::ReadWholeFile(path));
  const auto leadTable = sections.find(3);
  if (leadTable == sections.end() || leadTable->second.size() < 18) return false;
  // Section 3: lead count, flags, then start, end and lead code of each lead.
  const test::Bytes& s3 = leadTable->second;
  std::vector<uint8_t> leads;
  for (size_t at = 16 + 2 + 8; at < s3.size() && leads.size() < s3[16]; at += 9) {
    leads.push_back(s3[at]);
  }
  std::ofstream seen(FolderOf(path) + test_engine::kSeen, std::ios::trunc);
  seen << "mode " << mode << " leads ";
  for (size_t i = 0; i < leads.size(); ++i) seen << (i ? "," : "") << unsigned{leads[i]};
  seen << "\n";

  std::vector<uint16_t> codes;  // measured: the leads in reverse, then the limb leads
  for (uint8_t code : leads) {
    if (!(code == 1 && steering.Mode == "no-lead-I-measure")) codes.insert(codes.begin(), code);
  }
  for (uint8_t limb = 61; limb <= 64; ++limb) {
    if (std::find(leads.begin(), leads.end(), limb) == leads.end()) codes.push_back(limb);
  }
  std::map<uint16_t, test::Bytes> bodies;
  for (const auto& [id, bytes] : sections) {
    if (id != 0) bodies[id] = test::Bytes(bytes.begin() + 16, bytes.end());
  }
  bodies[4] = test_engine::Section4Body();
  bodies[5] = test_engine::MedianBody(leads);
  bodies[7] = test_engine::Section7Body();
  bodies[9] = test::Section9Body(steering.Codes);
  bodies[10] = test_engine::MeasurementsBody(codes, steering.Mode == "long" ? 66 : 62);
  test::RecordBuilder builder;
  for (const auto& [id, body] : bodies) builder.Section(id, body);
  const test::Bytes record = builder.Build();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(record.data()),
            static_cast<std::streamsize>(record.size()));
  return out.good();
}

}  // namespace

extern "C" KTX_TEST_EXPORT uint16_t KTX_ENGINE_CALL ScpAnalysis32(const char* fileName,
                                                                  int32_t mode) {
  const Steering steering = ReadSteering(FolderOf(fileName));
  if (steering.Mode == "damage") {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out << "not a record";
    return 0;
  }
  if (steering.Mode.find_first_not_of("0123456789") == std::string::npos) {
    return static_cast<uint16_t>(std::atoi(steering.Mode.c_str()));
  }
  return Analyse(fileName, steering, mode) ? 0 : 3;
}
