// Creating SCP-ECG files from acquisitions: the files read back, section by section
// and through the reader, as the acquisition and the patient data said.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "acquisition/encoders.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "platform/time.h"
#include "record_sections.h"
#include "support/temp_folder.h"
#include "test_writer.h"

namespace {

using test::Bytes;

plat::WideString Wide(const char* text) {
  plat::WideString wide;
  EXPECT_TRUE(plat::AnsiToWide(text, -1, &wide));
  return wide;
}

std::string Text(const plat::OleChar* text) {
  std::string out;
  if (text != nullptr) {
    EXPECT_TRUE(plat::WideToUtf8(text, -1, &out));
  }
  return out;
}

Bytes Ansi(const char* text) {
  return Bytes(text, text + std::char_traits<char>::length(text) + 1);  // with its 0 byte
}

// The data of each Section 1 tag, found by the tag layout alone: number (u8), length
// (u16, low byte first), data, up to tag 255.
std::map<uint8_t, Bytes> TagData(const Bytes& section) {
  std::map<uint8_t, Bytes> tags;
  for (size_t at = 16; at + 3 <= section.size();) {
    const uint8_t number = section[at];
    const size_t length = section[at + 1] | section[at + 2] << 8;
    if (number == 255 || at + 3 + length > section.size()) break;
    const auto begin = section.begin() + static_cast<std::ptrdiff_t>(at + 3);
    tags[number] = Bytes(begin, begin + static_cast<std::ptrdiff_t>(length));
    at += 3 + length;
  }
  return tags;
}

// A moment as one number that orders like the moment itself.
int64_t Stamp(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
              int64_t second) {
  return ((((year * 13 + month) * 32 + day) * 24 + hour) * 60 + minute) * 60 + second;
}
int64_t Stamp(const plat::SystemTime& t) {
  return Stamp(t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second);
}
int64_t Stamp(const SDateTime& t) {
  return Stamp(t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second);
}

// A created file: exactly Sections 0, 1, 3 and 6 one after another, every CRC right;
// then loaded whole into `reader`.
void ExpectCreatedFile(const std::string& path, CReader& reader) {
  SCOPED_TRACE(path);
  const Bytes record = test::ReadWholeFile(path);
  std::set<uint16_t> ids;
  for (const auto& section : test::Sections(record)) ids.insert(section.first);
  EXPECT_EQ(ids, (std::set<uint16_t>{0, 1, 3, 6}));
  const std::vector<test::PointerEntry> table = test::PointerTable(record);
  ASSERT_EQ(table.size(), 12u);
  EXPECT_EQ(table[1].Index, table[0].Index + table[0].Length);
  EXPECT_EQ(table[3].Index, table[1].Index + table[1].Length);
  EXPECT_EQ(table[6].Index, table[3].Index + table[3].Length);
  EXPECT_EQ(table[6].Index - 1 + table[6].Length, record.size());
  bool valid = false;
  EXPECT_TRUE(CReader::CheckCrc(path.c_str(), &valid));
  EXPECT_TRUE(valid);
  uint16_t loaded = 0;
  EXPECT_TRUE(reader.Load(path.c_str(), &loaded, kAllSections));
  EXPECT_EQ(loaded & (kSection1 | kSection3 | kSection6), kSection1 | kSection3 | kSection6);
}

void ExpectSamples(const CReader& reader, uint8_t lead, const std::vector<int>& expected) {
  SCOPED_TRACE("lead " + std::to_string(lead));
  ASSERT_LT(lead, reader.Rhythm.LeadCount);
  ASSERT_EQ(size_t{reader.Rhythm.SampleCounts[lead]}, expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(reader.Rhythm.LeadSamples[lead][i], expected[i]) << "sample " << i;
  }
}

CPatientInfo SomePatient() {
  CPatientInfo patient;
  patient.LastName = plat::SysAllocString(Wide("Doe").c_str());
  patient.FirstName = plat::SysAllocString(Wide("Jane").c_str());
  patient.PatientId = plat::SysAllocString(Wide("P-0042").c_str());
  patient.YearOfBirth = 1970;
  patient.MonthOfBirth = 5;
  patient.DayOfBirth = 2;
  patient.Gender = 2;
  patient.Height = 1655;
  patient.Weight = 62500;
  return patient;
}

TEST(Creation, Raw12FileHoldsLeadsPatientReceivedTimeAndWriter) {
  test::TempFolder folder;
  // Three eight-lead records; lead l of record r is distinct from every other sample.
  std::vector<std::vector<int>> leads(8);
  Bytes raw;
  for (int r = 0; r < 3; ++r) {
    std::vector<int> record;
    for (int l = 0; l < 8; ++l) {
      record.push_back((l + 1) * 100 * (r == 1 ? -1 : 1) + r);
      leads[static_cast<size_t>(l)].push_back(record.back());
    }
    const Bytes bytes = acqtest::PairRecord(record);
    raw.insert(raw.end(), bytes.begin(), bytes.end());
  }
  const std::string rawPath = folder.Write("ecg.raw", raw);
  const std::string scp = folder.File("ecg.scp");
  const CPatientInfo patient = SomePatient();

  TestWriter writer;
  writer.SelectWriter(Wide("TestApp").c_str(), Wide("9.8").c_str());
  const int64_t before = Stamp(plat::LocalTimeNow());
  // Resolution and sampling rate far apart, so that a swap shows.
  ASSERT_TRUE(writer.CreateFromRaw12L(scp.c_str(), rawPath.c_str(), &patient, 5000.0, 500.0, 8));
  const int64_t after = Stamp(plat::LocalTimeNow());
  EXPECT_EQ(writer.File, plat::kClosedFile);
  EXPECT_EQ(writer.Store.Used, 1);
  EXPECT_FALSE(writer.UpdateMode);

  CReader reader;
  ExpectCreatedFile(scp, reader);
  ASSERT_EQ(reader.LeadDefinitions.Count, 8);
  EXPECT_EQ(reader.LeadDefinitions.Flags, 0x04 | 8 << 3);  // all 8 simultaneous
  const int codes[] = {1, 2, 3, 4, 5, 6, 7, 8};
  for (uint8_t i = 0; i < 8; ++i) {
    EXPECT_EQ(+reader.LeadDefinitions.Leads[i].LeadId, codes[i]);
    EXPECT_EQ(+reader.LeadDefinitions.Leads[i].StartSample, 1u);
    EXPECT_EQ(+reader.LeadDefinitions.Leads[i].EndSample, 3u);
    ExpectSamples(reader, i, leads[i]);
  }
  EXPECT_EQ(reader.Rhythm.AVM, 5000);
  EXPECT_EQ(reader.Rhythm.SampleInterval, 2000);

  EXPECT_EQ(Text(reader.Patient.LastName), "Doe");
  EXPECT_EQ(Text(reader.Patient.FirstName), "Jane");
  EXPECT_EQ(Text(reader.Patient.PatientId), "P-0042");
  EXPECT_EQ(reader.Patient.YearOfBirth, 1970);
  EXPECT_EQ(reader.Patient.MonthOfBirth, 5);
  EXPECT_EQ(reader.Patient.DayOfBirth, 2);
  EXPECT_EQ(reader.Patient.Gender, 2);
  EXPECT_EQ(reader.Patient.Height, 1655);
  EXPECT_EQ(reader.Patient.Weight, 62500u);
  EXPECT_EQ(Text(reader.Recording.DeviceType), "KTS  ");
  EXPECT_EQ(Text(reader.Recording.ProgramRevision), "");
  EXPECT_EQ(reader.Recording.FilterFlags, 0);

  const int64_t received = Stamp(reader.General.Received);
  EXPECT_LE(before, received);
  EXPECT_LE(received, after);
  EXPECT_EQ(Text(reader.General.CreatorApp), "TestApp");
  EXPECT_EQ(Text(reader.General.CreatorVer), "9.8");

  // The tags themselves: the writer in 210/211 only, the received time in 203.
  const std::map<uint8_t, Bytes> tags = TagData(test::Sections(test::ReadWholeFile(scp))[1]);
  ASSERT_EQ(tags.count(210), 1u);
  EXPECT_EQ(tags.at(210), Ansi("TestApp"));
  ASSERT_EQ(tags.count(211), 1u);
  EXPECT_EQ(tags.at(211), Ansi("9.8"));
  EXPECT_EQ(tags.count(208) + tags.count(209), 0u);
  ASSERT_EQ(tags.count(203), 1u);
  const SDateTime& r = reader.General.Received;
  Bytes stamp;
  for (uint16_t field : {r.Year, r.Month, r.Day, r.Hour, r.Minute, r.Second}) {
    test::AppendU16(stamp, field);
  }
  EXPECT_EQ(tags.at(203), stamp);
  EXPECT_EQ(tags.count(27) + tags.count(28), 0u);  // no cutoffs from an acquisition

  // The same writer creates the next file as if new.
  ASSERT_TRUE(writer.CreateFromRaw12L(folder.File("again.scp").c_str(), rawPath.c_str(), nullptr,
                                      5000.0, 500.0, 8));
  CReader again;
  ExpectCreatedFile(folder.File("again.scp"), again);
  EXPECT_EQ(Text(again.Patient.LastName), "");
}

struct SingleLeadCase {
  const char* Name;
  bool Memory;  // the bytes themselves are the argument, not a file name
  std::function<bool(CWriter&, const char* scp, const std::string& input)> Create;
  Bytes Input;
  std::vector<std::vector<int>> Samples;  // per lead
  std::vector<int> Codes;
  uint16_t Avm;
  uint16_t Interval;
  uint8_t Flags;  // Section 3: only the raw 12-lead reader says its leads are simultaneous
};

TEST(Creation, EverySourceReadsBackAsTheAcquisitionSaid) {
  const Bytes bytes8 = {0x80, 0xFF, 0x00, 0x90};
  const Bytes bytes16 = acqtest::Stream16({-300, 0, 1200, 32767});
  const Bytes offset16 = acqtest::Stream16({0x0000, 0x8005, 0xFFFF});
  const Bytes oneLead =
      acqtest::Concat({acqtest::OneLeadRecord(1500), acqtest::OneLeadRecord(1024, 1),
                       acqtest::OneLeadRecord(2000)});
  const Bytes twoLeads =
      acqtest::Concat({acqtest::PairRecord({100, -200}), acqtest::PairRecord({300, 400})});
  auto mem = [](const std::string& input) {
    return reinterpret_cast<const uint8_t*>(input.data());
  };
  auto size = [](const std::string& input) { return static_cast<uint32_t>(input.size()); };
  const std::vector<SingleLeadCase> cases = {
      {"8-bit file, unsigned",
       false,
       [](CWriter& w, const char* scp, const std::string& in) {
         return w.CreateFrom8bitFile(scp, in.c_str(), nullptr, true, 2500.0, 250.0);
       },
       bytes8,
       {{0, 127, -128, 16}},
       {0},
       2500,
       4000,
       0},
      {"8-bit memory, signed, defaults",
       true,
       [&](CWriter& w, const char* scp, const std::string& in) {
         return w.CreateFrom8bitMem(scp, mem(in), size(in), nullptr, false, 0.0, 0.0);
       },
       bytes8,
       {{128, 255, 0, 144}},
       {0},
       20000,
       3333,
       0},
      {"16-bit file, signed",
       false,
       [](CWriter& w, const char* scp, const std::string& in) {
         return w.CreateFrom16bitFile(scp, in.c_str(), nullptr, false, 1000.0, 1000.0);
       },
       bytes16,
       {{-300, 0, 1200, 32767}},
       {0},
       1000,
       1000,
       0},
      {"16-bit file, defaults",
       false,
       [](CWriter& w, const char* scp, const std::string& in) {
         return w.CreateFrom16bitFile(scp, in.c_str(), nullptr, false, 0.0, 0.0);
       },
       bytes16,
       {{-300, 0, 1200, 32767}},
       {0},
       2995,
       2002,
       0},
      {"16-bit memory, unsigned",
       true,
       [&](CWriter& w, const char* scp, const std::string& in) {
         return w.CreateFrom16bitMem(scp, mem(in), size(in), nullptr, true, 2000.0, 200.0);
       },
       offset16,
       {{-32768, 5, 32767}},
       {0},
       2000,
       5000,
       0},
      {"raw 12-lead memory, one lead with a marker",
       true,
       [&](CWriter& w, const char* scp, const std::string& in) {
         return w.CreateFromRaw12LMem(scp, mem(in), size(in), nullptr, 5000.0, 500.0, 1);
       },
       oneLead,
       {{1500, 2033, 2000}},
       {0},
       5000,
       2000,
       0x04 | 1 << 3},
      {"raw 12-lead memory, two leads",
       true,
       [&](CWriter& w, const char* scp, const std::string& in) {
         return w.CreateFromRaw12LMem(scp, mem(in), size(in), nullptr, 2500.0, 250.0, 2);
       },
       twoLeads,
       {{100, 300}, {-200, 400}},
       {1, 2},
       2500,
       4000,
       0x04 | 2 << 3},
  };

  test::TempFolder folder;
  for (const SingleLeadCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string input = folder.Write("input.bin", c.Input);
    const std::string argument = c.Memory ? std::string(c.Input.begin(), c.Input.end()) : input;
    const std::string scp = folder.File("out.scp");
    CWriter writer;
    ASSERT_TRUE(c.Create(writer, scp.c_str(), argument));
    CReader reader;
    ExpectCreatedFile(scp, reader);
    ASSERT_EQ(size_t{reader.LeadDefinitions.Count}, c.Codes.size());
    for (uint8_t i = 0; i < static_cast<uint8_t>(c.Codes.size()); ++i) {
      EXPECT_EQ(+reader.LeadDefinitions.Leads[i].LeadId, c.Codes[i]);
      ExpectSamples(reader, i, c.Samples[i]);
    }
    EXPECT_EQ(reader.Rhythm.AVM, c.Avm);
    EXPECT_EQ(reader.Rhythm.SampleInterval, c.Interval);
    EXPECT_EQ(reader.LeadDefinitions.Flags, c.Flags);
    // The marker 2033 is lead error bit 1 of its lead.
    if (c.Samples[0][1] == 2033) {
      ASSERT_GE(reader.LeadErrors.Count, 1);
      EXPECT_EQ(+reader.LeadErrors.Errors[0].LeadId, 0);
      EXPECT_EQ(+reader.LeadErrors.Errors[0].ErrorBits, 0x0002);
    }
  }
}

// A Bio file of `events` events of one lead each (type 30 header, then per event an
// event block and, unless `missing` names it, a block of one-lead records).
Bytes BioFile(int events, int missing = -1) {
  acqtest::BioHeader header;
  header.LeadCount = 1;
  header.EventCount = static_cast<uint8_t>(events);
  header.Resolution = 5000;
  header.Interval = 2000;
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
  {
    test::TempFolder folder;
    const std::string bio = folder.Write("one.bio", BioFile(1));
    CWriter writer;
    ASSERT_TRUE(writer.CreateFromBioFile(folder.File("rec.scp").c_str(), bio.c_str(), nullptr));
    EXPECT_EQ(FileNames(folder), (std::set<std::string>{"one.bio", "rec.scp"}));
    CReader reader;
    ExpectCreatedFile(folder.File("rec.scp"), reader);
    ExpectSamples(reader, 0, {1100, 1200, 1300});
  }
  test::TempFolder folder;
  const std::string bio = folder.Write("three.bio", BioFile(3));
  const CPatientInfo patient = SomePatient();
  CWriter writer;
  ASSERT_TRUE(writer.CreateFromBioFile(folder.File("rec.scp").c_str(), bio.c_str(), &patient));
  EXPECT_EQ(FileNames(folder),
            (std::set<std::string>{"three.bio", "rec.a.scp", "rec.b.scp", "rec.c.scp"}));
  std::set<int64_t> received;
  for (int e = 0; e < 3; ++e) {
    const std::string name = folder.File(std::string("rec.") + char('a' + e) + ".scp");
    CReader reader;
    ExpectCreatedFile(name, reader);
    ExpectSamples(reader, 0, {1100 + e, 1200, 1300});
    EXPECT_EQ(Text(reader.Patient.LastName), "Doe");
    // The event's own date; the header's device, versions, serial number and filter.
    EXPECT_EQ(reader.Recording.AcquisitionYear, 2024);
    EXPECT_EQ(reader.Recording.AcquisitionMinute, 30 + e);
    EXPECT_EQ(Text(reader.Recording.DeviceType), "QBR  ");
    EXPECT_EQ(Text(reader.Recording.ProgramRevision), "HW 2.3, SW 1.0");
    EXPECT_EQ(Text(reader.Recording.SerialNumber), "771");  // 1 * 256 + 0x0203
    EXPECT_EQ(reader.Recording.DataFilterFlags, 2);         // 50 Hz on the data
    EXPECT_EQ(reader.Recording.FilterFlags, 0);
    received.insert(Stamp(reader.General.Received));
  }
  EXPECT_EQ(received.size(), 1u);

  // The second event has no leads: the first file stays, nothing after it is written.
  test::TempFolder failing;
  const std::string broken = failing.Write("broken.bio", BioFile(3, 1));
  EXPECT_FALSE(writer.CreateFromBioFile(failing.File("rec.scp").c_str(), broken.c_str(), nullptr));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
  EXPECT_EQ(FileNames(failing), (std::set<std::string>{"broken.bio", "rec.a.scp"}));
  EXPECT_EQ(writer.File, plat::kClosedFile);
}

TEST(Creation, RefusesMissingArgumentsAnOpenFileAndAFailingReader) {
  test::TempFolder folder;
  const std::string raw = folder.Write("in.bin", {1, 2, 3, 4});
  const std::string scp = folder.File("out.scp");
  const uint8_t data[] = {1, 2};
  CWriter writer;
  auto fails = [&](bool result, uint32_t code, const char* what) {
    EXPECT_FALSE(result) << what;
    EXPECT_EQ(plat::LastError(), code) << what;
    EXPECT_FALSE(std::filesystem::exists(scp)) << what;
  };
  fails(writer.CreateFromRaw12L(nullptr, raw.c_str(), nullptr, 1, 1, 8), 87, "raw12 no scp");
  fails(writer.CreateFromRaw12L(scp.c_str(), nullptr, nullptr, 1, 1, 8), 87, "raw12 no raw");
  fails(writer.CreateFromRaw12LMem(scp.c_str(), data, 0, nullptr, 1, 1, 8), 87, "raw12 size 0");
  fails(writer.CreateFrom8bitMem(scp.c_str(), nullptr, 2, nullptr, false, 0, 0), 87, "8 null");
  fails(writer.CreateFrom16bitMem(nullptr, data, 2, nullptr, false, 0, 0), 87, "16 no scp");
  fails(writer.CreateFrom8bitFile(scp.c_str(), nullptr, nullptr, false, 0, 0), 87, "8 no raw");
  fails(writer.CreateFromBioFile(scp.c_str(), nullptr, nullptr), 87, "bio no bio");
  fails(writer.CreateEmpty(nullptr), 87, "empty no name");
  // The reader's own code comes through.
  const std::string missing = folder.File("missing.raw");
  fails(writer.CreateFrom16bitFile(scp.c_str(), missing.c_str(), nullptr, false, 0, 0),
        plat::kErrFileNotFound, "16 missing");
  fails(writer.CreateFromBioFile(scp.c_str(), missing.c_str(), nullptr), plat::kErrFileNotFound,
        "bio missing");

  // A file left open on the writer: 12, and nothing written.
  TestWriter open;
  const std::string existing = folder.File("existing.scp");
  ASSERT_TRUE(open.CreateEmpty(existing.c_str()));
  ASSERT_TRUE(open.OpenRd(existing.c_str(), false));
  fails(open.CreateEmpty(scp.c_str()), plat::kErrInvalidAccess, "empty open");
  fails(open.CreateFrom8bitFile(scp.c_str(), raw.c_str(), nullptr, false, 0, 0),
        plat::kErrInvalidAccess, "8 open");
  fails(open.CreateFrom16bitMem(scp.c_str(), data, 2, nullptr, false, 0, 0),
        plat::kErrInvalidAccess, "16 mem open");
  fails(open.CreateFromBioFile(scp.c_str(), raw.c_str(), nullptr), plat::kErrInvalidAccess,
        "bio open");
  open.Close();
}

}  // namespace
