// WFDB records made by hand in every format the importer reads, their headers' fields
// and refusals, and the annotation format, byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "interchange/wfdb_annotations.h"
#include "interchange/wfdb_header.h"
#include "interchange/wfdb_import.h"
#include "interchange/wfdb_record.h"
#include "support/temp_folder.h"

namespace {

using test::Bytes;

// Three signals of four frames, in ADC units; the third signal's second sample is the
// format's invalid value where the format has one in range.
struct FormatCase {
  const char* Name;
  std::string FileName;
  std::string FormatField;
  std::vector<std::vector<int>> Adc;
  Bytes (*Encode)(const std::vector<std::vector<int>>&);
};

void Put16(Bytes& b, int v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

Bytes Interleaved(const std::vector<std::vector<int>>& adc, void (*put)(Bytes&, int)) {
  Bytes bytes;
  for (size_t frame = 0; frame < adc[0].size(); ++frame) {
    for (const auto& signal : adc) put(bytes, signal[frame]);
  }
  return bytes;
}

Bytes Format16(const std::vector<std::vector<int>>& adc) {
  return Interleaved(adc, Put16);
}

Bytes Format80(const std::vector<std::vector<int>>& adc) {
  return Interleaved(adc, [](Bytes& b, int v) { b.push_back(static_cast<uint8_t>(v + 128)); });
}

// Pairs of the interleaved stream in three bytes: low byte of the first; its high
// nibble in the low half of the middle byte, the second's in the high half; low byte
// of the second.
Bytes Format212(const std::vector<std::vector<int>>& adc) {
  std::vector<int> flat;
  for (size_t frame = 0; frame < adc[0].size(); ++frame) {
    for (const auto& signal : adc) flat.push_back(signal[frame]);
  }
  Bytes bytes;
  for (size_t i = 0; i < flat.size(); i += 2) {
    const int a = flat[i] & 0xFFF;
    const int b = i + 1 < flat.size() ? flat[i + 1] & 0xFFF : 0;
    bytes.push_back(static_cast<uint8_t>(a & 0xFF));
    bytes.push_back(static_cast<uint8_t>((a >> 8) | ((b >> 8) << 4)));
    bytes.push_back(static_cast<uint8_t>(b & 0xFF));
  }
  return bytes;
}

// MAT v4, little-endian int16 (type 30), a row per signal: header, "val", columns.
Bytes MatInt16(const std::vector<std::vector<int>>& adc) {
  Bytes bytes;
  for (uint32_t word : {30u, 3u, 4u, 0u, 4u}) {
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(word >> (8 * k)));
  }
  for (char c : {'v', 'a', 'l', '\0'}) bytes.push_back(static_cast<uint8_t>(c));
  const Bytes data = Format16(adc);
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

// MAT v4, big-endian doubles (type 1000), named "x".
Bytes MatDoubleBigEndian(const std::vector<std::vector<int>>& adc) {
  Bytes bytes;
  for (uint32_t word : {1000u, 3u, 4u, 0u, 2u}) {
    for (int k = 3; k >= 0; --k) bytes.push_back(static_cast<uint8_t>(word >> (8 * k)));
  }
  bytes.push_back('x');
  bytes.push_back(0);
  for (size_t frame = 0; frame < 4; ++frame) {
    for (const auto& signal : adc) {
      const double value = signal[frame];
      uint64_t bits = 0;
      std::memcpy(&bits, &value, 8);
      for (int k = 7; k >= 0; --k) bytes.push_back(static_cast<uint8_t>(bits >> (8 * k)));
    }
  }
  return bytes;
}

int Checksum(const std::vector<int>& samples) {
  int sum = 0;
  for (int v : samples) sum += v;
  return static_cast<int16_t>(sum & 0xFFFF);
}

TEST(WfdbImport, EveryFormatGivesTheSamplesInMicrovolts) {
  const FormatCase cases[] = {
      {"16",
       "r.dat",
       "16",
       {{0, 100, -100, 32767}, {-32767, 5, -1, 1000}, {7, -32768, 300, -300}},
       Format16},
      {"212",
       "r.dat",
       "212",
       {{0, 100, -100, 2047}, {-2047, 5, -1, 1000}, {7, -2048, 300, -300}},
       Format212},
      {"80", "r.dat", "80", {{0, 100, -100, 127}, {-127, 5, -1, 10}, {7, -128, 30, -30}}, Format80},
      {"mat int16",
       "r.mat",
       "16+24",
       {{0, 100, -100, 32767}, {-32767, 5, -1, 1000}, {7, -32768, 300, -300}},
       MatInt16},
      {"mat doubles",
       "r.mat",
       "16",
       {{0, 100, -100, 9}, {-9, 5, -1, 1000}, {7, 2, 300, -300}},
       MatDoubleBigEndian},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TempFolder folder;
    folder.Write(c.FileName, c.Encode(c.Adc));
    // I: baseline 10, 200 units/mV; V1: baseline from the ADC zero 5; the third in
    // microvolts, 2 units each, a name with a blank.
    const std::string prefix = c.FileName + " " + c.FormatField + " ";
    const std::string header =
        "r 3 250 4 13:05:59 24/12/2019\n# Age: 54\n# Sex: Female\n#Dx: 164889003\n" + prefix +
        "200(10)/mV 12 0 0 " + std::to_string(Checksum(c.Adc[0])) + " 0 I\n" + prefix +
        "200/mV 12 5 0 " + std::to_string(Checksum(c.Adc[1])) + " 0 v1\n" + prefix +
        "2/uV 12 0 0 " + std::to_string(Checksum(c.Adc[2])) + " 0 Resp belt\n";
    const std::string path = folder.Write("r.hea", Bytes(header.begin(), header.end()));

    SSignalSet set;
    std::string why;
    ASSERT_TRUE(ImportWfdb(path, SImportOptions{{"1", "V1", "Resp belt"}}, &set, &why)) << why;
    EXPECT_TRUE(set.Notes.empty()) << set.Notes.front();
    ASSERT_EQ(set.Signals.size(), 3u);
    EXPECT_EQ((std::vector<double>{set.Rate, double(set.Signals[0].LeadCode),
                                   double(set.Signals[1].LeadCode), double(set.Signals[2].LeadCode),
                                   set.Signals[0].StepNv}),
              (std::vector<double>{250, 1, 3, 0, 5000}));
    EXPECT_EQ(set.Signals[2].Name, "Resp belt");
    const bool hasInvalid = c.Encode != MatDoubleBigEndian;
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_DOUBLE_EQ(set.Signals[0].Microvolts[i], (c.Adc[0][i] - 10) * 5.0);
      EXPECT_DOUBLE_EQ(set.Signals[1].Microvolts[i], (c.Adc[1][i] - 5) * 5.0);
      if (i == 1 && hasInvalid) {
        EXPECT_TRUE(std::isnan(set.Signals[2].Microvolts[i]));
      } else {
        EXPECT_DOUBLE_EQ(set.Signals[2].Microvolts[i], c.Adc[2][i] * 0.5);
      }
    }
    const SSourceInfo& source = set.Source;
    EXPECT_EQ((std::vector<int>{source.Age, source.Gender, source.Acquired.Year,
                                source.Acquired.Day, source.Acquired.Second}),
              (std::vector<int>{54, 2, 2019, 24, 59}));
    EXPECT_EQ(source.Comments, std::vector<std::string>{"Dx: 164889003"});
    EXPECT_EQ(source.RecordName, "r");
  }
}

TEST(WfdbHeader, FieldsDefaultsAndRefusals) {
  SWfdbHeader header;
  std::string why;
  // MIT-BIH's first comment, a gain of 0 (uncalibrated), no units, a skewed
  // multi-sample format and an offset, CRLF lines.
  ASSERT_TRUE(ParseWfdbHeader(
      "# 69 M 1085 1629 x1\r\n100 2 360/1000 650000\r\n100.dat 212 200 11 1024 995 -22131 0 "
      "MLII\r\nx.dat 16x2:3+512 0(7)/uV 12 9\r\n",
      &header, &why))
      << why;
  // MLII's baseline is its ADC zero; x, uncalibrated, has the default gain.
  const SWfdbSignalSpec& mlii = header.Signals[0];
  const SWfdbSignalSpec& x = header.Signals[1];
  EXPECT_EQ(
      (std::vector<double>{double(header.SampleCount), header.Rate, double(header.HasTime),
                           mlii.Gain, double(mlii.Baseline), double(mlii.InitialValue),
                           double(mlii.Checksum), double(x.Format), double(x.SamplesPerFrame),
                           double(x.Skew), double(x.ByteOffset), double(x.Calibrated), x.Gain,
                           double(x.Baseline), double(x.ChecksumGiven)}),
      (std::vector<double>{650000, 360, 0, 200, 1024, 995, -22131, 16, 2, 3, 512, 0, 200, 7, 0}));
  EXPECT_EQ(mlii.Units + "|" + mlii.Description + "|" + x.Units, "mV|MLII|uV");

  const struct {
    const char* Text;
    const char* Why;
  } refused[] = {
      {"# only a comment\n", "no record line"},
      {"big/3 2 360\n", "line 1: 'big/3' is a multi-segment record"},
      {"r 2 360\nr.dat 16\n", "the record line announces 2 signals, 1 are described"},
      {"r 1 fast\n", "line 1: 'fast' is not a sampling rate"},
      {"r 1 250 10 25:00:00\n", "line 1: '25:00:00' is not a base time"},
      {"r 1\n\nr.dat 16 200x/mV\n", "line 3: '200x/mV' is not a gain"},
      {"r 1\nr.dat 16y\n", "line 2: '16y' is not a signal format"},
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(ParseWfdbHeader(r.Text, &header, &why)) << r.Text;
    EXPECT_EQ(why.rfind(r.Why, 0), 0u) << why;
  }
}

TEST(WfdbImport, TheRecordsThatCannotBeReadAsTheySay) {
  test::TempFolder folder;
  folder.Write("short.dat", Bytes{1, 0, 2, 0, 3, 0});
  const struct {
    const char* Header;
    const char* Why;  // the end of the message
  } cases[] = {
      {"r 1 250 5\nshort.dat 16 200 16 0 1 6 0 II\n",
       "short.dat holds 3 samples per signal; the header says 5"},
      {"r 1 250\nshort.dat 310 200 16 0 1 6 0 II\n",
       "signal 1 (II) is in format 310: formats 16, 212, 80 and .mat are read"},
      {"r 1 250\nshort.dat 16 200/mmHg 16 0 1 6 0 ABP\n", "no signal is a voltage"},
      {"r 1 250\nmissing.dat 16 200 16 0 1 6 0 II\n", "missing.dat: cannot be read"},
      {"r 1 250\nshort.mat 16 200 16 0 1 6 0 II\n", "shorter than a MAT v4 matrix header"},
  };
  for (const auto& c : cases) {
    const std::string text = c.Header;
    const std::string path = folder.Write("r.hea", Bytes(text.begin(), text.end()));
    folder.Write("short.mat", Bytes{1, 2});
    SSignalSet set;
    std::string why;
    EXPECT_FALSE(ImportWfdb(path, {}, &set, &why));
    EXPECT_NE(why.find(c.Why), std::string::npos) << why;
  }
  // A checksum that disagrees is said, and the samples read all the same.
  const std::string text = "r 1 250 3\nshort.dat 16 200 16 0 1 7 0 II\n";
  const std::string path = folder.Write("r.hea", Bytes(text.begin(), text.end()));
  SSignalSet set;
  std::string why;
  ASSERT_TRUE(ImportWfdb(path, {}, &set, &why));
  ASSERT_EQ(set.Notes.size(), 1u);
  EXPECT_EQ(set.Notes[0], "signal 1 (II): its samples do not add up to the header's checksum 7");
}

// Annotations: a beat, one 1100 samples later (SKIP), a numbered one, a rhythm change
// with its text; each word as the format lays it out.
TEST(WfdbAnnotations, BytesOfEachWordAndBack) {
  const std::vector<SWfdbAnnotation> annotations = {{100, 1, 0, 0, 0, ""},
                                                    {1200, 5, 0, 0, 0, ""},
                                                    {1300, 13, 0, 0, 3, ""},
                                                    {1301, 28, 0, 0, 3, "(AFIB"}};
  const Bytes expected = {
      0x64, 0x04,                                  // N (1 << 10) + 100
      0x00, 0xEC,                                  // SKIP (59 << 10)
      0x00, 0x00, 0x4C, 0x04,                      // 1100, high half first
      0x00, 0x14,                                  // V (5 << 10) + 0
      0x64, 0x34,                                  // Q (13 << 10) + 100
      0x03, 0xF0,                                  // NUM (60 << 10) + 3
      0x01, 0x70,                                  // + (28 << 10) + 1
      0x05, 0xFC,                                  // AUX (63 << 10) + 5 bytes, padded to 6
      '(',  'A',  'F',  'I',  'B', 0, 0x00, 0x00,  // end
  };
  EXPECT_EQ(EncodeWfdbAnnotations(annotations), expected);
  std::vector<SWfdbAnnotation> parsed;
  std::string why;
  ASSERT_TRUE(ParseWfdbAnnotations(expected.data(), expected.size(), &parsed, &why));
  ASSERT_EQ(parsed.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(parsed[i].Sample, annotations[i].Sample);
    EXPECT_EQ(parsed[i].Code, annotations[i].Code);
    EXPECT_EQ(parsed[i].Number, annotations[i].Number);
    EXPECT_EQ(parsed[i].Aux, annotations[i].Aux);
  }
  EXPECT_FALSE(ParseWfdbAnnotations(expected.data(), 6, &parsed, &why));
  EXPECT_EQ(why, "the file ends inside a SKIP");
}

// The shared MIT-BIH record 100: the samples add up to the header's checksums, the
// first equal its initial values, and its annotations count what BioSig counts.
TEST(WfdbImport, MitBihRecord100) {
  const std::filesystem::path data = std::filesystem::path(KTX_DATA_DIR) / "mitdb";
  if (!std::filesystem::exists(data / "100.hea")) {
    GTEST_SKIP() << "the shared data (../shared/data beside the checkout) is absent";
  }
  SWfdbRecord record;
  std::string why;
  ASSERT_TRUE(ReadWfdbRecord((data / "100").string(), &record, &why)) << why;
  EXPECT_TRUE(record.Notes.empty());
  ASSERT_EQ(record.Samples.size(), 2u);
  EXPECT_EQ(record.Samples[0].size(), 650000u);
  EXPECT_EQ(record.Samples[0][0], 995);
  EXPECT_EQ(record.Samples[1][0], 1011);
  const Bytes atr = test::ReadWholeFile((data / "100.atr").string());
  std::vector<SWfdbAnnotation> annotations;
  ASSERT_TRUE(ParseWfdbAnnotations(atr.data(), atr.size(), &annotations, &why));
  EXPECT_EQ(annotations.size(), 2274u);
  EXPECT_EQ(annotations[0].Aux, "(N");
}

}  // namespace
