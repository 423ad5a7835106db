// CreateSec1: the tags, widths and order of a built Section 1, checked byte by byte
// against hand-written values.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "record/string_field.h"
#include "support/last_error.h"
#include "support/record_builder.h"
#include "test_writer.h"
#include "written_tags.h"

namespace {

using test::Bytes;
using test::TagList;
using test::Wide;

void Put(plat::Bstr* field, const char* windows1252) {
  FreeString(field);
  *field = test::NewText(windows1252);
}

// Builds Section 1 into a fresh store and reads its tags back by the layout.
struct Section1Writer : TestWriter {
  Section1Writer() { Loaded = kSection1; }

  Bytes Section() { return Bytes(Store.Data(1), Store.Data(1) + Store.Length(1)); }

  // The tags, which must end in the terminator and at most one 0 that makes the size even.
  TagList Build() {
    Store.KillData();
    if (!CreateSec1()) {
      ADD_FAILURE() << "CreateSec1 failed with " << plat::LastError();
      return {};
    }
    const Bytes section = Section();
    const TagList tags = test::Tags(section);
    size_t end = 16;
    for (const auto& tag : tags) end += 3 + tag.second.size();
    EXPECT_EQ(Bytes(section.begin() + end, section.end()),
              end % 2 ? (Bytes{255, 0, 0}) : (Bytes{255, 0, 0, 0}));
    return tags;
  }
};

std::vector<int> Numbers(const TagList& tags) {
  std::vector<int> numbers;
  for (const auto& tag : tags) numbers.push_back(tag.first);
  return numbers;
}

// The tags `want` names hold what it says (as test::Apply reads it); "-" says the tag
// is absent.
void ExpectTags(const TagList& tags, const std::string& want) {
  std::set<int> named;
  std::istringstream entries(want);
  for (std::string entry; std::getline(entries, entry, ';');) named.insert(std::stoi(entry));
  TagList picked;
  for (const auto& tag : tags) {
    if (named.count(tag.first)) picked.push_back(tag);
  }
  EXPECT_EQ(picked, test::ParseTags(want)) << want.substr(0, 60);
}

// Every field set, as a created file would carry it.
void Fill(Section1Writer& writer) {
  writer.SelectWriter(Wide("KTXSCP32.DLL").c_str(), Wide("1.6").c_str());
  CPatientInfo& p = writer.Patient;
  Put(&p.LastName, "M\xFCller");
  Put(&p.FirstName, "Zo\xEB");
  Put(&p.PatientId, "P-0042");
  p.Gender = 2, p.YearOfBirth = 1980, p.MonthOfBirth = 6, p.DayOfBirth = 15;
  p.Height = 1755, p.Weight = 70500;
  CRecordInfo& r = writer.Recording;
  r.AcquisitionYear = 2020, r.AcquisitionMonth = 5, r.AcquisitionDay = 17;
  r.AcquisitionHour = 10, r.AcquisitionMinute = 20, r.AcquisitionSecond = 30;
  r.HighPassCutoff = 5, r.LowPassCutoff = 150, r.DeviceID = 77;
  r.FilterFlags = 0x0E, r.DataFilterFlags = 0x09;
  Put(&r.DeviceType, "ECG");
  Put(&r.ProgramRevision, "R3");
  Put(&r.SerialNumber, "SN-123");
  CGeneralInfo& g = writer.General;
  g.Received = SDateTime{2021, 2, 3, 4, 5, 6};
  g.InterpretationConfirmed = 1, g.InterpretationModified = 1;
  using G = CGeneralInfo;
  const std::pair<plat::Bstr G::*, const char*> texts[] = {
      {&G::InterpretationText, "Sinus"},
      {&G::CommentText, "Comment"},
      {&G::OverreadingPhysician, "Dr. Overread"},
      {&G::InterpretationPhysician, "Dr. Interpret"},
      {&G::RecordingPhysician, "Dr. Ren\xE9"},
      {&G::RecordingLocation, "Station 3"},
      {&G::RecordingId, "REC-9"},
      {&G::InterpretationVer, "4.1"},
      {&G::InterpretationApp, "Interp"},
      {&G::RecordingApp, "Cart App"},
      {&G::RecordingVer, "2.0"},
      {&G::ModifierApp, "Editor"},
      {&G::ModifierVer, "0.9"},
      {&G::CreatorApp, "KTXSCP32.DLL"},
      {&G::CreatorVer, "1.6"}};
  for (const auto& [field, text] : texts) Put(&(g.*field), text);
  ASSERT_TRUE(writer.LeadErrors.Allocate(2));
  writer.LeadErrors.Errors[0] = SLeadError{1, 0x0003};
  writer.LeadErrors.Errors[1] = SLeadError{2, 0x0000};
  ASSERT_TRUE(writer.UnknownTags.Allocate(230, 3));
  std::copy_n("\x01\x02\x03", 3, writer.UnknownTags.Data[230]);
}

TEST(CreateSec1, DefaultRecordsGiveTheFixedTagSetWithHeaderAndPadding) {
  Section1Writer writer;
  TagList tags = writer.Build();
  EXPECT_EQ(Numbers(tags), (std::vector<int>{5, 8, 14, 25, 26, 200, 203, 204, 212}));
  ExpectTags(tags, "5: 0 0 0 0; 8: 0; 200: 0; 203: 0 0 0 0 0 0 0 0 0 0 0 0");
  EXPECT_EQ(writer.Store.Used, 2);
  EXPECT_EQ(writer.Store.Id(1), 1);
  // 16 + tag records 90 + terminator 3 = 109: odd, so one 0 byte follows.
  const Bytes section = writer.Section();
  ASSERT_EQ(section.size(), 110u);
  EXPECT_EQ(Bytes(section.begin() + 2, section.begin() + 10), (Bytes{1, 0, 110, 0, 0, 0, 11, 0}));
  EXPECT_EQ(section[0] | section[1] << 8, test::Crc16(section.data() + 2, section.size() - 2));

  // Creation mode: the writer is the creator; the modifier tags come from the record.
  writer.SelectWriter(Wide("KTXSCP32.DLL").c_str(), Wide("1.6").c_str());
  Put(&writer.General.CreatorApp, "Cart");
  Put(&writer.General.ModifierApp, "Editor");
  tags = writer.Build();
  EXPECT_EQ(Numbers(tags), (std::vector<int>{5, 8, 14, 25, 26, 200, 203, 204, 208, 210, 211, 212}));
  ExpectTags(tags, "208: 'Editor'; 210: 'KTXSCP32.DLL'; 211: '1.6'");
  EXPECT_EQ(writer.Section().size(), 109u + 10 + 16 + 7);  // even: no padding

  // Update mode: the writer is the modifier; the creator tags stay as read.
  writer.UpdateMode = true;
  tags = writer.Build();
  EXPECT_EQ(Numbers(tags), (std::vector<int>{5, 8, 14, 25, 26, 200, 203, 204, 208, 209, 210, 212}));
  ExpectTags(tags, "208: 'KTXSCP32.DLL'; 209: '1.6'; 210: 'Cart'");
}

// A change to the filled records.
#define CHANGE(statements) [](Section1Writer& w) { statements; }

TEST(CreateSec1, NumbersHaveTheirWidthsUnitsAndConversions) {
  struct Case {
    std::function<void(Section1Writer&)> Change;
    std::string Tags;
  };
  const Case cases[] = {
      {CHANGE(w.Recording.FilterFlags = 0xF3; w.Recording.DataFilterFlags = 0x03),
       "4: 39 0 1; 5: 0xBC 7 6 15; 6: 175 0 1; 7: 70 0 1; 8: 2; 25: 0xE4 7 5 17; 26: 10 20 30;"
       "27: 5 0; 28: 150 0; 29: 2; 203: 0xE5 7 2 0 3 0 4 0 5 0 6 0; 204: 1;"
       "206: 0x64 0x13 1 0; 207: 0xDB 6; 212: 0xF3"},
      // Filter bit map: one power-line bit, muscle and baseline kept, bits 4-7 dropped.
      {CHANGE(w.Recording.DataFilterFlags = 0x0C), "29: 0x0C"},
      {CHANGE(w.Recording.DataFilterFlags = 0xF0), "29: 0"},
      {CHANGE(w.Recording.DataFilterFlags = 0x05), "29: 5"},
      {CHANGE(w.Recording.DataFilterFlags = 0x0B), "29: 0x0A"},
      // Ages: months refine whole years, the division truncates towards zero; without a
      // month of birth it is Y - B.
      {CHANGE(w.Recording.AcquisitionMonth = 0), "4: 40 0 1"},
      {CHANGE(w.Patient.MonthOfBirth = 0), "4: 40 0 1"},
      {CHANGE(w.Patient.YearOfBirth = 2021; w.Patient.MonthOfBirth = 1;
              w.Recording.AcquisitionMonth = 6),
       "4: 0 0 1"},  // -7 months
      {CHANGE(w.Patient.YearOfBirth = 2030; w.Patient.MonthOfBirth = 1;
              w.Recording.AcquisitionMonth = 6),
       "4: 0xF7 0xFF 1"},  // -115 months: -9 years
      // Without a year of birth a held tag 4 is carried; without one there is none.
      {CHANGE(w.Patient.YearOfBirth = 0), "4: -"},
      {CHANGE(w.Patient.YearOfBirth = 0; ASSERT_TRUE(w.UnknownTags.Allocate(4, 3));
              std::copy_n("\x11\x22\x33", 3, w.UnknownTags.Data[4])),
       "4: 0x11 0x22 0x33"},
      // Weight is divided as a signed number; no height or weight, no tags for them.
      {CHANGE(w.Patient.Weight = 0xFFFFFC18), "7: 0xFF 0xFF 1"},
      {CHANGE(w.Patient.Weight = 0; w.Patient.Height = 0), "6: -; 7: -; 206: -; 207: -"}};
  for (const Case& c : cases) {
    Section1Writer writer;
    Fill(writer);
    c.Change(writer);
    ExpectTags(writer.Build(), c.Tags);
  }
}

TEST(CreateSec1, DeviceBlockCarriesModelRevisionAndSerial) {
  Section1Writer writer;
  writer.Recording.DeviceID = 0x1234;
  const std::string block = "14: 1 0 1 0 0x34 0x12 1 100 ";
  const std::string rest = " 10 0xFF 0 0xFF 0 '255.255.255.255' ";
  ExpectTags(writer.Build(), block + "'KTS  '" + rest + "0");
  Put(&writer.Recording.DeviceType, "ABCDEFG");
  ExpectTags(writer.Build(), block + "'ABCDE'" + rest + "0");
  Put(&writer.Recording.DeviceType, "ABC");
  Put(&writer.Recording.ProgramRevision, "1.2");
  Put(&writer.Recording.SerialNumber, "SN9");
  ExpectTags(writer.Build(), block + "'ABC' 0 0" + rest + "4 '1.2' 'SN9'");
}

TEST(CreateSec1, TagsStandInOrderWithTextsLeadErrorsAndUnknownTags) {
  Section1Writer writer;
  Fill(writer);
  Put(&writer.General.CommentText, "");  // empty: no tag
  for (uint8_t tag : {uint8_t{3}, uint8_t{6}}) {
    ASSERT_TRUE(writer.UnknownTags.Allocate(tag, 2));
    std::copy_n("\x33\xEE", 2, writer.UnknownTags.Data[tag]);
  }
  TagList tags = writer.Build();
  EXPECT_EQ(Numbers(tags),
            (std::vector<int>{0,   1,   2,   3,   4,   5,   6,   7,   8,   14,  21,  25,
                              26,  27,  28,  29,  200, 201, 203, 204, 205, 206, 207, 208,
                              209, 210, 211, 212, 213, 214, 215, 216, 217, 218, 219, 230}));
  // A held tag 6 never replaces the height. III, aVR, aVL and aVF inherit the errors of
  // I and II.
  ExpectTags(
      tags,
      "0: 'M\xFCller'; 3: 0x33 0xEE; 6: 175 0 1; 201: 1 'Sinus'; 214: 'Dr. Ren\xE9'; 230: 1 2 3;"
      "200: 6 1 3 0 2 0 0 61 3 0 62 3 0 63 3 0 64 3 0");

  // Without lead II no derived entries can be made; the table is written as it is.
  ASSERT_TRUE(writer.LeadErrors.Allocate(1));
  writer.LeadErrors.Errors[0] = SLeadError{3, 0x0002};
  plat::SetLastError(0);
  ExpectTags(writer.Build(), "200: 1 3 2 0");
  EXPECT_EQ(plat::LastError(), 0u);
}

TEST(CreateSec1, FailuresLeaveTheStoreAsItWas) {
  Section1Writer writer;
  auto expectFailure = [&writer](uint32_t code) {
    const uint16_t used = writer.Store.Used;
    EXPECT_TRUE(test::FailedWith(writer.CreateSec1(), code));
    EXPECT_EQ(writer.Store.Used, used);
    if (writer.Store.Has(used)) {
      EXPECT_EQ(writer.Store.Data(used), nullptr);
      EXPECT_EQ(writer.Store.Length(used), 0u);
    }
  };
  writer.Loaded = 0;
  expectFailure(plat::kErrNoData);
  writer.Loaded = kSection1;

  // Entry 12 needs a dynamic entry; 255 entries are the most a store holds.
  writer.Store.Used = 12;
  expectFailure(plat::kErrOutOfStructures);
  ASSERT_TRUE(writer.Store.Allocate(1));
  EXPECT_TRUE(writer.CreateSec1());
  EXPECT_EQ(writer.Store.Used, 13);
  EXPECT_EQ(writer.Store.Id(12), 1);
  writer.Store.Used = 255;
  expectFailure(plat::kErrOutOfStructures);
  writer.Store.KillData();

  // A tag holds at most 65535 bytes: a longer text is refused, not cut.
  const std::string longest(65534, 'a');
  Put(&writer.General.CommentText, longest.c_str());
  ExpectTags(writer.Build(), "202: '" + longest + "'");
  Put(&writer.General.CommentText, (longest + "a").c_str());
  writer.Store.KillData();
  expectFailure(plat::kErrInvalidData);
  Put(&writer.General.CommentText, "");
  Put(&writer.General.InterpretationText, longest.c_str());  // 1 + 65534 + 1 bytes
  expectFailure(plat::kErrInvalidData);
}

}  // namespace
