// The Section 1 parser on hand-assembled Section 1 bodies.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "reader/reader.h"
#include "reader/section_parsers.h"
#include "support/record_builder.h"
#include "support/section1_bytes.h"
#include "support/temp_folder.h"

namespace {

using test::Body;
using test::Bytes;
using test::EndTag;
using test::Tag;
using test::TextTag;

std::u16string Text(const plat::OleChar* text) {
  if (text == nullptr) return u"(null)";
  std::u16string result;
  for (uint32_t i = 0; i < plat::SysStringLen(text); ++i) {
    result += static_cast<char16_t>(text[i]);
  }
  return result;
}

// Tag 14 data: the 36-byte fixed part, then the revision and serial bytes as given.
Bytes Device(uint16_t id, const std::string& model, const std::string& revision,
             const std::string& serial) {
  Bytes data(36, 0);
  test::PutU16(data, 4, id);
  std::copy(model.begin(), model.end(), data.begin() + 8);
  data[35] = static_cast<uint8_t>(revision.size());
  data.insert(data.end(), revision.begin(), revision.end());
  data.insert(data.end(), serial.begin(), serial.end());
  return data;
}

const Bytes kDate = {0xE8, 0x07, 3, 14};  // 2024-03-14
const Bytes kTime = {9, 30, 15};

class Section1 : public ::testing::Test {
 protected:
  // Writes `body` as the Section 1 of a record and parses it into the given targets.
  bool ParseInto(const Bytes& body, uint8_t version, CPatientInfo* p, CRecordInfo* r,
                 SLeadErrors* e, CGeneralInfo* g, SUnknownTags* u, uint8_t* tally) {
    const std::string path =
        folder.Write("s1.scp", test::RecordBuilder().Section(1, body).Versions(version, 0).Build());
    plat::FileHandle file = plat::kClosedFile;
    uint8_t recordHeader[6];
    uint8_t header[16];
    SSectionIndexes index;
    bool ok = CReader::Open(&file, path.c_str(), recordHeader) &&
              CReader::ReadSectionIndex(file, &index) &&
              CReader::FindSection(file, &index, 1, header);
    if (!ok) ADD_FAILURE() << "record not readable";
    ok = ok && ParseSection1(file, header, p, r, e, g, u, tally);
    error = plat::LastError();
    if (file != plat::kClosedFile) plat::CloseFile(file);
    return ok;
  }
  bool Parse(const Bytes& body, uint8_t version = 11) {
    return ParseInto(body, version, &patient, &recording, &errors, &general, &unknown, &required);
  }

  test::TempFolder folder;
  CPatientInfo patient;
  CRecordInfo recording;
  SLeadErrors errors;
  CGeneralInfo general;
  SUnknownTags unknown;
  uint8_t required = 0xEE;
  uint32_t error = 0;
};

TEST_F(Section1, OnlyTheEndTagResetsEveryTarget) {
  patient.Gender = 2;
  const plat::OleChar name[] = {'X', 0};
  patient.LastName = plat::SysAllocString(name);
  recording.DeviceID = 7;
  general.InterpretationConfirmed = 1;
  ASSERT_TRUE(errors.Allocate(2));
  ASSERT_TRUE(unknown.Allocate(30, 4));
  ASSERT_TRUE(Parse(EndTag()));
  EXPECT_EQ(patient.Gender, 0);
  EXPECT_EQ(recording.DeviceID, 0);
  EXPECT_EQ(general.InterpretationConfirmed, 0);
  EXPECT_EQ(errors.Count, 0);
  EXPECT_EQ(unknown.Data[30], nullptr);
  EXPECT_EQ(required, 0);
  // Names and ID become empty strings, not null ones; other texts stay null.
  for (plat::Bstr text : {patient.LastName, patient.FirstName, patient.PatientId}) {
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(plat::SysStringLen(text), 0u);
  }
  EXPECT_EQ(recording.DeviceType, nullptr);
  EXPECT_EQ(general.CommentText, nullptr);
}

TEST_F(Section1, PatientTextAndNumbers) {
  ASSERT_TRUE(Parse(Body({TextTag(0, "M\xFCller"), TextTag(1, "\x80va"),
                          Tag(2, {'I', 'D', '4', '2'}),  // no NUL: the last byte is cut
                          Tag(5, {0xB2, 0x07, 6, 15}), Tag(8, {2}), EndTag()})));
  EXPECT_EQ(Text(patient.LastName), u"M\u00FCller");
  EXPECT_EQ(Text(patient.FirstName), u"\u20ACva");
  EXPECT_EQ(Text(patient.PatientId), u"ID4");
  EXPECT_EQ(patient.YearOfBirth, 1970);
  EXPECT_EQ(patient.MonthOfBirth, 6);
  EXPECT_EQ(patient.DayOfBirth, 15);
  EXPECT_EQ(patient.Gender, 2);

  // A text ends at its first NUL; a repeated tag replaces the earlier text, an empty one
  // leaves the field null (then empty at the end).
  ASSERT_TRUE(Parse(Body({Tag(0, {'A', 'b', 0, 'c', 'd', 0}), TextTag(1, "Ann"), TextTag(1, "Bo"),
                          TextTag(2, "X"), Tag(2, {}), EndTag()})));
  EXPECT_EQ(Text(patient.LastName), u"Ab");
  EXPECT_EQ(Text(patient.FirstName), u"Bo");
  EXPECT_EQ(Text(patient.PatientId), u"");
}

TEST_F(Section1, Version10CutsLongNamesTo40Bytes) {
  const std::string padded = std::string(30, 'K') + std::string(30, ' ');
  const Bytes body = Body({TextTag(0, padded), TextTag(1, std::string(45, ' ')), TextTag(2, "Id  "),
                           TextTag(21, padded), EndTag()});
  ASSERT_TRUE(Parse(body, 10));
  EXPECT_EQ(Text(patient.LastName), std::u16string(30, u'K'));
  EXPECT_EQ(Text(patient.FirstName), u"");
  EXPECT_EQ(Text(patient.PatientId), u"Id  ");  // 40 bytes or fewer: kept as it is
  EXPECT_EQ(Text(general.OverreadingPhysician).size(), 60u);
  Bytes shortText = {'A', 'b', ' ', ' '};
  shortText.resize(50, 0);  // a short text in a long field loses its blanks too
  ASSERT_TRUE(Parse(Body({Tag(2, shortText), EndTag()}), 10));
  EXPECT_EQ(Text(patient.PatientId), u"Ab");

  ASSERT_TRUE(Parse(body, 11));
  EXPECT_EQ(Text(patient.LastName), std::u16string(30, u'K') + std::u16string(30, u' '));
  EXPECT_EQ(Text(patient.FirstName), std::u16string(45, u' '));
}

TEST_F(Section1, HeightAndWeightUnits) {
  struct Case {
    Bytes body;
    uint16_t height;
    uint32_t weight;
  } cases[] = {
      {Body({Tag(6, {170, 0, 1}), Tag(207, {0xDB, 0x06}), EndTag()}), 1755, 0},
      {Body({Tag(207, {0xDB, 0x06}), Tag(6, {170, 0, 1}), EndTag()}), 1755, 0},
      {Body({Tag(6, {70, 0, 2}), EndTag()}), 1778, 0},  // 70 in
      {Body({Tag(6, {170, 0, 1}), Tag(6, {180, 0, 1}), EndTag()}), 1700, 0},
      {Body({Tag(6, {170, 0, 9}), Tag(6, {0x72, 0x06, 3}), EndTag()}), 1650, 0},
      {Body({Tag(6, {170, 0}), EndTag()}), 0, 0},         // too short
      {Body({Tag(7, {150, 0, 3}), EndTag()}), 0, 68038},  // 150 lb
      {Body({Tag(7, {100, 0, 4}), EndTag()}), 0, 2834},   // 100 oz
      {Body({Tag(7, {80, 0, 1}), Tag(7, {90, 0, 1}), EndTag()}), 0, 80000},
      {Body({Tag(7, {0x88, 0x13, 2}), EndTag()}), 0, 5000},
      {Body({Tag(7, {80, 0, 1}), Tag(206, {0x52, 0x3D, 0x01, 0}), EndTag()}), 0, 81234},
      {Body({Tag(206, {0x52, 0x3D, 0x01, 0}), Tag(7, {80, 0, 1}), EndTag()}), 0, 81234},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Parse(c.body));
    EXPECT_EQ(patient.Height, c.height);
    EXPECT_EQ(patient.Weight, c.weight);
  }
}

TEST_F(Section1, GeneralTags) {
  using G = CGeneralInfo;
  const std::pair<uint8_t, plat::Bstr G::*> texts[] = {
      {21, &G::OverreadingPhysician}, {202, &G::CommentText},
      {205, &G::RecordingId},         {208, &G::ModifierApp},
      {209, &G::ModifierVer},         {210, &G::CreatorApp},
      {211, &G::CreatorVer},          {213, &G::InterpretationPhysician},
      {214, &G::RecordingPhysician},  {215, &G::RecordingLocation},
      {216, &G::InterpretationApp},   {217, &G::InterpretationVer},
      {218, &G::RecordingApp},        {219, &G::RecordingVer}};
  Bytes body = Body({Tag(201, {0x01, 'A', 'B', 'C', 0}), Tag(204, {1}),
                     Tag(203, {0xE7, 0x07, 12, 0, 31, 0, 23, 0, 59, 0, 58, 0})});
  for (const auto& text : texts) {
    const Bytes tag = TextTag(text.first, "t" + std::to_string(text.first));
    body.insert(body.end(), tag.begin(), tag.end());
  }
  ASSERT_TRUE(Parse(Body({body, EndTag()})));
  EXPECT_EQ(general.InterpretationModified, 1);
  EXPECT_EQ(Text(general.InterpretationText), u"ABC");
  EXPECT_EQ(general.InterpretationConfirmed, 1);
  EXPECT_EQ(general.Received.Year, 2023);
  EXPECT_EQ(general.Received.Day, 31);
  EXPECT_EQ(general.Received.Second, 58);
  for (const auto& text : texts) {
    const std::string expected = "t" + std::to_string(text.first);
    EXPECT_EQ(Text(general.*text.second), std::u16string(expected.begin(), expected.end()));
  }

  // A one-byte tag 201 holds only the forced NUL.
  ASSERT_TRUE(Parse(Body({Tag(201, {0x05}), Tag(203, {1, 2, 3}), EndTag()})));
  EXPECT_EQ(general.InterpretationModified, 0);
  EXPECT_EQ(general.InterpretationText, nullptr);
  EXPECT_EQ(general.Received.Year, 0);
}

TEST_F(Section1, RecordingIsKeptOnlyWithDeviceDateAndTime) {
  ASSERT_TRUE(Parse(Body({Tag(14, Device(0x1234, "ECG-1", "2.5", std::string("SN12\0x", 6))),
                          Tag(25, {0xE8, 0x07, 3, 14, 0xAA, 0xBB}),  // longer than needed
                          Tag(26, kTime), Tag(27, {0x38, 0x00}), Tag(28, {40, 0}), Tag(29, {0x03}),
                          Tag(212, {0x0D}), TextTag(0, "Doe"), EndTag()})));
  EXPECT_EQ(required, 1);
  EXPECT_EQ(recording.DeviceID, 0x1234);
  EXPECT_EQ(Text(recording.DeviceType), u"ECG-1");
  EXPECT_EQ(Text(recording.ProgramRevision), u"2.5");  // no NUL: all R bytes
  EXPECT_EQ(Text(recording.SerialNumber), u"SN12");
  const CRecordInfo& r = recording;
  EXPECT_EQ((std::vector<int>{r.AcquisitionYear, r.AcquisitionMonth, r.AcquisitionDay,
                              r.AcquisitionHour, r.AcquisitionMinute, r.AcquisitionSecond}),
            (std::vector<int>{2024, 3, 14, 9, 30, 15}));
  EXPECT_EQ(recording.HighPassCutoff, 56);
  EXPECT_EQ(recording.LowPassCutoff, 40);
  EXPECT_EQ(recording.DataFilterFlags, kFilterPower50Hz);  // both notch bits: 50 Hz
  EXPECT_EQ(recording.FilterFlags, kFilterBaseline | kFilterMuscle | kFilterPower60Hz);
  EXPECT_EQ(Text(patient.LastName), u"Doe");  // still in step after the long tag 25

  ASSERT_TRUE(Parse(Body({Tag(14, Device(7, "M", "", "")), Tag(25, kDate), Tag(26, kTime),
                          Tag(29, {0xF2}), Tag(212, {0xF0}), EndTag()})));
  EXPECT_EQ(recording.DeviceID, 7);
  EXPECT_EQ(recording.ProgramRevision, nullptr);
  EXPECT_EQ(recording.SerialNumber, nullptr);
  EXPECT_EQ(recording.DataFilterFlags, kFilterPower50Hz);
  EXPECT_EQ(recording.FilterFlags, 0);

  // Tag 25 too short: ignored, so the record is reset, but it still counts as present.
  ASSERT_TRUE(Parse(Body({Tag(14, Device(7, "M", "", "")), Tag(25, {0xE8, 0x07}), Tag(26, kTime),
                          Tag(28, {40, 0}), EndTag()})));
  EXPECT_EQ(required, 1);
  EXPECT_EQ(recording.DeviceID, 0);
  EXPECT_EQ(recording.LowPassCutoff, 0);
  EXPECT_EQ(recording.AcquisitionHour, 0);

  ASSERT_TRUE(Parse(Body({Tag(25, kDate), Tag(26, kTime), Tag(14, Bytes(35, 0)), EndTag()})));
  EXPECT_EQ(required, 1);
  EXPECT_EQ(recording.AcquisitionYear, 0);
  ASSERT_TRUE(Parse(Body({Tag(14, Device(7, "M", "", "")), Tag(25, kDate), EndTag()})));
  EXPECT_EQ(required, 0);
  EXPECT_EQ(recording.DeviceID, 0);
}

TEST_F(Section1, LeadErrorsAndUnknownTags) {
  ASSERT_TRUE(Parse(Body({Tag(200, {2, 1, 0x05, 0x00, 2, 0x00, 0x01}), Tag(30, {1, 2, 3}),
                          Tag(30, {9, 8}), Tag(3, {7}), Tag(220, {}), Tag(255, {0xAB})})));
  ASSERT_EQ(errors.Count, 2);
  EXPECT_EQ(+errors.Errors[0].LeadId, 1);
  EXPECT_EQ(+errors.Errors[0].ErrorBits, 0x0005);
  EXPECT_EQ(+errors.Errors[1].LeadId, 2);
  EXPECT_EQ(+errors.Errors[1].ErrorBits, 0x0100);
  ASSERT_EQ(unknown.Length[30], 2);
  EXPECT_EQ(Bytes(unknown.Data[30], unknown.Data[30] + 2), Bytes({9, 8}));
  EXPECT_EQ(unknown.Length[3], 1);
  EXPECT_EQ(unknown.Data[220], nullptr);
  ASSERT_EQ(unknown.Length[255], 1);  // the end tag's own data is kept too
  EXPECT_EQ(unknown.Data[255][0], 0xAB);

  // Only the entries within the tag are read; the next tag is still found.
  ASSERT_TRUE(Parse(Body({Tag(200, {3, 1, 1, 0, 2, 2, 0, 9}), TextTag(0, "Doe"), EndTag()})));
  EXPECT_EQ(errors.Count, 2);
  EXPECT_EQ(Text(patient.LastName), u"Doe");
  // A count of 0, or no entry within the tag: no lead errors.
  ASSERT_TRUE(Parse(Body({Tag(200, {0}), Tag(200, {2, 1}), EndTag()})));
  EXPECT_EQ(errors.Count, 0);
  EXPECT_EQ(errors.Errors, nullptr);
}

TEST_F(Section1, NullTargetsSkipTheirTags) {
  const Bytes body = Body({Tag(14, Device(7, "M", "", "")), Tag(25, kDate), Tag(26, kTime),
                           TextTag(0, "Doe"), Tag(6, {170, 0, 1}), Tag(200, {1, 1, 1, 0}),
                           TextTag(202, "note"), Tag(30, {1}), EndTag()});
  general.InterpretationConfirmed = 3;
  ASSERT_TRUE(ParseInto(body, 11, &patient, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(Text(patient.LastName), u"Doe");
  EXPECT_EQ(patient.Height, 1700);
  EXPECT_EQ(general.InterpretationConfirmed, 3);  // untouched

  ASSERT_TRUE(ParseInto(body, 11, nullptr, &recording, &errors, &general, nullptr, &required));
  EXPECT_EQ(recording.DeviceID, 7);
  EXPECT_EQ(errors.Count, 1);
  EXPECT_EQ(Text(general.CommentText), u"note");
  EXPECT_EQ(required, 1);
}

TEST_F(Section1, RefusesBadArgumentsAndOverrunningTags) {
  uint8_t header[16] = {};
  EXPECT_FALSE(ParseSection1(plat::kClosedFile, header, &patient, nullptr, nullptr, nullptr,
                             nullptr, nullptr));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);
  EXPECT_FALSE(
      ParseInto(Body({EndTag()}), 11, nullptr, nullptr, nullptr, nullptr, &unknown, &required));
  EXPECT_EQ(error, plat::kErrInvalidParameter);
  EXPECT_FALSE(ParseSection1(1, nullptr, &patient, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidParameter);

  const Bytes failing[] = {
      Body({TextTag(0, "Doe")}),                          // no tag 255
      Body({TextTag(0, "Doe"), Bytes{255, 0}}),           // tag header cut off
      Body({Bytes{30, 40, 0, 'a', 'b', 'c'}, EndTag()}),  // data beyond the section
  };
  for (const Bytes& body : failing) {
    EXPECT_FALSE(Parse(body));
    EXPECT_EQ(error, plat::kErrInvalidData);
  }
  // Revision length byte one beyond the tag.
  Bytes device = Device(7, "M", "12", "");
  device[35] = 3;
  // The bytes after the tag would end the section cleanly for a parser that read past it.
  EXPECT_FALSE(Parse(Body({Tag(14, device), Bytes{0xFF, 255, 0, 0}})));
  EXPECT_EQ(error, plat::kErrInvalidData);
}

}  // namespace
