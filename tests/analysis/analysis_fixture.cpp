#include "analysis_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "modules/engine_results.h"
#include "platform/path.h"
#include "reader/reader.h"
#include "support/section1_bytes.h"
#include "support/waveform_builder.h"

namespace test {

namespace {

constexpr unsigned kSamples = 8;

bool Skipped(const RecordShape& shape, uint8_t tag) {
  return std::find(shape.SkipTags.begin(), shape.SkipTags.end(), tag) != shape.SkipTags.end();
}

Bytes DeviceData() {
  Bytes data(36, 0);
  PutU16(data, 4, 7);
  data[8] = 'M';
  return data;
}

Bytes Section1Body(const RecordShape& shape) {
  Bytes body = TextTag(0, "Doe");
  auto add = [&body](const Bytes& tag) { body.insert(body.end(), tag.begin(), tag.end()); };
  if (shape.Demographics) {
    add(Tag(5, {0xB2, 0x07, 5, 2}));  // 1970-05-02
    add(Tag(6, {0xB4, 0, 1}));        // 180 cm
    add(Tag(7, {75, 0, 1}));          // 75 kg
    add(Tag(8, {2}));
  }
  if (!Skipped(shape, 14)) add(Tag(14, DeviceData()));
  if (!Skipped(shape, 25)) add(Tag(25, {0xE8, 0x07, 3, 14}));
  if (!Skipped(shape, 26)) add(Tag(26, {9, 30, 15}));
  if (!shape.Text.empty()) {
    // Sized once: growing a one-byte vector trips a g++ -O3 array-bounds false positive.
    Bytes text(shape.Text.size() + 2, 0);
    text[0] = shape.Modified;
    std::copy(shape.Text.begin(), shape.Text.end(), text.begin() + 1);
    add(Tag(201, text));
  }
  if (shape.Confirmed != 0) add(Tag(204, {shape.Confirmed}));
  add(EndTag());
  return body;
}

}  // namespace

Bytes BuildRecord(const RecordShape& shape) {
  RecordBuilder builder;
  if (shape.WithSection1) builder.Section(1, Section1Body(shape));
  std::vector<LeadRange> ranges;
  std::vector<std::vector<int16_t>> rhythm;
  for (uint8_t code : shape.Leads) {
    ranges.push_back({1, kSamples, code});
    std::vector<int16_t> samples;
    for (unsigned s = 0; s < kSamples; ++s) samples.push_back(RhythmSample(code, s));
    rhythm.push_back(samples);
  }
  if (shape.Marker != 0) rhythm.front()[3] = shape.Marker;
  if (shape.SecondMarker != 0) rhythm.back()[5] = shape.SecondMarker;
  const auto simultaneous = static_cast<uint8_t>(0x04 | (shape.Leads.size() << 3));
  builder.Section(3, Section3Body(simultaneous, ranges));
  if (shape.WithRhythm) builder.Section(6, SampleDataBody(5000, 2000, rhythm));
  for (const auto& [id, body] : shape.Extra) builder.Section(id, body);
  return builder.Build();
}

AnalysisTest::AnalysisTest() {
#ifndef _WIN32
  // The documents folder is the home folder when no XDG configuration names another.
  const std::string home = folder.File("home");
  std::filesystem::create_directory(home);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", folder.File("no-config").c_str(), 1);
#endif
  plat::DocumentsFolder(&documents);
  std::filesystem::remove(std::filesystem::path(documents) / test_engine::kSidecar);
  std::filesystem::remove(std::filesystem::path(documents) / test_engine::kSeen);
  leftBefore = WorkingCopies();
}

AnalysisTest::~AnalysisTest() {
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(documents) / test_engine::kSidecar, ignored);
  std::filesystem::remove(std::filesystem::path(documents) / test_engine::kSeen, ignored);
}

void AnalysisTest::Steer(const std::string& mode, const std::string& codes) {
  std::ofstream out(std::filesystem::path(documents) / test_engine::kSidecar, std::ios::trunc);
  out << mode << "\n" << codes << "\n";
}

std::set<std::string> AnalysisTest::WorkingCopies() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(documents)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("~KT", 0) == 0) names.insert(name);
  }
  return names;
}

std::string AnalysisTest::EngineSaw() const {
  std::ifstream in(std::filesystem::path(documents) / test_engine::kSeen);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string InterpretationText(const std::string& path, uint8_t* confirmed, uint8_t* modified) {
  CGeneralInfo general;
  if (!CReader::ReadGeneral(path.c_str(), &general)) return "<unreadable>";
  if (confirmed != nullptr) *confirmed = general.InterpretationConfirmed;
  if (modified != nullptr) *modified = general.InterpretationModified;
  std::string text;
  if (general.InterpretationText != nullptr) {
    plat::WideToUtf8(general.InterpretationText, -1, &text);
  }
  return text;
}

}  // namespace test
