// Editing single header fields: the edited tag and only it changes, every other
// section keeps its bytes, and a failing edit leaves the file as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "record/string_field.h"
#include "record_sections.h"
#include "support/temp_folder.h"
#include "support/waveform_builder.h"
#include "test_writer.h"
#include "written_tags.h"

namespace {

using test::Bytes;
using test::Concat;
using test::DeviceTag;
using test::TagList;
using test::Text;
using test::U16;
using Operation = std::function<bool(CWriter&, const char*)>;

Bytes DateTime(std::initializer_list<uint16_t> fields) {
  Bytes bytes;
  for (uint16_t field : fields) test::AppendU16(bytes, field);
  return bytes;
}

// A Section 1 exactly as the writer would rebuild it from what it parses.
TagList BaseTags() {
  return {{0, Text("Doe")},
          {1, Text("Jane")},
          {2, Text("P-17")},
          {4, {53, 0, 1}},  // 1970-04 to 2024-03
          {5, {0xB2, 0x07, 4, 2}},
          {6, {175, 0, 1}},
          {7, {70, 0, 1}},
          {8, {2}},
          {14, DeviceTag(7, "ECG", "2.1", "SN42")},
          {21, Text("Dr. Over")},
          {25, {0xE8, 0x07, 3, 14}},
          {26, {9, 45, 0}},
          {27, {5, 0}},
          {28, {150, 0}},
          {29, {0x06}},
          {200, {6, 1, 0, 0, 2, 4, 0, 61, 4, 0, 62, 4, 0, 63, 4, 0, 64, 4, 0}},
          {201, {0, 'S', 'R', 0}},
          {202, Text("resting")},
          {203, DateTime({2024, 3, 15, 10, 0, 0})},
          {204, {0}},
          {205, Text("R-1")},
          {206, {0x64, 0x13, 0x01, 0x00}},  // 70500 g
          {207, U16(1755)},
          {208, Text("OLDMOD")},
          {209, Text("0.9")},
          {210, Text("Maker")},
          {211, Text("1.0")},
          {212, {0x0D}},
          {213, Text("Dr. Interp")},
          {214, Text("Dr. Rec")},
          {215, Text("Ward 3")},
          {216, Text("Analyser")},
          {217, Text("3.1")},
          {218, Text("Recorder")},
          {219, Text("4.2")},
          {230, {1, 2, 3}}};
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
// laid out in number order, manufacturer section 200 last, with fresh CRCs.
void ExpectRewritten(const Bytes& before, const Bytes& after, const TagList& tags) {
  const auto old = test::Sections(before);
  const auto now = test::Sections(after);
  ASSERT_TRUE(now.count(1));
  EXPECT_EQ(test::Tags(now.at(1)), tags);
  EXPECT_EQ(now.size(), old.size() + (old.count(1) ? 0 : 1));
  for (const auto& [id, bytes] : old) {
    if (id > 1) {
      EXPECT_EQ(now.at(id), bytes) << "section " << id;
    }
  }
  uint32_t position = 7;
  for (const auto& [id, bytes] : now) {
    if (id >= 12) continue;
    for (const test::PointerEntry& entry : test::PointerTable(after)) {
      if (entry.Id == id) {
        EXPECT_EQ(entry.Index, position) << "section " << id;
      }
    }
    position += static_cast<uint32_t>(bytes.size());
  }
  for (const test::PointerEntry& entry : test::PointerTable(after)) {
    if (entry.Id < 12) continue;
    EXPECT_EQ(entry.Index, position) << "section " << entry.Id;
    position += entry.Length;
  }
  EXPECT_EQ(position - 1, after.size());
  EXPECT_EQ(after[0] | after[1] << 8, test::Crc16(after.data() + 2, after.size() - 2));
  const Bytes& section1 = now.at(1);
  EXPECT_EQ(section1[0] | section1[1] << 8, test::Crc16(section1.data() + 2, section1.size() - 2));
}

struct Edit {
  std::string Name;
  Operation Run;
  std::function<void(TagList&)> Change;
};

std::vector<Edit> Edits() {
  static const plat::WideString text = test::Wide("new text");
  using TextUpdate = bool (CWriter::*)(const char*, const plat::OleChar*);
  const std::pair<uint8_t, TextUpdate> textUpdates[] = {
      {202, &CWriter::UpdateCommentText},      {215, &CWriter::UpdateRecordingLocation},
      {205, &CWriter::UpdateRecordingId},      {218, &CWriter::UpdateRecordingApp},
      {219, &CWriter::UpdateRecordingVer},     {216, &CWriter::UpdateInterpretationApp},
      {217, &CWriter::UpdateInterpretationVer}};
  std::vector<Edit> edits;
  auto setTag = [](uint8_t tag, const Bytes& data) {
    return [tag, data](TagList& tags) { test::SetTag(tags, tag, data); };
  };
  auto eraseTag = [](uint8_t tag) { return [tag](TagList& tags) { test::EraseTag(tags, tag); }; };
  for (const auto& [tag, update] : textUpdates) {
    const std::string name = "text tag " + std::to_string(tag);
    edits.push_back(
        {name,
         [update = update](CWriter& w, const char* f) { return (w.*update)(f, text.c_str()); },
         setTag(tag, Text("new text"))});
    edits.push_back(
        {name + " cleared",
         [update = update](CWriter& w, const char* f) { return (w.*update)(f, nullptr); },
         eraseTag(tag)});
  }
  const uint8_t physicianTags[] = {21, 213, 214};
  for (int16_t which = 0; which < 3; ++which) {
    const uint8_t tag = physicianTags[which];
    edits.push_back({"physician " + std::to_string(which),
                     [which](CWriter& w, const char* f) {
                       return w.UpdatePhysicianName(f, which, text.c_str());
                     },
                     setTag(tag, Text("new text"))});
    edits.push_back(
        {"physician cleared " + std::to_string(which),
         [which](CWriter& w, const char* f) { return w.UpdatePhysicianName(f, which, nullptr); },
         eraseTag(tag)});
  }
  edits.push_back(
      {"interpretation",
       [](CWriter& w, const char* f) { return w.UpdateInterpretationText(f, text.c_str()); },
       setTag(201, Concat({1}, Text("new text")))});
  edits.push_back({"interpretation cleared",
                   [](CWriter& w, const char* f) { return w.UpdateInterpretationText(f, nullptr); },
                   eraseTag(201)});
  edits.push_back({"received",
                   [](CWriter& w, const char* f) {
                     const SDateTime received = {2025, 1, 2, 3, 4, 5};
                     return w.UpdateReceived(f, &received);
                   },
                   setTag(203, DateTime({2025, 1, 2, 3, 4, 5}))});
  edits.push_back({"confirmed",
                   [](CWriter& w, const char* f) { return w.UpdateInterpretationConfirmed(f, 7); },
                   setTag(204, {1})});
  edits.push_back({"muscle off",
                   [](CWriter& w, const char* f) { return w.UpdateMuscleFilter(f, 0); },
                   setTag(212, {0x09})});
  edits.push_back({"muscle on",
                   [](CWriter& w, const char* f) { return w.UpdateMuscleFilter(f, 1); },
                   [](TagList&) {}});
  edits.push_back({"baseline off",
                   [](CWriter& w, const char* f) { return w.UpdateBaselineFilter(f, 0); },
                   setTag(212, {0x05})});
  edits.push_back({"power 50", [](CWriter& w, const char* f) { return w.UpdatePowerFilter(f, 50); },
                   setTag(212, {0x0E})});
  edits.push_back({"power off", [](CWriter& w, const char* f) { return w.UpdatePowerFilter(f, 0); },
                   setTag(212, {0x0C})});
  edits.push_back({"power 60", [](CWriter& w, const char* f) { return w.UpdatePowerFilter(f, 60); },
                   [](TagList&) {}});
  edits.push_back({"file unchanged",
                   [](CWriter& w, const char* f) { return w.UpdateFile(f, nullptr, nullptr); },
                   [](TagList&) {}});
  edits.push_back({"patient",
                   [](CWriter& w, const char* f) {
                     CPatientInfo patient;
                     patient.LastName = plat::SysAllocString(test::Wide("Roe").c_str());
                     patient.PatientId = plat::SysAllocString(test::Wide("X9").c_str());
                     patient.YearOfBirth = 1980;
                     patient.MonthOfBirth = 6;
                     patient.DayOfBirth = 1;
                     patient.Height = 1800;
                     patient.Weight = 80000;
                     patient.Gender = 1;
                     return w.UpdateFile(f, &patient, nullptr);
                   },
                   [](TagList& tags) {
                     test::SetTag(tags, 0, Text("Roe"));
                     test::EraseTag(tags, 1);
                     test::SetTag(tags, 2, Text("X9"));
                     test::SetTag(tags, 4, {43, 0, 1});  // 1980-06 to 2024-03
                     test::SetTag(tags, 5, {0xBC, 0x07, 6, 1});
                     test::SetTag(tags, 6, {180, 0, 1});
                     test::SetTag(tags, 7, {80, 0, 1});
                     test::SetTag(tags, 8, {1});
                     test::SetTag(tags, 206, {0x80, 0x38, 0x01, 0x00});
                     test::SetTag(tags, 207, U16(1800));
                   }});
  edits.push_back({"recording",
                   [](CWriter& w, const char* f) {
                     CRecordInfo recording;
                     recording.AcquisitionYear = 2023;
                     recording.AcquisitionMonth = 12;
                     recording.AcquisitionDay = 31;
                     recording.AcquisitionHour = 23;
                     recording.AcquisitionMinute = 59;
                     recording.AcquisitionSecond = 58;
                     recording.LowPassCutoff = 40;
                     recording.DeviceID = 0x0102;
                     recording.FilterFlags = 2;
                     return w.UpdateFile(f, nullptr, &recording);
                   },
                   [](TagList& tags) {
                     test::SetTag(tags, 14, DeviceTag(0x0102, "KTS  ", "", ""));
                     test::SetTag(tags, 25, {0xE7, 0x07, 12, 31});
                     test::SetTag(tags, 26, {23, 59, 58});
                     test::EraseTag(tags, 27);
                     test::SetTag(tags, 28, {40, 0});
                     test::EraseTag(tags, 29);
                     test::SetTag(tags, 212, {2});
                   }});
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
    test::SetTag(expected, 208, Text("scpecg-test"));
    test::SetTag(expected, 209, Text("9.9"));
    edit.Change(expected);
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
  const uint32_t section0 = 16 + 10 * 13;
  test::PutU16(before, 6, test::Crc16(before.data() + 8, section0 - 2));
  test::PutU16(before, 0, test::Crc16(before.data() + 2, before.size() - 2));

  test::TempFolder folder;
  const std::string path = folder.Write("nosection1.scp", before);
  CWriter writer;
  ASSERT_TRUE(Stamped(writer).UpdateCommentText(path.c_str(), test::Wide("x").c_str()))
      << plat::LastError();
  const Bytes after = test::ReadWholeFile(path);
  const TagList expected = {{5, {0, 0, 0, 0}},
                            {8, {0}},
                            {14, DeviceTag(0, "KTS  ", "", "")},
                            {25, {0, 0, 0, 0}},
                            {26, {0, 0, 0}},
                            {200, {0}},
                            {202, Text("x")},
                            {203, Bytes(12, 0)},
                            {204, {0}},
                            {208, Text("scpecg-test")},
                            {209, Text("9.9")},
                            {212, {0}}};
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
  EXPECT_FALSE(run(writer, path.c_str()));
  EXPECT_EQ(plat::LastError(), code);
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
  Bytes shortFile = good;
  shortFile.resize(good.size() - 1);
  const Bytes badSection1 = BaseRecord({0, 0x40, 0, 'a', 'b', 255, 0, 0});
  const Bytes noLeads = test::RecordBuilder()
                            .Section(1, test::Section1Body(BaseTags()))
                            .Section(6, RhythmBody())
                            .Build();
  const Bytes noRhythm = test::RecordBuilder()
                             .Section(1, test::Section1Body(BaseTags()))
                             .Section(3, LeadsBody())
                             .Build();
  // Every editing operation: the header edits above and the two waveform ones.
  std::vector<Edit> edits = Edits();
  edits.push_back({"CalculatedLeads",
                   [](CWriter& w, const char* f) { return w.UpdateCalculatedLeads(f); },
                   {}});
  edits.push_back(
      {"LeadErrors", [](CWriter& w, const char* f) { return w.UpdateLeadErrors(f); }, {}});
  for (const auto& [name, run, change] : edits) {
    SCOPED_TRACE(name);
    ExpectUntouched(run, {}, plat::kErrFileNotFound);
    ExpectUntouched(run, badSection0, plat::kErrInvalidData);
    ExpectUntouched(run, shortFile, plat::kErrInvalidData);
    ExpectUntouched(run, badSection1, plat::kErrInvalidData);
    TestWriter writer;
    EXPECT_FALSE(run(writer, nullptr));
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
    // Only the waveform operations need Sections 3 and 6.
    if (name == "CalculatedLeads" || name == "LeadErrors") {
      ExpectUntouched(run, noLeads, plat::kErrNoData);
      ExpectUntouched(run, noRhythm, plat::kErrNoData);
    }
  }
  // Bad arguments: a physician other than 0-2 after the file was read, no date.
  ExpectUntouched([](CWriter& w, const char* f) { return w.UpdatePhysicianName(f, 3, nullptr); },
                  good, plat::kErrInvalidParameter);
  ExpectUntouched([](CWriter& w, const char* f) { return w.UpdateReceived(f, nullptr); }, good,
                  plat::kErrInvalidParameter);
}

}  // namespace
