// EDF and EDF+ files written with EDFlib, CSV text and lead names: what the importer
// makes of each, edge cases of names and units included.
#include <edflib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "interchange/csv_import.h"
#include "interchange/edf_import.h"
#include "interchange/lead_names.h"
#include "support/temp_folder.h"

namespace {

TEST(LeadNames, SpellingsFilesUse) {
  const struct {
    const char* Name;
    int Code;
  } names[] = {
      {"I", 1},     {"ii", 2},     {"III", 61},      {"avr", 62},   {"aVL", 63}, {"AVF", 64},
      {"V1 ", 3},   {"\"v6\"", 8}, {"MLII", 2},      {"MLIII", 61}, {"D1", 1},   {"DIII", 61},
      {"ECG I", 1}, {"EKG-V2", 4}, {"Lead_aVR", 62}, {"-aVR", 65},  {"V4R", 12}, {"V8", 66},
      {"Resp", 0},  {"", 0},       {"ECG", 0},       {"V", 0},      {"IV", 0},
  };
  for (const auto& n : names) EXPECT_EQ(LeadCodeFromName(n.Name), n.Code) << n.Name;
}

// The digital samples of second `second` of I and of V2.
int SampleOfI(int second, int i) {
  return second * 1000 + i * 10;
}
int SampleOfV2(int second, int i) {
  return -(second * 100 + i);
}

// Writes `path` with EDFlib: 2 seconds of I (uV, 0.1 uV a unit), V2 (mV, 1/2047 mV a
// unit) and Resp (%), and the EDF+ patient fields.
void WriteEdfPlus(const std::string& path, int respRate) {
  const int handle = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS, 3);
  ASSERT_GE(handle, 0);
  const struct {
    const char* Label;
    const char* Units;
    double Physical;
    int Digital;
    int Rate;
  } signals[] = {{"ECG I", "uV", 3276.7, 32767, 200},
                 {"V2", "mV", 5, 2047, 200},
                 {"Resp", "%", 100, 100, respRate}};
  for (int i = 0; i < 3; ++i) {
    edf_set_samplefrequency(handle, i, signals[i].Rate);
    edf_set_physical_maximum(handle, i, signals[i].Physical);
    edf_set_physical_minimum(handle, i, -signals[i].Physical);
    edf_set_digital_maximum(handle, i, signals[i].Digital);
    edf_set_digital_minimum(handle, i, -signals[i].Digital);
    edf_set_label(handle, i, signals[i].Label);
    edf_set_physical_dimension(handle, i, signals[i].Units);
  }
  edf_set_startdatetime(handle, 2021, 3, 4, 5, 6, 7);
  edf_set_patientname(handle, "Doe_Jane");
  edf_set_patientcode(handle, "P-17");
  edf_set_gender(handle, 0);
  edf_set_birthdate(handle, 1950, 7, 8);
  edf_set_equipment(handle, "Cardio_9");
  for (int second = 0; second < 2; ++second) {
    std::vector<int> block;
    for (int i = 0; i < 200; ++i) block.push_back(SampleOfI(second, i));
    for (int i = 0; i < 200; ++i) block.push_back(SampleOfV2(second, i));
    for (int i = 0; i < respRate; ++i) block.push_back(i % 100);  // Resp
    ASSERT_EQ(edf_blockwrite_digital_samples(handle, block.data()), 0);
  }
  ASSERT_EQ(edfclose_file(handle), 0);
}

// EDFlib writes EDF+ only: plain EDF by hand, its 256-byte header, the signals' fields
// (16, 80, 8, 8, 8, 8, 8, 80, 8 and 32 characters each) and the records.
test::Bytes PlainEdf() {
  auto field = [](std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
  };
  std::string header = field("0", 8) + field("P-17 plain", 80) + field("Cardio 9 plain", 80) +
                       "04.03.21" + "05.06.07" + field("768", 8) + field("", 44) + field("2", 8) +
                       field("1", 8) + field("2", 4);
  const char* columns[][2] = {
      {"ECG I", "V2"},     {"", ""},          {"uV", "mV"}, {"-3276.7", "-5"}, {"3276.7", "5"},
      {"-32767", "-2047"}, {"32767", "2047"}, {"", ""},     {"200", "200"},    {"", ""}};
  const size_t widths[] = {16, 80, 8, 8, 8, 8, 8, 80, 8, 32};
  for (size_t c = 0; c < 10; ++c)
    header += field(columns[c][0], widths[c]) + field(columns[c][1], widths[c]);
  test::Bytes bytes(header.begin(), header.end());
  for (int second = 0; second < 2; ++second) {
    for (int i = 0; i < 200; ++i)
      test::AppendU16(bytes, static_cast<uint16_t>(SampleOfI(second, i)));
    for (int i = 0; i < 200; ++i)
      test::AppendU16(bytes, static_cast<uint16_t>(SampleOfV2(second, i)));
  }
  return bytes;
}

TEST(EdfImport, PhysicalValuesUnitsAndPatient) {
  test::TempFolder folder;
  for (const bool plus : {true, false}) {
    SCOPED_TRACE(plus ? "EDF+" : "EDF");
    std::string path = folder.File("plus.edf");
    if (plus) {
      WriteEdfPlus(path, 200);
    } else {
      path = folder.Write("plain.edf", PlainEdf());
    }
    SSignalSet set;
    std::string why;
    ASSERT_TRUE(ImportEdf(path, {}, &set, &why)) << why;
    EXPECT_EQ(set.Rate, 200);
    ASSERT_EQ(set.Signals.size(), 2u);
    ASSERT_EQ(set.Notes.size(), plus ? 1u : 0u);
    if (plus) {
      EXPECT_EQ(set.Notes[0], "left out signal 3 (Resp): its units '%' are not a voltage");
    }
    EXPECT_EQ(set.Signals[0].LeadCode, 1);
    EXPECT_EQ(set.Signals[1].LeadCode, 4);
    ASSERT_EQ(set.Signals[0].Microvolts.size(), 400u);
    // I: 0.1 uV a unit; V2: 5000 uV over 2047 units, negative.
    // EDF keeps the physical range in 8 characters: 3276.7 comes back a hair off.
    EXPECT_NEAR(set.Signals[0].StepNv, 100, 0.01);
    EXPECT_NEAR(set.Signals[0].Microvolts[201], 101.0, 0.01);
    EXPECT_NEAR(set.Signals[1].Microvolts[201], -101 * 5000.0 / 2047, 1e-6);
    EXPECT_EQ(set.Source.Acquired.Year, 2021);
    EXPECT_EQ(set.Source.Acquired.Second, 7);
    if (plus) {
      EXPECT_EQ(set.Source.PatientId, "P-17");
      EXPECT_EQ(set.Source.LastName, "Doe Jane");
      EXPECT_EQ(set.Source.Gender, 2);
      EXPECT_EQ(set.Source.BirthYear, 1950);
      EXPECT_EQ(set.Source.Device, "Cardio 9");
    } else {
      EXPECT_EQ(set.Source.PatientId, "P-17 plain");
      EXPECT_EQ(set.Source.Device, "Cardio 9 plain");
    }
  }
  // Leads of two rates: refused unless one rate is chosen.
  const std::string path = folder.File("rates.edf");
  WriteEdfPlus(path, 25);
  SSignalSet set;
  std::string why;
  EXPECT_TRUE(ImportEdf(path, SImportOptions{{"v2", "1"}}, &set, &why)) << why;
  EXPECT_EQ(set.Signals[0].Name, "V2");
  EXPECT_FALSE(ImportEdf(path, SImportOptions{{"Resp"}}, &set, &why));
  EXPECT_NE(why.find("Resp is in '%', not a voltage"), std::string::npos) << why;
  EXPECT_FALSE(ImportEdf(folder.File("none.edf"), {}, &set, &why));
  EXPECT_NE(why.find("no such file"), std::string::npos) << why;
}

TEST(CsvImport, NamesUnitsSeparatorsAndRefusals) {
  SImportOptions microvolts;
  microvolts.Rate = 500;
  SImportOptions millivolts = microvolts;
  millivolts.MicrovoltsPerUnit = 1000;
  SImportOptions chosen = microvolts;
  chosen.Leads = {"2", "i"};
  const struct {
    const char* Name;
    std::string Text;
    SImportOptions Options;
    std::vector<std::string> Names;
    std::vector<std::vector<double>> Values;  // NaN written as 9999
  } cases[] = {
      {"plain",
       "I,II,Resp\n1,2,3\n-4.5,5e1,nan\n",
       microvolts,
       {"I", "II", "Resp"},
       {{1, -4.5}, {2, 50}, {3, 9999}}},
      {"millivolts", "V1\n0.5\n-1.25\n", millivolts, {"V1"}, {{500, -1250}}},
      {"bom, semicolons, quotes, CRLF, time column",
       "\xEF\xBB\xBFtime;\"I\";' aVR '\r\n0;1;2\r\n0.002;3;4\r\n\r\n",
       microvolts,
       {"I", "aVR"},
       {{1, 3}, {2, 4}}},
      {"tabs, chosen leads", "I\tII\n1\t2\n", chosen, {"II", "I"}, {{2}, {1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SSignalSet set;
    std::string why;
    ASSERT_TRUE(ParseCsvSignals(c.Text, c.Options, &set, &why)) << why;
    EXPECT_EQ(set.Rate, 500);
    ASSERT_EQ(set.Signals.size(), c.Names.size());
    for (size_t i = 0; i < c.Names.size(); ++i) {
      EXPECT_EQ(set.Signals[i].Name, c.Names[i]);
      ASSERT_EQ(set.Signals[i].Microvolts.size(), c.Values[i].size());
      for (size_t s = 0; s < c.Values[i].size(); ++s) {
        const double got = set.Signals[i].Microvolts[s];
        EXPECT_EQ(std::isnan(got) ? 9999 : got, c.Values[i][s]);
      }
    }
  }
  const struct {
    std::string Text;
    SImportOptions Options;
    const char* Why;
  } refused[] = {
      {"I,II\n1,2\n3\n", microvolts, "row 3 has 1 fields, the header 2"},
      {"I,II\n1,x\n", microvolts, "row 2, column 2: 'x' is not a number"},
      {"I,II\n", microvolts, "the file has a header row and no samples"},
      {"", microvolts, "the file is empty"},
      {"I\n1\n", SImportOptions{}, "a CSV file needs its sampling rate (--rate)"},
      {"I,II\n1,2\n", SImportOptions{{"V3"}, 0, 500, 1}, "no lead 'V3' among I, II"},
  };
  for (const auto& r : refused) {
    SSignalSet set;
    std::string why;
    EXPECT_FALSE(ParseCsvSignals(r.Text, r.Options, &set, &why)) << r.Text;
    EXPECT_EQ(why, r.Why);
  }
}

}  // namespace
