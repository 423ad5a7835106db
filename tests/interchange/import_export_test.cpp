// Signals through the writer's creation path into records, and records out again as
// WFDB and EDF+: read back by the project's own importers, by EDFlib and by BioSig.
#include <edflib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "interchange/edf_export.h"
#include "interchange/edf_import.h"
#include "interchange/import_writer.h"
#include "interchange/wfdb_annotations.h"
#include "interchange/wfdb_export.h"
#include "interchange/wfdb_import.h"
#include "platform/text.h"
#include "support/last_error.h"
#include "support/section1_bytes.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;

std::string Utf8(const plat::OleChar* text) {
  std::string out;
  if (text != nullptr) plat::WideToUtf8(text, -1, &out);
  return out;
}

SSignal Signal(const char* name, uint8_t code, std::vector<double> microvolts) {
  SSignal signal;
  signal.Name = name;
  signal.LeadCode = code;
  signal.StepNv = 1000;
  signal.Microvolts = std::move(microvolts);
  return signal;
}

// Near-marker values in II (2032-2034 uV at 1 uV a unit), an invalid sample in V1.
TEST(ImportWriter, LeadsScalingAndHeaderOfTheRecord) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  SSignalSet set;
  set.Rate = 500;
  set.Signals = {Signal("II", 2, {0, 2032.2, 2033.0, 2032.9, 2034.4, -2033}),
                 Signal("V1", 3, {1.4, -1.6, 100, nan, 0, 32767}),
                 Signal("Resp", 0, {5, 5, 5, 5, 5, 5})};
  SSourceInfo& source = set.Source;
  source.Age = 61;
  source.Gender = 1;
  source.Comments = {"Dx: 426783006"};
  source.Device = "WFDB db/r";
  source.RecordName = "r";
  source.Acquired = SDateTime{2020, 2, 3, 4, 5, 6};
  test::TempFolder folder;
  const std::string path = folder.File("r.scp");
  CImportWriter writer;
  SScaling scaling;
  std::string why;
  ASSERT_TRUE(writer.CreateFromSignals(path.c_str(), set, nullptr, 0, &scaling, &why)) << why;
  EXPECT_EQ(scaling.AVM, 1000);
  EXPECT_EQ(scaling.MovedSamples, 4u);
  EXPECT_EQ(scaling.InvalidSamples, 1u);

  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path.c_str(), &loaded, kAllSections));
  ASSERT_EQ(reader.LeadDefinitions.Count, 3);
  EXPECT_EQ(reader.LeadDefinitions.Flags, 0x04 | 3 << 3);  // all simultaneous, three of them
  const int codes[] = {2, 3, 0};
  const std::vector<int16_t> samples[] = {
      {0, 2031, 2035, 2031, 2035, -2033}, {1, -2, 100, 2032, 0, 32767}, {5, 5, 5, 5, 5, 5}};
  for (uint8_t i = 0; i < 3; ++i) {
    EXPECT_EQ(reader.LeadDefinitions.Leads[i].LeadId, codes[i]);
    EXPECT_EQ(test::SamplesOf(reader.Rhythm, i), samples[i]);
    // Only the invalid sample marks its lead.
    const uint16_t bits = reader.LeadErrors.Errors[i].ErrorBits;  // a packed field
    EXPECT_EQ(bits, i == 1 ? 1 : 0);
  }
  EXPECT_EQ((std::vector<int>{reader.Rhythm.AVM, reader.Rhythm.SampleInterval,
                              reader.Recording.AcquisitionYear, reader.Recording.AcquisitionSecond,
                              reader.Patient.Gender}),
            (std::vector<int>{1000, 2000, 2020, 6, 1}));
  EXPECT_EQ(Utf8(reader.General.CommentText) + "|" + Utf8(reader.General.RecordingId) + "|" +
                Utf8(reader.Recording.SerialNumber),
            "Dx: 426783006\r\nLead 3: Resp (unspecified)|r|WFDB db/r");
  ASSERT_EQ(reader.UnknownTags.Length[4], 3);  // age 61 years
  EXPECT_EQ(Bytes(reader.UnknownTags.Data[4], reader.UnknownTags.Data[4] + 3), (Bytes{61, 0, 1}));
}

TEST(ImportWriter, WhatARecordCannotHold) {
  test::TempFolder folder;
  const std::string path = folder.File("x.scp");
  const struct {
    const char* Name;
    size_t Samples;
    double Rate;
    double Largest;
    uint16_t Avm;
    uint32_t Code;
    const char* Why;
  } cases[] = {
      {"cap", 32768, 500, 1, 0, 13, "32768 samples per lead: a record holds at most 32767"},
      {"slow", 10, 10, 1, 0, 87, "a rate of 10 Hz: a record states rates from 15.26 Hz to 1 MHz"},
      {"avm", 10, 500, 32767, 999, 87,
       "--avm 999 leaves samples beyond 16 bits: the largest, 32.767 mV, needs at least 1000 nV"},
      {"beyond", 10, 500, 3e6, 0, 87,
       "the largest sample, 3000 mV, is beyond 16 bits at any AVM (at most 65535 nV)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SSignalSet set;
    set.Rate = c.Rate;
    set.Signals = {Signal("I", 1, std::vector<double>(c.Samples, c.Largest))};
    CImportWriter writer;
    SScaling scaling;
    std::string why;
    EXPECT_TRUE(test::FailedWith(
        writer.CreateFromSignals(path.c_str(), set, nullptr, c.Avm, &scaling, &why), c.Code));
    EXPECT_EQ(why, c.Why);
  }
  // 32767 samples fit.
  std::string why;
  SScaling scaling;
  EXPECT_TRUE(CreateFromMicrovolts(path.c_str(), {std::vector<double>(32767, 1.0)}, 500, {1},
                                   nullptr, 0, &scaling, &why))
      << why;
}

TEST(MarkerSafeScaling, AvmFromResolutionAndRange) {
  const struct {
    double Largest;
    double StepNv;
    uint16_t Requested;
    uint16_t Avm;
  } cases[] = {
      {5115, 5000, 0, 5000},         // MIT-BIH: 200 units per mV
      {0, 0, 0, 1000},               // no resolution known: one microvolt
      {40000, 1000, 0, 1221},        // 40 mV needs 40000000 / 32767 nV, rounded up
      {100, 825.77, 0, 825},         // a resolution below the source's
      {100, 4999.9999999, 0, 5000},  // a gain's resolution a hair below its integer
      {32767, 1000, 2000, 2000},     // the AVM asked for
  };
  for (const auto& c : cases) {
    uint16_t avm = 0;
    std::string why;
    EXPECT_TRUE(ChooseAvm(c.Largest, c.StepNv, c.Requested, &avm, &why)) << why;
    EXPECT_EQ(avm, c.Avm) << c.Largest << " " << c.StepNv;
  }
}

#ifndef _WIN32
bool Shell(const std::string& command) {
  return std::system(command.c_str()) == 0;
}
std::string ReadText(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}
#endif

// A record with three beats (Section 4: dominant, type 1, dominant), an interpretation
// and a lead error marker, exported both ways and read back.
TEST(Export, WfdbAndEdfReadBack) {
  const uint16_t avm = 2500;
  std::vector<std::vector<int16_t>> stored(2, std::vector<int16_t>(1000));
  for (size_t i = 0; i < 1000; ++i) {
    stored[0][i] = static_cast<int16_t>(std::lround(600 * std::sin(static_cast<double>(i) * 0.05)));
    stored[1][i] = static_cast<int16_t>(-3 * static_cast<int>(i) + 1500);
  }
  stored[1][7] = 2033;                                    // lead off
  Bytes section4 = {0xE8, 0x03, 0x65, 0x00, 0x03, 0x00};  // 1000 ms, fiducial 101, 3 beats
  for (const uint32_t type_fiducial : {0u << 16 | 101u, 1u << 16 | 301u, 0u << 16 | 501u}) {
    test::AppendU16(section4, static_cast<uint16_t>(type_fiducial >> 16));
    test::AppendU32(section4, (type_fiducial & 0xFFFF) - 20);
    test::AppendU32(section4, type_fiducial & 0xFFFF);
    test::AppendU32(section4, (type_fiducial & 0xFFFF) + 20);
  }
  const std::string text = std::string(1, '\0') + "Sinus rhythm\r\nNormal ECG" + '\0';
  const Bytes record =
      test::RecordBuilder()
          .Section(1, test::Body({test::TextTag(0, "Doe"), test::Tag(8, {2}),
                                  test::Tag(201, Bytes(text.begin(), text.end())), test::EndTag()}))
          .Section(3, test::Section3Body(0x04, {{1, 1000, 2}, {1, 1000, 3}}))
          .Section(4, section4)
          .Section(6, test::SampleDataBody(avm, 2000, stored))
          .Build();
  test::TempFolder folder;
  const std::string scp = folder.Write("a.scp", record);
  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(scp.c_str(), &loaded, kAllSections));
  std::vector<SQrsBeat> beats;
  ASSERT_TRUE(ReadQrsBeats(scp.c_str(), &beats));
  ASSERT_EQ(beats.size(), 3u);
  EXPECT_EQ(beats[1].Sample, 300u);
  EXPECT_EQ(beats[1].Type, 1);
  SExportRecord out;
  std::string why;
  ASSERT_TRUE(GatherExportRecord(reader, reader.Rhythm, beats, &out, &why)) << why;
  EXPECT_EQ(out.Interpretation, (std::vector<std::string>{"Sinus rhythm", "Normal ECG"}));

  const std::string base = folder.File("a");
  std::vector<std::string> files;
  ASSERT_TRUE(ExportWfdb(base, out, &files, &why)) << why;
  EXPECT_EQ(files.size(), 3u);
  ASSERT_TRUE(ExportEdf(base + ".edf", out, &why)) << why;

  SSignalSet wfdb;
  SSignalSet edf;
  ASSERT_TRUE(ImportWfdb(base, {}, &wfdb, &why)) << why;
  ASSERT_TRUE(ImportEdf(base + ".edf", {}, &edf, &why)) << why;
  for (const SSignalSet* set : {&wfdb, &edf}) {
    EXPECT_EQ(set->Rate, 500);
    ASSERT_EQ(set->Signals.size(), 2u);
    EXPECT_EQ((std::vector<int>{set->Signals[0].LeadCode, set->Signals[1].LeadCode}),
              (std::vector<int>{2, 3}));
    for (size_t lead = 0; lead < 2; ++lead) {
      for (size_t i = 0; i < 1000; ++i) {
        const double got = set->Signals[lead].Microvolts[i];
        if (lead == 1 && i == 7) {
          // WFDB's invalid sample; EDF's digital minimum.
          EXPECT_TRUE(set == &wfdb ? std::isnan(got) : got == -32768 * 2.5);
          continue;
        }
        ASSERT_NEAR(got, stored[lead][i] * 2.5, 1e-3) << lead << " " << i;
      }
    }
  }
  const Bytes atr = test::ReadWholeFile(base + ".atr");
  std::vector<SWfdbAnnotation> annotations;
  ASSERT_TRUE(ParseWfdbAnnotations(atr.data(), atr.size(), &annotations, &why));
  ASSERT_EQ(annotations.size(), 3u);
  EXPECT_EQ(annotations[1].Code, kWfdbUnclassifiedBeat);
  EXPECT_EQ(annotations[1].Number, 1);
  EXPECT_EQ(annotations[2].Sample, 500);

  // EDF+ annotations, through EDFlib: the interpretation at 0 s, the beats at theirs.
  edf_hdr_struct header;
  ASSERT_EQ(edfopen_file_readonly((base + ".edf").c_str(), &header, EDFLIB_READ_ANNOTATIONS), 0);
  std::vector<std::string> texts;
  std::vector<long long> onsets;
  for (long long n = 0; n < header.annotations_in_file; ++n) {
    edf_annotation_struct annotation;
    ASSERT_EQ(edf_get_annotation(header.handle, static_cast<int>(n), &annotation), 0);
    texts.emplace_back(annotation.annotation);
    onsets.push_back(annotation.onset / (EDFLIB_TIME_DIMENSION / 1000));  // ms
  }
  edfclose_file(header.handle);
  EXPECT_EQ(texts,
            (std::vector<std::string>{"Sinus rhythm", "Normal ECG", "N", "Q (type 1)", "N"}));
  EXPECT_EQ(onsets, (std::vector<long long>{0, 0, 200, 600, 1000}));

#ifndef _WIN32
  if (!Shell("command -v save2gdf > /dev/null 2>&1")) {
    GTEST_SKIP() << "save2gdf not found: install biosig-tools (scripts/install-deps.sh)";
  }
  // BioSig: the WFDB header and beats (its format 16 sample reader garbles or crashes on
  // every record, PhysioNet's own included), the EDF+ header, events and samples.
  ASSERT_TRUE(Shell("save2gdf -JSON '" + base + ".hea' > '" + base + ".json' 2>/dev/null"));
  const std::string json = ReadText(base + ".json");
  EXPECT_TRUE(std::regex_search(json, std::regex("\"NumberOfChannels\"\\s*:\\s*2,")));
  EXPECT_TRUE(std::regex_search(json, std::regex("\"Samplingrate\"\\s*:\\s*500\\.0+,")));
  EXPECT_TRUE(std::regex_search(json, std::regex("\"Label\"\\s*:\\s*\"V1\"")));
  // BioSig places MIT annotations one sample early, PhysioNet's own alike (record 100's
  // first beat, sample 77, at 76/360 s): beats at samples 100 and 300 show at 0.198, 0.598 s.
  EXPECT_TRUE(std::regex_search(json, std::regex("\"0x0001\",\\s*\"POS\"\\s*:\\s*0\\.198")));
  EXPECT_TRUE(std::regex_search(json, std::regex("\"0x000d\",\\s*\"POS\"\\s*:\\s*0\\.598")));
  ASSERT_TRUE(Shell("save2gdf -CSV '" + base + ".edf' '" + base + ".csv' > /dev/null 2>&1"));
  std::ifstream rows(base + ".csv");
  std::string line;
  ASSERT_TRUE(std::getline(rows, line));
  EXPECT_EQ(line, "\"II [uV]\",\"V1 [uV]\"");
  size_t row = 0;
  for (; std::getline(rows, line) && !line.empty(); ++row) {
    std::stringstream fields(line);
    std::string field;
    for (size_t lead = 0; std::getline(fields, field, ','); ++lead) {
      if (lead == 1 && row == 7) continue;  // the marker: out of range for BioSig
      ASSERT_NEAR(std::stod(field), stored[lead][row] * 2.5, 0.01) << lead << " " << row;
    }
  }
  EXPECT_EQ(row, 1000u);
#endif
}

}  // namespace
