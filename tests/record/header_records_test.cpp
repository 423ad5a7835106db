// The header records: refused copies and string ownership.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record/analysis_info.h"
#include "record/general_info.h"
#include "record/patient_info.h"
#include "record/record_info.h"
#include "record/string_field.h"

namespace {

plat::Bstr Make(const std::string& ascii) {
  const plat::WideString wide(ascii.begin(), ascii.end());
  return plat::SysAllocStringLen(wide.data(), static_cast<uint32_t>(wide.size()));
}

std::string Ascii(const plat::OleChar* text) {
  if (text == nullptr) return "(null)";
  std::string result;
  for (uint32_t i = 0; i < plat::SysStringLen(text); ++i) result += static_cast<char>(text[i]);
  return result;
}

TEST(HeaderRecords, SetRefusesOldSourcesAndIgnoresNull) {
  CPatientInfo source;
  source.Gender = 1;
  source.LastName = Make("Doe");
  source.Version = 0;
  CPatientInfo target;
  target.Height = 1800;
  target.FirstName = Make("Jo");
  target.Set(&source);  // refused: the target is reset and takes the old version
  EXPECT_EQ((std::vector<int>{target.GetVersion(), target.Gender, target.Height}),
            std::vector<int>(3, 0));
  EXPECT_EQ(Ascii(target.LastName) + Ascii(target.FirstName), "(null)(null)");
  source.Version = 1;  // a refused record takes a later copy like any other
  target.Set(&source);
  EXPECT_EQ(target.GetVersion(), 1);
  EXPECT_EQ(Ascii(target.LastName), "Doe");
  CGeneralInfo general;
  general.Received.Year = 2020;
  general.CommentText = Make("note");
  general.Set(nullptr);
  EXPECT_EQ(general.Received.Year, 2020);
  EXPECT_EQ(Ascii(general.CommentText), "note");
  const CPatientInfo fromNull(static_cast<const CPatientInfo*>(nullptr));
  EXPECT_EQ(fromNull.LastName, nullptr);
  EXPECT_EQ(fromNull.GetVersion(), 1);
}

TEST(HeaderRecords, CopiesOwnTheirStrings) {
  CRecordInfo source;
  source.DeviceID = 9;
  source.SerialNumber = Make("SN1");
  CRecordInfo set;
  set.Set(&source);
  CRecordInfo constructed(source);
  CRecordInfo assigned;
  assigned = source;
  FreeString(&source.SerialNumber);
  source.SerialNumber = Make("changed");
  for (const CRecordInfo* copy : {&set, &constructed, &assigned}) {
    EXPECT_EQ(copy->DeviceID, 9);
    EXPECT_EQ(Ascii(copy->SerialNumber), "SN1");
  }
  EXPECT_NE(set.SerialNumber, constructed.SerialNumber);
  CGeneralInfo general;
  general.ModifierApp = Make("app");
  CGeneralInfo generalCopy(general);
  FreeString(&general.ModifierApp);
  EXPECT_EQ(Ascii(generalCopy.ModifierApp), "app");
}

TEST(HeaderRecords, AnalysisDefaultsKeepStaleCodes) {
  CAnalysisInfo analysis;
  for (uint16_t i = 0; i < 7; ++i) analysis.MorphologyCode[i] = static_cast<uint16_t>(100 + i);
  analysis.RhythmCode[2] = 33;
  analysis.MorphologyCodes = 7;
  analysis.RhythmCodes = 3;
  analysis.Measurements.QRSAxis = 60;
  const CAnalysisInfo copy(analysis);
  EXPECT_EQ((std::vector<int>{copy.MorphologyCode[6], copy.RhythmCodes, copy.Measurements.QRSAxis}),
            (std::vector<int>{106, 3, 60}));
  analysis.SetDefault();  // counts and measurements reset, the codes stay
  EXPECT_EQ(
      (std::vector<int>{analysis.MorphologyCodes, analysis.RhythmCodes, analysis.MorphologyCode[6],
                        analysis.RhythmCode[2], analysis.Measurements.QRSAxis}),
      (std::vector<int>{0, 0, 106, 33, 0}));
}

}  // namespace
