// CreateSec1: the tags, widths and order of a built Section 1, checked byte by byte
// against hand-written values, and records that come back unchanged through a file.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "record/string_field.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"
#include "test_writer.h"
#include "written_tags.h"

namespace {

using test::Bytes;
using test::Text;
using test::Wide;
using TagMap = std::map<int, Bytes>;

void Put(plat::Bstr* field, const char* windows1252) {
  FreeString(field);
  *field = plat::SysAllocString(Wide(windows1252).c_str());
}

plat::WideString Str(const plat::OleChar* text) {
  return text == nullptr ? plat::WideString() : plat::WideString(text);
}

// Builds Section 1 into a fresh store and walks its tags by the layout: number, u16
// length, data, up to the terminator.
struct Section1Writer : TestWriter {
  Section1Writer() { Loaded = kSection1; }

  Bytes Section(uint16_t entry) {
    return Bytes(Store.Data(entry), Store.Data(entry) + Store.Length(entry));
  }

  TagMap Build() {
    Store.KillData();
    Order.clear();
    TagMap tags;
    if (!CreateSec1()) {
      ADD_FAILURE() << "CreateSec1 failed with " << plat::LastError();
      return tags;
    }
    const Bytes section = Section(1);
    for (size_t at = 16; at + 3 <= section.size();) {
      const int number = section[at];
      const size_t length = section[at + 1] | section[at + 2] << 8;
      if (at + 3 + length > section.size()) {
        ADD_FAILURE() << "tag " << number << " runs past the section";
        break;
      }
      tags[number] = Bytes(section.begin() + at + 3, section.begin() + at + 3 + length);
      Order.push_back(number);
      at += 3 + length;
      if (number == 255) break;
    }
    return tags;
  }

  std::vector<int> Order;  // tag numbers as they stand in the last section built
};

const char* const kGeneralTexts[] = {
    "Sinus", "Comment", "Dr. Overread", "Dr. Interpret", "Dr. Ren\xE9", "Station 3", "REC-9",
    "4.1",   "Interp",  "Cart App",     "2.0",           "Editor",      "0.9"};
plat::Bstr CGeneralInfo::*const kGeneralFields[] = {
    &CGeneralInfo::InterpretationText,   &CGeneralInfo::CommentText,
    &CGeneralInfo::OverreadingPhysician, &CGeneralInfo::InterpretationPhysician,
    &CGeneralInfo::RecordingPhysician,   &CGeneralInfo::RecordingLocation,
    &CGeneralInfo::RecordingId,          &CGeneralInfo::InterpretationVer,
    &CGeneralInfo::InterpretationApp,    &CGeneralInfo::RecordingApp,
    &CGeneralInfo::RecordingVer,         &CGeneralInfo::ModifierApp,
    &CGeneralInfo::ModifierVer};

// Every field set, as a created file would carry it.
void Fill(Section1Writer& writer) {
  writer.SelectWriter(Wide("KTXSCP32.DLL").c_str(), Wide("1.6").c_str());
  CPatientInfo& patient = writer.Patient;
  Put(&patient.LastName, "M\xFCller");
  Put(&patient.FirstName, "Zo\xEB");
  Put(&patient.PatientId, "P-0042");
  patient.Gender = 2;
  patient.YearOfBirth = 1980;
  patient.MonthOfBirth = 6;
  patient.DayOfBirth = 15;
  patient.Height = 1755;
  patient.Weight = 70500;
  CRecordInfo& recording = writer.Recording;
  recording.AcquisitionYear = 2020;
  recording.AcquisitionMonth = 5;
  recording.AcquisitionDay = 17;
  recording.AcquisitionHour = 10;
  recording.AcquisitionMinute = 20;
  recording.AcquisitionSecond = 30;
  recording.HighPassCutoff = 5;
  recording.LowPassCutoff = 150;
  recording.DeviceID = 77;
  Put(&recording.DeviceType, "ECG");
  Put(&recording.ProgramRevision, "R3");
  Put(&recording.SerialNumber, "SN-123");
  recording.FilterFlags = 0x0E;
  recording.DataFilterFlags = 0x09;
  CGeneralInfo& general = writer.General;
  general.Received = SDateTime{2021, 2, 3, 4, 5, 6};
  general.InterpretationConfirmed = 1;
  general.InterpretationModified = 1;
  for (size_t i = 0; i < std::size(kGeneralFields); ++i) {
    Put(&(general.*kGeneralFields[i]), kGeneralTexts[i]);
  }
  Put(&general.CreatorApp, "KTXSCP32.DLL");
  Put(&general.CreatorVer, "1.6");
  ASSERT_TRUE(writer.LeadErrors.Allocate(2));
  writer.LeadErrors.Errors[0] = SLeadError{1, 0x0003};
  writer.LeadErrors.Errors[1] = SLeadError{2, 0x0000};
  ASSERT_TRUE(writer.UnknownTags.Allocate(230, 3));
  std::copy_n("\x01\x02\x03", 3, writer.UnknownTags.Data[230]);
}

TEST(CreateSec1, DefaultRecordsGiveTheFixedTagSetWithHeaderAndPadding) {
  Section1Writer writer;
  TagMap tags = writer.Build();
  EXPECT_EQ(writer.Order, (std::vector<int>{5, 8, 14, 25, 26, 200, 203, 204, 212, 255}));
  EXPECT_EQ(tags[5], Bytes(4, 0));
  EXPECT_EQ(tags[8], Bytes{0});
  EXPECT_EQ(tags[200], Bytes{0});
  EXPECT_EQ(tags[203], Bytes(12, 0));
  EXPECT_EQ(writer.Store.Used, 2);
  EXPECT_EQ(writer.Store.Id(1), 1);

  // 16 + tag records 90 + terminator 3 = 109: odd, so one 0 byte follows.
  const Bytes section = writer.Section(1);
  ASSERT_EQ(section.size(), 110u);
  EXPECT_EQ(Bytes(section.begin() + 106, section.end()), (Bytes{255, 0, 0, 0}));
  EXPECT_EQ(section[2] | section[3] << 8, 1);
  EXPECT_EQ(CReader::ReadU32(section.data() + 4), 110u);
  EXPECT_EQ(section[8], 11);
  EXPECT_EQ(section[9], 0);
  EXPECT_EQ(section[0] | section[1] << 8, test::Crc16(section.data() + 2, section.size() - 2));

  // Creation mode: the writer is the creator; the modifier tags come from the record.
  writer.SelectWriter(Wide("KTXSCP32.DLL").c_str(), Wide("1.6").c_str());
  Put(&writer.General.CreatorApp, "Cart");
  Put(&writer.General.ModifierApp, "Editor");
  tags = writer.Build();
  EXPECT_EQ(writer.Order,
            (std::vector<int>{5, 8, 14, 25, 26, 200, 203, 204, 208, 210, 211, 212, 255}));
  EXPECT_EQ(tags[208], Text("Editor"));
  EXPECT_EQ(tags[210], Text("KTXSCP32.DLL"));
  EXPECT_EQ(tags[211], Text("1.6"));
  EXPECT_EQ(writer.Section(1).size(), 109u + 10 + 16 + 7);  // even: no padding

  // Update mode: the writer is the modifier; the creator tags stay as read.
  writer.UpdateMode = true;
  tags = writer.Build();
  EXPECT_EQ(writer.Order,
            (std::vector<int>{5, 8, 14, 25, 26, 200, 203, 204, 208, 209, 210, 212, 255}));
  EXPECT_EQ(tags[208], Text("KTXSCP32.DLL"));
  EXPECT_EQ(tags[209], Text("1.6"));
  EXPECT_EQ(tags[210], Text("Cart"));
}

TEST(CreateSec1, NumbersHaveTheirWidthsUnitsAndConversions) {
  Section1Writer writer;
  Fill(writer);
  CPatientInfo& patient = writer.Patient;
  CRecordInfo& recording = writer.Recording;
  recording.FilterFlags = 0xF3;
  recording.DataFilterFlags = 0x03;
  TagMap tags = writer.Build();
  EXPECT_EQ(tags[4], (Bytes{39, 0, 1}));
  EXPECT_EQ(tags[5], (Bytes{0xBC, 0x07, 6, 15}));
  EXPECT_EQ(tags[6], (Bytes{175, 0, 1}));
  EXPECT_EQ(tags[7], (Bytes{70, 0, 1}));
  EXPECT_EQ(tags[8], Bytes{2});
  EXPECT_EQ(tags[25], (Bytes{0xE4, 0x07, 5, 17}));
  EXPECT_EQ(tags[26], (Bytes{10, 20, 30}));
  EXPECT_EQ(tags[27], (Bytes{5, 0}));
  EXPECT_EQ(tags[28], (Bytes{150, 0}));
  EXPECT_EQ(tags[29], Bytes{0x02});
  EXPECT_EQ(tags[203], (Bytes{0xE5, 0x07, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0}));
  EXPECT_EQ(tags[204], Bytes{1});
  EXPECT_EQ(tags[206], (Bytes{0x64, 0x13, 0x01, 0x00}));
  EXPECT_EQ(tags[207], (Bytes{0xDB, 0x06}));
  EXPECT_EQ(tags[212], Bytes{0xF3});

  // Filter bit map: one power-line bit, muscle and baseline kept, bits 4-7 dropped.
  for (auto [in, out] : std::vector<std::pair<uint8_t, uint8_t>>{
           {0x0C, 0x0C}, {0xF0, 0x00}, {0x05, 0x05}, {0x0B, 0x0A}}) {
    recording.DataFilterFlags = in;
    EXPECT_EQ(writer.Build()[29], Bytes{out}) << +in;
  }

  // Ages: months refine whole years, the division truncates towards zero.
  recording.AcquisitionMonth = 0;
  EXPECT_EQ(writer.Build()[4], (Bytes{40, 0, 1}));
  patient.MonthOfBirth = 0;
  recording.AcquisitionMonth = 5;
  EXPECT_EQ(writer.Build()[4], (Bytes{40, 0, 1}));  // no month of birth: Y - B
  patient.YearOfBirth = 2021;
  patient.MonthOfBirth = 1;
  recording.AcquisitionMonth = 6;
  EXPECT_EQ(writer.Build()[4], (Bytes{0, 0, 1}));  // -7 months
  patient.YearOfBirth = 2030;
  EXPECT_EQ(writer.Build()[4], (Bytes{0xF7, 0xFF, 1}));  // -115 months: -9 years

  // Without a year of birth a held tag 4 is carried; without one there is none.
  patient.YearOfBirth = 0;
  EXPECT_EQ(writer.Build().count(4), 0u);
  ASSERT_TRUE(writer.UnknownTags.Allocate(4, 3));
  std::copy_n("\x11\x22\x33", 3, writer.UnknownTags.Data[4]);
  EXPECT_EQ(writer.Build()[4], (Bytes{0x11, 0x22, 0x33}));

  // Weight is divided as a signed number.
  patient.Weight = 0xFFFFFC18;  // -1000
  EXPECT_EQ(writer.Build()[7], (Bytes{0xFF, 0xFF, 1}));
  patient.Weight = 0;
  patient.Height = 0;
  tags = writer.Build();
  for (int omitted : {6, 7, 206, 207}) EXPECT_EQ(tags.count(omitted), 0u) << omitted;
}

TEST(CreateSec1, DeviceBlockCarriesModelRevisionAndSerial) {
  Section1Writer writer;
  writer.Recording.DeviceID = 0x1234;
  Bytes block = {1, 0, 1, 0, 0x34, 0x12, 1, 100, 'K', 'T', 'S', ' ', ' ', 0, 10, 0xFF, 0, 0xFF, 0};
  for (char c : std::string("255.255.255.255")) block.push_back(static_cast<uint8_t>(c));
  block.push_back(0);
  block.push_back(0);
  ASSERT_EQ(block.size(), 36u);
  EXPECT_EQ(writer.Build()[14], block);

  Put(&writer.Recording.DeviceType, "ABCDEFG");
  Bytes expected = block;
  std::copy_n("ABCDE\0", 6, expected.begin() + 8);
  EXPECT_EQ(writer.Build()[14], expected);

  Put(&writer.Recording.DeviceType, "ABC");
  Put(&writer.Recording.ProgramRevision, "1.2");
  Put(&writer.Recording.SerialNumber, "SN9");
  std::copy_n("ABC\0\0\0", 6, expected.begin() + 8);
  expected[35] = 4;
  for (uint8_t b : Text("1.2")) expected.push_back(b);
  for (uint8_t b : Text("SN9")) expected.push_back(b);
  EXPECT_EQ(writer.Build()[14], expected);
}

TEST(CreateSec1, TagsStandInOrderWithTextsLeadErrorsAndUnknownTags) {
  Section1Writer writer;
  Fill(writer);
  Put(&writer.General.CommentText, "");  // empty: no tag
  for (uint8_t tag : {uint8_t{3}, uint8_t{6}}) {
    ASSERT_TRUE(writer.UnknownTags.Allocate(tag, 2));
    std::copy_n("\x33\xEE", 2, writer.UnknownTags.Data[tag]);
  }
  TagMap tags = writer.Build();
  EXPECT_EQ(writer.Order,
            (std::vector<int>{0,   1,   2,   3,   4,   5,   6,   7,   8,   14,  21,  25,  26,
                              27,  28,  29,  200, 201, 203, 204, 205, 206, 207, 208, 209, 210,
                              211, 212, 213, 214, 215, 216, 217, 218, 219, 230, 255}));
  EXPECT_EQ(tags[0], (Bytes{'M', 0xFC, 'l', 'l', 'e', 'r', 0}));
  EXPECT_EQ(tags[3], (Bytes{0x33, 0xEE}));
  EXPECT_EQ(tags[6], (Bytes{175, 0, 1}));  // a held tag 6 never replaces the height
  EXPECT_EQ(tags[201], (Bytes{1, 'S', 'i', 'n', 'u', 's', 0}));
  EXPECT_EQ(tags[214], (Bytes{'D', 'r', '.', ' ', 'R', 'e', 'n', 0xE9, 0}));
  EXPECT_EQ(tags[230], (Bytes{1, 2, 3}));
  // III, aVR, aVL and aVF inherit the errors of I and II.
  EXPECT_EQ(tags[200], (Bytes{6, 1, 3, 0, 2, 0, 0, 61, 3, 0, 62, 3, 0, 63, 3, 0, 64, 3, 0}));

  // Without lead II no derived entries can be made; the table is written as it is.
  ASSERT_TRUE(writer.LeadErrors.Allocate(1));
  writer.LeadErrors.Errors[0] = SLeadError{3, 0x0002};
  plat::SetLastError(0);
  EXPECT_EQ(writer.Build()[200], (Bytes{1, 3, 2, 0}));
  EXPECT_EQ(plat::LastError(), 0u);
}

TEST(CreateSec1, FailuresLeaveTheStoreAsItWas) {
  Section1Writer writer;
  auto expectFailure = [&writer](uint32_t code) {
    const uint16_t used = writer.Store.Used;
    EXPECT_FALSE(writer.CreateSec1());
    EXPECT_EQ(plat::LastError(), code);
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
  EXPECT_EQ(writer.Build()[202].size(), 65535u);
  Put(&writer.General.CommentText, (longest + "a").c_str());
  writer.Store.KillData();
  expectFailure(plat::kErrInvalidData);
  Put(&writer.General.CommentText, "");
  Put(&writer.General.InterpretationText, longest.c_str());  // 1 + 65534 + 1 bytes
  expectFailure(plat::kErrInvalidData);
}

TEST(CreateSec1, RecordsComeBackThroughAWrittenFile) {
  test::TempFolder folder;
  const std::string path = folder.File("s1.scp");
  {
    Section1Writer writer;
    Fill(writer);
    ASSERT_TRUE(writer.CreateSec1());
    ASSERT_TRUE(writer.WriteSections(path.c_str()));
    writer.Close();
  }
  bool valid = false;
  EXPECT_TRUE(CReader::CheckCrc(path.c_str(), &valid));
  EXPECT_TRUE(valid);

  CReader reader;
  uint16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path.c_str(), &loaded, kSection1));
  ASSERT_TRUE(loaded & kSection1);
  const CPatientInfo& p = reader.Patient;
  EXPECT_EQ(Str(p.LastName), Wide("M\xFCller"));
  EXPECT_EQ(Str(p.FirstName), Wide("Zo\xEB"));
  EXPECT_EQ(Str(p.PatientId), Wide("P-0042"));
  EXPECT_EQ(std::vector<uint32_t>(
                {p.Gender, p.YearOfBirth, p.MonthOfBirth, p.DayOfBirth, p.Height, p.Weight}),
            std::vector<uint32_t>({2, 1980, 6, 15, 1755, 70500}));
  const CRecordInfo& r = reader.Recording;
  EXPECT_EQ(std::vector<uint32_t>({r.AcquisitionYear, r.AcquisitionMonth, r.AcquisitionDay,
                                   r.AcquisitionHour, r.AcquisitionMinute, r.AcquisitionSecond,
                                   r.HighPassCutoff, r.LowPassCutoff, r.DeviceID, r.FilterFlags,
                                   r.DataFilterFlags}),
            std::vector<uint32_t>({2020, 5, 17, 10, 20, 30, 5, 150, 77, 0x0E, 0x09}));
  EXPECT_EQ(Str(r.DeviceType), Wide("ECG"));
  EXPECT_EQ(Str(r.ProgramRevision), Wide("R3"));
  EXPECT_EQ(Str(r.SerialNumber), Wide("SN-123"));
  const CGeneralInfo& g = reader.General;
  EXPECT_EQ(std::vector<uint32_t>({g.Received.Year, g.Received.Month, g.Received.Day,
                                   g.Received.Hour, g.Received.Minute, g.Received.Second,
                                   g.InterpretationConfirmed, g.InterpretationModified}),
            std::vector<uint32_t>({2021, 2, 3, 4, 5, 6, 1, 1}));
  for (size_t i = 0; i < std::size(kGeneralFields); ++i) {
    EXPECT_EQ(Str(g.*kGeneralFields[i]), Wide(kGeneralTexts[i])) << i;
  }
  EXPECT_EQ(Str(g.CreatorApp), Wide("KTXSCP32.DLL"));
  EXPECT_EQ(Str(g.CreatorVer), Wide("1.6"));
  // The table as written: I and II, then the four derived leads with I | II.
  ASSERT_EQ(reader.LeadErrors.Count, 6);
  for (unsigned i = 0; i < 6; ++i) {
    EXPECT_EQ(reader.LeadErrors.Errors[i].LeadId, (Bytes{1, 2, 61, 62, 63, 64}[i]));
    EXPECT_EQ(+reader.LeadErrors.Errors[i].ErrorBits, i == 1 ? 0 : 3);
  }
  // Tags no record takes: the age (39 years) and the manufacturer tag.
  ASSERT_EQ(reader.UnknownTags.Length[4], 3);
  EXPECT_EQ(Bytes(reader.UnknownTags.Data[4], reader.UnknownTags.Data[4] + 3), (Bytes{39, 0, 1}));
  ASSERT_EQ(reader.UnknownTags.Length[230], 3);
  EXPECT_EQ(Bytes(reader.UnknownTags.Data[230], reader.UnknownTags.Data[230] + 3),
            (Bytes{1, 2, 3}));
}

}  // namespace
