// Editing single header fields: the edited tag and only it changes, every other
// section keeps its bytes, and a failing edit leaves the file as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "record/string_field.h"
#include "record_sections.h"
#include "support/last_error.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"
#include "test_writer.h"
#include "written_tags.h"

namespace {

using test::Bytes;
using test::TagList;
using Operation = std::function<bool(CWriter&, const char*)>;

// A Section 1 exactly as the writer would rebuild it from what it parses: age 53 from
// 1970-04 to 2024-03, 70500 g, 1755 mm, received 2024-03-15 10:00:00.
TagList BaseTags() {
  TagList tags = test::ParseTags(
      "0: 'Doe'; 1: 'Jane'; 2: 'P-17'; 4: 53 0 1; 5: 0xB2 7 4 2; 6: 175 0 1; 7: 70 0 1; 8: 2;"
      "21: 'Dr. Over'; 25: 0xE8 7 3 14; 26: 9 45 0; 27: 5 0; 28: 150 0; 29: 6;"
      "200: 6 1 0 0 2 4 0 61 4 0 62 4 0 63 4 0 64 4 0; 201: 0 'SR'; 202: 'resting';"
      "203: 0xE8 7 3 0 15 0 10 0 0 0 0 0; 204: 0; 205: 'R-1'; 206: 0x64 0x13 1 0; 207: 0xDB 6;"
      "208: 'OLDMOD'; 209: '0.9'; 210: 'Maker'; 211: '1.0'; 212: 0x0D; 213: 'Dr. Interp';"
      "214: 'Dr. Rec'; 215: 'Ward 3'; 216: 'Analyser'; 217: '3.1'; 218: 'Recorder'; 219: '4.2';"
      "230: 1 2 3; 14: 1 0 1 0 7 0 1 100 'ECG' 0 0 10 0xFF 0 0xFF 0 '255.255.255.255' 4 '2.1' "
      "'SN42'");
  return tags;
}

Bytes LeadsBody() {
  return test::Section3Body(0x14, {{1, 4, 1}, {1, 4, 2}});
}
Bytes RhythmBody() {
  return test::SampleDataBody(1000, 2000, {{1, 2, 3, 4}, {5, 6, 7, 8}});
}

// Sections stored out of order: 6, 200, 1, 11, 3.
Bytes BaseRecord(const Bytes& section1Body) {
  return test::RecordBuilder()
      .Section(6, RhythmBody())
      .Section(200, {0xC8, 0x01})
      .Section(1, section1Body)
      .Versions(11, 0)
      .Section(11, {'x', 'y'})
      .Section(3, LeadsBody())
      .Build();
}

CWriter& Stamped(CWriter& writer) {
  writer.SelectWriter(test::Wide("scpecg-test").c_str(), test::Wide("9.9").c_str());
  return writer;
}

// Section 1 holds `tags`; every other section is kept byte for byte and the record is
// laid out in number order, the sections from 12 up last, with fresh CRCs.
void ExpectRewritten(const Bytes& before, const Bytes& after, const TagList& tags) {
  const auto old = test::Sections(before);
  const auto now = test::Sections(after);
  ASSERT_TRUE(now.count(1));
  EXPECT_EQ(test::Tags(now.at(1)), tags);
  EXPECT_EQ(now.size(), old.size() + (old.count(1) ? 0 : 1));
  for (const auto& [id, bytes] : old) {
    EXPECT_TRUE(id <= 1 || now.at(id) == bytes) << "section " << id;
  }
  uint32_t position = 7;
  for (bool high : {false, true}) {
    for (const test::PointerEntry& entry : test::PointerTable(after)) {
      if (entry.Length == 0 || (entry.Id >= 12) != high) continue;
      EXPECT_EQ(entry.Index, position) << "section " << entry.Id;
      position += entry.Length;
    }
  }
  EXPECT_EQ(position - 1, after.size());
  EXPECT_EQ(after[0] | after[1] << 8, test::Crc16(after.data() + 2, after.size() - 2));
  const Bytes& section1 = now.at(1);
  EXPECT_EQ(section1[0] | section1[1] << 8, test::Crc16(section1.data() + 2, section1.size() - 2));
}

// An edit of the file `f` through the writer `w`.
#define EDIT(call) [](CWriter& w, const char* f) { return w.call; }

struct Edit {
  std::string Name;
  Operation Run;
  std::string Change;  // to the tags, as test::Apply takes it
};

std::vector<Edit> Edits() {
  static const plat::WideString text = test::Wide("new text");
  // Each text edit sets its tag, and clears it when given no text.
  using TextUpdate = std::function<bool(CWriter&, const char*, const plat::OleChar*)>;
  auto physician = [](int16_t which) -> TextUpdate {
    return [which](CWriter& w, const char* f, const plat::OleChar* t) {
      return w.UpdatePhysicianName(f, which, t);
    };
  };
  const std::pair<int, TextUpdate> textUpdates[] = {{202, &CWriter::UpdateCommentText},
                                                    {215, &CWriter::UpdateRecordingLocation},
                                                    {205, &CWriter::UpdateRecordingId},
                                                    {218, &CWriter::UpdateRecordingApp},
                                                    {219, &CWriter::UpdateRecordingVer},
                                                    {216, &CWriter::UpdateInterpretationApp},
                                                    {217, &CWriter::UpdateInterpretationVer},
                                                    {21, physician(0)},
                                                    {213, physician(1)},
                                                    {214, physician(2)}};
  std::vector<Edit> edits;
  for (const auto& [tag, update] : textUpdates) {
    const std::string number = std::to_string(tag);
    edits.push_back({number,
                     [u = update](CWriter& w, const char* f) { return u(w, f, text.c_str()); },
                     number + ": 'new text'"});
    edits.push_back({number + " cleared",
                     [u = update](CWriter& w, const char* f) { return u(w, f, nullptr); },
                     number + ": -"});
  }
  const Edit more[] = {
      {"interpretation", EDIT(UpdateInterpretationText(f, text.c_str())), "201: 1 'new text'"},
      {"interpretation cleared", EDIT(UpdateInterpretationText(f, nullptr)), "201: -"},
      {"received",
       [](CWriter& w, const char* f) {
         const SDateTime received = {2025, 1, 2, 3, 4, 5};
         return w.UpdateReceived(f, &received);
       },
       "203: 0xE9 7 1 0 2 0 3 0 4 0 5 0"},
      {"confirmed", EDIT(UpdateInterpretationConfirmed(f, 7)), "204: 1"},
      {"muscle off", EDIT(UpdateMuscleFilter(f, 0)), "212: 0x09"},
      {"muscle on", EDIT(UpdateMuscleFilter(f, 1)), ""},
      {"baseline off", EDIT(UpdateBaselineFilter(f, 0)), "212: 0x05"},
      {"power 50", EDIT(UpdatePowerFilter(f, 50)), "212: 0x0E"},
      {"power off", EDIT(UpdatePowerFilter(f, 0)), "212: 0x0C"},
      {"power 60", EDIT(UpdatePowerFilter(f, 60)), ""},
      {"file unchanged", EDIT(UpdateFile(f, nullptr, nullptr)), ""},
      {"patient",
       [](CWriter& w, const char* f) {
         CPatientInfo p;
         p.LastName = test::NewText("Roe");
         p.PatientId = test::NewText("X9");
         p.YearOfBirth = 1980, p.MonthOfBirth = 6, p.DayOfBirth = 1;
         p.Height = 1800, p.Weight = 80000, p.Gender = 1;
         return w.UpdateFile(f, &p, nullptr);
       },
       // 1980-06 to 2024-03: 43 years.
       "0: 'Roe'; 1: -; 2: 'X9'; 4: 43 0 1; 5: 0xBC 7 6 1; 6: 180 0 1; 7: 80 0 1; 8: 1;"
       "206: 0x80 0x38 1 0; 207: 0x08 0x07"},
      {"recording",
       [](CWriter& w, const char* f) {
         CRecordInfo r;
         r.AcquisitionYear = 2023, r.AcquisitionMonth = 12, r.AcquisitionDay = 31;
         r.AcquisitionHour = 23, r.AcquisitionMinute = 59, r.AcquisitionSecond = 58;
         r.LowPassCutoff = 40, r.DeviceID = 0x0102, r.FilterFlags = 2;
         return w.UpdateFile(f, nullptr, &r);
       },
       "14: 1 0 1 0 2 1 1 100 'KTS  ' 10 0xFF 0 0xFF 0 '255.255.255.255' 0; 25: 0xE7 7 12 31;"
       "26: 23 59 58; 27: -; 28: 40 0; 29: -; 212: 2"}};
  edits.insert(edits.end(), std::begin(more), std::end(more));
  return edits;
}

TEST(FieldUpdates, EachEditChangesItsTagAndKeepsEverythingElse) {
  test::TempFolder folder;
  const Bytes before = BaseRecord(test::Section1Body(BaseTags()));
  for (const Edit& edit : Edits()) {
    SCOPED_TRACE(edit.Name);
    const std::string path = folder.Write("edit.scp", before);
    TestWriter writer;
    ASSERT_TRUE(edit.Run(Stamped(writer), path.c_str())) << plat::LastError();
    EXPECT_EQ(writer.File, plat::kClosedFile);
    EXPECT_EQ(writer.Store.Used, 1);
    EXPECT_TRUE(writer.UpdateMode);
    TagList expected = BaseTags();
    test::Apply(expected, "208: 'scpecg-test'; 209: '9.9';" + edit.Change);
    ExpectRewritten(before, test::ReadWholeFile(path), expected);
  }
}

TEST(FieldUpdates, AFileWithoutSection1GainsOneBuiltFromDefaults) {
  // Sections 2 to 11, manufacturer sections 200 and 201, and no pointer entry for
  // Section 1: its fixed slot points at section 201 instead. Every entry then needs a
  // store entry, and the new Section 1 one more.
  test::RecordBuilder builder;
  for (uint16_t id = 2; id < 12; ++id) builder.Section(id, {static_cast<uint8_t>(id), 0});
  builder.Section(200, {0xC8, 0}).Section(201, {0xC9, 0, 1, 2}).Unlisted();
  Bytes before = builder.Build();
  const size_t slot1 = 6 + 16 + 10;
  test::PutU16(before, slot1, 201);
  test::PutU32(before, slot1 + 2, 20);
  test::PutU32(before, slot1 + 6, static_cast<uint32_t>(builder.OffsetOf(11) + 1));
  test::PutU16(before, 6, test::Crc16(before.data() + 8, 16 + 10 * 13 - 2));
  test::PutU16(before, 0, test::Crc16(before.data() + 2, before.size() - 2));

  test::TempFolder folder;
  const std::string path = folder.Write("nosection1.scp", before);
  CWriter writer;
  ASSERT_TRUE(Stamped(writer).UpdateCommentText(path.c_str(), test::Wide("x").c_str()))
      << plat::LastError();
  const Bytes after = test::ReadWholeFile(path);
  const TagList expected = test::ParseTags(
      test::kDefaultDeviceTag + std::string(";") +
      "5: 0 0 0 0; 8: 0; 25: 0 0 0 0; 26: 0 0 0; 200: 0; 202: 'x'; 203: 0 0 0 0 0 0 0 0 0 0 0 0;"
      "204: 0; 208: 'scpecg-test'; 209: '9.9'; 212: 0");
  ExpectRewritten(before, after, expected);
  const auto table = test::PointerTable(after);
  ASSERT_EQ(table.size(), 14u);
  EXPECT_EQ(table[12].Id, 201);  // further sections in the order the index listed them
  EXPECT_EQ(table[13].Id, 200);
}

// Runs `run` on a file holding `bytes` (none when empty) and expects `code` with the
// file unchanged (still absent) and the writer closed and empty.
void ExpectUntouched(const Operation& run, const Bytes& bytes, uint32_t code) {
  test::TempFolder folder;
  const std::string path = bytes.empty() ? folder.File("absent.scp") : folder.Write("f.scp", bytes);
  TestWriter writer;
  EXPECT_TRUE(test::FailedWith(run(writer, path.c_str()), code));
  EXPECT_EQ(writer.File, plat::kClosedFile);
  EXPECT_EQ(writer.Store.Used, 1);
  EXPECT_EQ(writer.Loaded, 0);
  if (bytes.empty()) {
    EXPECT_FALSE(std::filesystem::exists(path));
  } else {
    EXPECT_EQ(test::ReadWholeFile(path), bytes);
  }
}

TEST(FieldUpdates, FailingEditsLeaveTheFileAsItWas) {
  const Bytes good = BaseRecord(test::Section1Body(BaseTags()));
  Bytes badSection0 = good;
  badSection0[6 + 2] = 5;  // Section 0's own header names another section
  const Bytes shortFile(good.begin(), good.end() - 1);
  const Bytes badSection1 = BaseRecord({0, 0x40, 0, 'a', 'b', 255, 0, 0});
  const Bytes section1 = test::Section1Body(BaseTags());
  const Bytes noLeads = test::RecordBuilder().Section(1, section1).Section(6, RhythmBody()).Build();
  const Bytes noRhythm = test::RecordBuilder().Section(1, section1).Section(3, LeadsBody()).Build();
  // Every editing operation: the header edits above and the two waveform ones, which
  // alone need Sections 3 and 6.
  std::vector<Edit> edits = Edits();
  edits.push_back({"CalculatedLeads", EDIT(UpdateCalculatedLeads(f)), "3 6"});
  edits.push_back({"LeadErrors", EDIT(UpdateLeadErrors(f)), "3 6"});
  for (const auto& [name, run, needs] : edits) {
    SCOPED_TRACE(name);
    ExpectUntouched(run, {}, plat::kErrFileNotFound);
    ExpectUntouched(run, badSection0, plat::kErrInvalidData);
    ExpectUntouched(run, shortFile, plat::kErrInvalidData);
    ExpectUntouched(run, badSection1, plat::kErrInvalidData);
    TestWriter writer;
    EXPECT_TRUE(test::FailedWith(run(writer, nullptr), plat::kErrInvalidParameter));
    if (needs == "3 6") {
      ExpectUntouched(run, noLeads, plat::kErrNoData);
      ExpectUntouched(run, noRhythm, plat::kErrNoData);
    }
  }
  // Bad arguments: a physician other than 0-2 after the file was read, no date.
  ExpectUntouched(EDIT(UpdatePhysicianName(f, 3, nullptr)), good, plat::kErrInvalidParameter);
  ExpectUntouched(EDIT(UpdateReceived(f, nullptr)), good, plat::kErrInvalidParameter);
}

}  // namespace
