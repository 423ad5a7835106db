// Creating SCP-ECG files from acquisitions: the files read back, section by section
// and through the reader, as the acquisition and the patient data said.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "acquisition/encoders.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "platform/time.h"
#include "record_sections.h"
#include "support/last_error.h"
#include "support/temp_folder.h"
#include "test_writer.h"
#include "written_tags.h"

namespace {

using test::Bytes;
using test::Utf8;
using Leads = std::vector<std::vector<int>>;

// A moment as one number that orders like the moment itself.
template <typename Time>
int64_t Stamp(const Time& t) {
  return ((((int64_t{t.Year} * 13 + t.Month) * 32 + t.Day) * 24 + t.Hour) * 60 + t.Minute) * 60 +
         t.Second;
}

// A created file holds exactly Sections 0, 1, 3 and 6 one after another, every CRC right,
// and the lead codes and samples given; it is loaded whole into `reader`.
void ExpectCreatedFile(const std::string& path, CReader& reader, const std::vector<int>& codes,
                       const Leads& samples) {
  SCOPED_TRACE(path);
  const Bytes record = test::ReadWholeFile(path);
  std::vector<uint16_t> ids;
  uint32_t at = 7;
  for (const test::PointerEntry& entry : test::PointerTable(record)) {
    if (entry.Length == 0) continue;
    ids.push_back(entry.Id);
    EXPECT_EQ(entry.Index, at) << entry.Id;
    at += entry.Length;
  }
  EXPECT_EQ(ids, (std::vector<uint16_t>{0, 1, 3, 6}));
  EXPECT_EQ(at - 1, record.size());
  bool valid = false;
  EXPECT_TRUE(CReader::CheckCrc(path.c_str(), &valid) && valid);
  uint16_t loaded = 0;
  EXPECT_TRUE(reader.Load(path.c_str(), &loaded, kAllSections));
  EXPECT_EQ(loaded & 0x004A, 0x004A);
  ASSERT_EQ(size_t{reader.LeadDefinitions.Count}, codes.size());
  ASSERT_EQ(size_t{reader.Rhythm.LeadCount}, codes.size());
  for (uint8_t i = 0; i < static_cast<uint8_t>(codes.size()); ++i) {
    const SLeadDef& lead = reader.LeadDefinitions.Leads[i];
    const int16_t* stored = reader.Rhythm.LeadSamples[i];
    const int count = reader.Rhythm.SampleCounts[i];
    EXPECT_EQ((std::vector<int>{lead.LeadId, static_cast<int>(lead.StartSample),
                                static_cast<int>(lead.EndSample)}),
              (std::vector<int>{codes[i], 1, static_cast<int>(samples[i].size())}));
    EXPECT_EQ(std::vector<int>(stored, stored + count), samples[i]) << "lead " << +i;
  }
}

CPatientInfo SomePatient() {
  CPatientInfo patient;
  patient.LastName = test::NewText("Doe");
  patient.FirstName = test::NewText("Jane");
  patient.PatientId = test::NewText("P-0042");
  patient.YearOfBirth = 1970, patient.MonthOfBirth = 5, patient.DayOfBirth = 2;
  patient.Gender = 2, patient.Height = 1655, patient.Weight = 62500;
  return patient;
}

std::string PatientText(const CPatientInfo& p) {
  return Utf8(p.LastName) + "|" + Utf8(p.FirstName) + "|" + Utf8(p.PatientId) + "|" +
         std::to_string(p.YearOfBirth) + "-" + std::to_string(p.MonthOfBirth) + "-" +
         std::to_string(p.DayOfBirth) + "|" + std::to_string(p.Gender) + "|" +
         std::to_string(p.Height) + "|" + std::to_string(p.Weight);
}

enum class Source { k8bitFile, k8bitMem, k16bitFile, k16bitMem, kRaw12File, kRaw12Mem };

struct SourceCase {
  Source From;
  bool Unsigned;
  double Resolution, Rate;
  Bytes Input;
  Leads Samples;
  std::vector<int> Codes;
  uint16_t Avm, Interval;
  // Section 3: only the raw 12-lead reader says its leads are simultaneous (0x04 and the
  // lead count in bits 3-7).
  uint8_t Flags;
};

bool Create(CWriter& w, const SourceCase& c, const char* scp, const std::string& file) {
  const uint8_t* data = c.Input.data();
  const auto size = static_cast<uint32_t>(c.Input.size());
  const auto leads = static_cast<int16_t>(c.Codes.size());
  switch (c.From) {
    case Source::k8bitFile:
      return w.CreateFrom8bitFile(scp, file.c_str(), nullptr, c.Unsigned, c.Resolution, c.Rate);
    case Source::k8bitMem:
      return w.CreateFrom8bitMem(scp, data, size, nullptr, c.Unsigned, c.Resolution, c.Rate);
    case Source::k16bitFile:
      return w.CreateFrom16bitFile(scp, file.c_str(), nullptr, c.Unsigned, c.Resolution, c.Rate);
    case Source::k16bitMem:
      return w.CreateFrom16bitMem(scp, data, size, nullptr, c.Unsigned, c.Resolution, c.Rate);
    case Source::kRaw12File:
      return w.CreateFromRaw12L(scp, file.c_str(), nullptr, c.Resolution, c.Rate, leads);
    case Source::kRaw12Mem:
      break;
  }
  return w.CreateFromRaw12LMem(scp, data, size, nullptr, c.Resolution, c.Rate, leads);
}

TEST(Creation, EverySourceReadsBackAsTheAcquisitionSaid) {
  using acqtest::OneLeadRecord;
  using acqtest::PairRecord;
  const Bytes bytes8 = {0x80, 0xFF, 0x00, 0x90};
  const Bytes words = acqtest::Stream16({-300, 0, 1200, 32767});
  const Bytes unsigned16 = acqtest::Stream16({0x0000, 0x8005, 0xFFFF});
  // One lead with the marker 2033 (status 1); two leads I and II; three eight-lead
  // records in which every sample differs from every other.
  const Bytes oneLead =
      acqtest::Concat({OneLeadRecord(1500), OneLeadRecord(1024, 1), OneLeadRecord(2000)});
  const Bytes twoLeads = acqtest::Concat({PairRecord({100, -200}), PairRecord({300, 400})});
  const Leads pairs = {{100, 300}, {-200, 400}};
  Leads eight(8);
  Bytes raw;
  for (int r = 0; r < 3; ++r) {
    std::vector<int> record;
    for (size_t l = 0; l < 8; ++l) {
      record.push_back(static_cast<int>(l + 1) * 100 * (r == 1 ? -1 : 1) + r);
      eight[l].push_back(record.back());
    }
    raw = acqtest::Concat({raw, PairRecord(record)});
  }
  const std::vector<int> codes8 = {1, 2, 3, 4, 5, 6, 7, 8};
  // Resolutions and sampling rates far apart, so that a swap shows.
  const SourceCase cases[] = {
      {Source::k8bitFile, true, 2500, 250, bytes8, {{0, 127, -128, 16}}, {0}, 2500, 4000, 0},
      {Source::k8bitMem, false, 0, 0, bytes8, {{128, 255, 0, 144}}, {0}, 20000, 3333, 0},
      {Source::k16bitFile, false, 1000, 1000, words, {{-300, 0, 1200, 32767}}, {0}, 1000, 1000, 0},
      {Source::k16bitMem, true, 2000, 200, unsigned16, {{-32768, 5, 32767}}, {0}, 2000, 5000, 0},
      {Source::kRaw12Mem, false, 5000, 500, oneLead, {{1500, 2033, 2000}}, {0}, 5000, 2000, 0x0C},
      {Source::kRaw12Mem, false, 2500, 250, twoLeads, pairs, {1, 2}, 2500, 4000, 0x14},
      {Source::kRaw12File, false, 5000, 500, raw, eight, codes8, 5000, 2000, 0x04 | 8 << 3}};
  test::TempFolder folder;
  for (const SourceCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.From));
    const std::string scp = folder.File("out.scp");
    TestWriter writer;
    ASSERT_TRUE(Create(writer, c, scp.c_str(), folder.Write("input.bin", c.Input)));
    EXPECT_EQ(writer.File, plat::kClosedFile);
    EXPECT_EQ(writer.Store.Used, 1);
    CReader reader;
    ExpectCreatedFile(scp, reader, c.Codes, c.Samples);
    // Marker 2033 is lead error bit 1 of its lead.
    ASSERT_GE(reader.LeadErrors.Count, 1);
    EXPECT_EQ(
        (std::vector<int>{reader.Rhythm.AVM, reader.Rhythm.SampleInterval,
                          reader.LeadDefinitions.Flags, reader.LeadErrors.Errors[0].ErrorBits}),
        (std::vector<int>{c.Avm, c.Interval, c.Flags, c.Samples[0][1] == 2033 ? 2 : 0}));
  }
}

TEST(Creation, FileHoldsPatientReceivedTimeAndWriter) {
  test::TempFolder folder;
  const std::string raw = folder.Write("ecg.raw", acqtest::PairRecord({1, 2}));
  const std::string scp = folder.File("ecg.scp");
  const CPatientInfo patient = SomePatient();
  TestWriter writer;
  writer.SelectWriter(test::Wide("TestApp").c_str(), test::Wide("9.8").c_str());
  const int64_t before = Stamp(plat::LocalTimeNow());
  ASSERT_TRUE(writer.CreateFromRaw12L(scp.c_str(), raw.c_str(), &patient, 5000.0, 500.0, 2));
  const int64_t after = Stamp(plat::LocalTimeNow());
  EXPECT_FALSE(writer.UpdateMode);
  CReader reader;
  ExpectCreatedFile(scp, reader, {1, 2}, {{1}, {2}});
  EXPECT_EQ(PatientText(reader.Patient) + "|" + Utf8(reader.Recording.DeviceType) + "|" +
                Utf8(reader.Recording.ProgramRevision),
            "Doe|Jane|P-0042|1970-5-2|2|1655|62500|KTS  |");
  const int64_t received = Stamp(reader.General.Received);
  EXPECT_TRUE(before <= received && received <= after);

  // The tags themselves: the writer in 210/211 only, the received time in 203.
  const test::TagList list = test::Tags(test::Sections(test::ReadWholeFile(scp))[1]);
  std::map<uint8_t, Bytes> tags(list.begin(), list.end());
  EXPECT_EQ(tags[210], test::Text("TestApp"));
  EXPECT_EQ(tags[211], test::Text("9.8"));
  EXPECT_EQ(tags.count(208) + tags.count(209) + tags.count(27) + tags.count(28), 0u);
  const SDateTime& r = reader.General.Received;
  Bytes stamp;
  for (uint16_t field : {r.Year, r.Month, r.Day, r.Hour, r.Minute, r.Second}) {
    test::AppendU16(stamp, field);
  }
  EXPECT_EQ(tags[203], stamp);

  // The same writer creates the next file as if new.
  const std::string again = folder.File("again.scp");
  ASSERT_TRUE(writer.CreateFromRaw12L(again.c_str(), raw.c_str(), nullptr, 5000, 500, 2));
  CReader next;
  ExpectCreatedFile(again, next, {1, 2}, {{1}, {2}});
  EXPECT_EQ(Utf8(next.Patient.LastName), "");
}

// A Bio file of `events` one-lead events (type 30 header, then per event an event
// block and, unless `missing` names it, a block of one-lead records).
Bytes BioFile(int events, int missing = -1) {
  acqtest::BioHeader header;
  header.EventCount = static_cast<uint8_t>(events);
  header.Resolution = 5000;
  acqtest::BioFile bio;
  bio.Block(30, acqtest::Bio30(header));
  for (int e = 0; e < events; ++e) {
    bio.Block(31, acqtest::BioEvent(3, 14, 3, 24, 9, 30 + e));
    if (e == missing) continue;
    bio.Block(21, acqtest::Concat({acqtest::OneLeadRecord(1100 + e), acqtest::OneLeadRecord(1200),
                                   acqtest::OneLeadRecord(1300)}));
  }
  return bio.Build();
}

std::set<std::string> FileNames(const test::TempFolder& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(Creation, BioFileGivesOneFilePerEventAllReceivedAtOnce) {
  CWriter writer;
  {
    test::TempFolder folder;
    const std::string bio = folder.Write("one.bio", BioFile(1));
    ASSERT_TRUE(writer.CreateFromBioFile(folder.File("rec.scp").c_str(), bio.c_str(), nullptr));
    EXPECT_EQ(FileNames(folder), (std::set<std::string>{"one.bio", "rec.scp"}));
    CReader reader;
    ExpectCreatedFile(folder.File("rec.scp"), reader, {0}, {{1100, 1200, 1300}});
  }
  test::TempFolder folder;
  const std::string bio = folder.Write("three.bio", BioFile(3));
  const CPatientInfo patient = SomePatient();
  ASSERT_TRUE(writer.CreateFromBioFile(folder.File("rec.scp").c_str(), bio.c_str(), &patient));
  EXPECT_EQ(FileNames(folder),
            (std::set<std::string>{"three.bio", "rec.a.scp", "rec.b.scp", "rec.c.scp"}));
  std::set<int64_t> received;
  for (int e = 0; e < 3; ++e) {
    CReader reader;
    const std::string scp = folder.File(std::string("rec.") + char('a' + e) + ".scp");
    ExpectCreatedFile(scp, reader, {0}, {{1100 + e, 1200, 1300}});
    // The event's own date; the header's device, versions, serial number (1 * 256 +
    // 0x0203) and filter (50 Hz on the data).
    const CRecordInfo& r = reader.Recording;
    EXPECT_EQ(Utf8(reader.Patient.LastName) + "|" + Utf8(r.DeviceType) + "|" +
                  Utf8(r.ProgramRevision) + "|" + Utf8(r.SerialNumber),
              "Doe|QBR  |HW 2.3, SW 1.0|771");
    EXPECT_EQ((std::vector<int>{r.AcquisitionYear, r.AcquisitionMinute, r.DataFilterFlags}),
              (std::vector<int>{2024, 30 + e, 2}));
    received.insert(Stamp(reader.General.Received));
  }
  EXPECT_EQ(received.size(), 1u);

  // The second event has no leads: the first file stays, nothing after it is written.
  test::TempFolder failing;
  const std::string broken = failing.Write("broken.bio", BioFile(3, 1));
  EXPECT_TRUE(test::FailedWith(
      writer.CreateFromBioFile(failing.File("rec.scp").c_str(), broken.c_str(), nullptr),
      plat::kErrInvalidParameter));
  EXPECT_EQ(FileNames(failing), (std::set<std::string>{"broken.bio", "rec.a.scp"}));
  EXPECT_EQ(writer.File, plat::kClosedFile);
}

// A Bio event may hold up to 65535 samples a lead, a lead of Section 6 at most 32767
// (its byte count is 16 bits): a longer event is refused (13), not written broken.
TEST(Creation, BioEventLongerThanASectionLeadIsRefused) {
  for (const uint16_t samples : {uint16_t{32767}, uint16_t{32768}}) {
    acqtest::BioHeader header;
    acqtest::BioFile bio;
    bio.Block(30, acqtest::Bio30(header));
    bio.Block(31, acqtest::BioEvent(samples, 14, 3, 24, 9, 30));
    const Bytes record = acqtest::OneLeadRecord(1100);
    Bytes records;
    for (unsigned i = 0; i < samples; ++i)
      records.insert(records.end(), record.begin(), record.end());
    bio.Block(21, records, 0);  // a data block's length is not read
    test::TempFolder folder;
    const std::string scp = folder.File("long.scp");
    CWriter writer;
    const bool created = writer.CreateFromBioFile(
        scp.c_str(), folder.Write("long.bio", bio.Build()).c_str(), nullptr);
    EXPECT_EQ(created, samples == 32767) << samples;
    if (created) {
      SEncodedData rhythm;
      ASSERT_TRUE(CReader::ReadRhythm(scp.c_str(), &rhythm));
      EXPECT_EQ(rhythm.SampleCounts[0], samples);
    } else {
      EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
      EXPECT_FALSE(std::filesystem::exists(scp));
    }
  }
}

TEST(Creation, RefusesMissingArgumentsAnOpenFileAndAFailingReader) {
  test::TempFolder folder;
  const std::string raw = folder.Write("in.bin", {1, 2, 3, 4});
  const std::string absent = folder.File("missing.raw");
  const char* missing = absent.c_str();
  const std::string scp = folder.File("out.scp");
  const char* out = scp.c_str();
  const uint8_t data[] = {1, 2};
  auto fails = [&](bool result, uint32_t code, int line) {
    EXPECT_TRUE(test::FailedWith(result, code)) << line;
    EXPECT_FALSE(std::filesystem::exists(scp)) << line;
  };
  CWriter writer;
  fails(writer.CreateFromRaw12L(nullptr, raw.c_str(), nullptr, 1, 1, 8), 87, __LINE__);
  fails(writer.CreateFromRaw12L(out, nullptr, nullptr, 1, 1, 8), 87, __LINE__);
  fails(writer.CreateFromRaw12LMem(out, data, 0, nullptr, 1, 1, 8), 87, __LINE__);
  fails(writer.CreateFrom8bitMem(out, nullptr, 2, nullptr, false, 0, 0), 87, __LINE__);
  fails(writer.CreateFrom16bitMem(nullptr, data, 2, nullptr, false, 0, 0), 87, __LINE__);
  fails(writer.CreateFromBioFile(out, nullptr, nullptr), 87, __LINE__);
  // The reader's own code comes through.
  fails(writer.CreateFrom16bitFile(out, missing, nullptr, false, 0, 0), 2, __LINE__);
  fails(writer.CreateFromBioFile(out, missing, nullptr), 2, __LINE__);

  // A file left open on the writer: 12, and nothing written.
  TestWriter open;
  const std::string existing = folder.File("existing.scp");
  ASSERT_TRUE(open.CreateEmpty(existing.c_str()));
  ASSERT_TRUE(open.OpenRd(existing.c_str(), false));
  fails(open.CreateEmpty(out), 12, __LINE__);
  fails(open.CreateFrom8bitFile(out, raw.c_str(), nullptr, false, 0, 0), 12, __LINE__);
  fails(open.CreateFrom16bitMem(out, data, 2, nullptr, false, 0, 0), 12, __LINE__);
  fails(open.CreateFromBioFile(out, raw.c_str(), nullptr), 12, __LINE__);
  open.Close();
}

}  // namespace
