// Broken records: every one is refused with 13 (232 when there is nothing to decode)
// and leaves nothing decoded behind.
#include <gtest/gtest.h>

#include <functional>

#include "decoder/stream_encoder.h"
#include "decoder/waveform_decoder.h"
#include "platform/errors.h"

namespace {

using test::Bytes;

const std::vector<int16_t> kSamples{0, 1, -1, 9, 300, -300, 2, 2, 2, 2};

struct Parts {
  Bytes Section2 = test::Section2DefaultBody();
  Bytes Section3 = test::Section3Body({{1, 1, 10}, {2, 1, 10}}, 0x14);
  Bytes Section4;
  std::vector<Bytes> Leads{test::HuffmanEncode({test::StandardDefaultTable()}, kSamples),
                           test::HuffmanEncode({test::StandardDefaultTable()}, kSamples)};
  uint8_t Difference = 0;
  uint8_t Bimodal = 0;
  Bytes Section6;  // replaces the one built from Leads when not empty
  bool WithSection6 = true;
};

Bytes Build(const Parts& parts) {
  test::RecordBuilder record;
  if (!parts.Section2.empty()) record.Section(2, parts.Section2);
  record.Section(3, parts.Section3);
  if (!parts.Section4.empty()) record.Section(4, parts.Section4);
  if (parts.WithSection6) {
    record.Section(6, !parts.Section6.empty() ? parts.Section6
                                              : test::SampleBody(1000, 2000, parts.Difference,
                                                                 parts.Bimodal, parts.Leads));
  }
  return record.Build();
}

struct Corruption {
  const char* Name;
  std::function<void(Parts&)> Apply;
  uint32_t Error = plat::kErrInvalidData;
};

class CorruptInput : public ::testing::TestWithParam<Corruption> {};

TEST_P(CorruptInput, IsRefusedCleanly) {
  Parts parts;
  GetParam().Apply(parts);
  const Bytes bytes = Build(parts);
  SDecodedWaveforms decoded;
  decoded.Rhythm.Leads.resize(3);
  EXPECT_FALSE(DecodeWaveformBuffer(bytes.data(), bytes.size(), &decoded));
  EXPECT_EQ(plat::LastError(), GetParam().Error);
  EXPECT_TRUE(decoded.Rhythm.Leads.empty());
  EXPECT_TRUE(decoded.LeadDefs.empty());
}

const test::TestTable kTwoCodes{{"0", 0}, {"10", 1}};

INSTANTIATE_TEST_SUITE_P(
    Cases, CorruptInput,
    ::testing::Values(
        // Two values and four padding bits: six of the ten samples.
        Corruption{"StreamEndsEarly",
                   [](Parts& p) {
                     p.Leads[1] = test::HuffmanEncode({test::StandardDefaultTable()},
                                                      {kSamples.begin(), kSamples.begin() + 2});
                   }},
        Corruption{"StreamCutInsideAnEscape",
                   [](Parts& p) {
                     p.Leads[0] = test::HuffmanEncode({test::StandardDefaultTable()}, {300});
                     p.Section3 = test::Section3Body({{1, 1, 1}, {2, 1, 10}}, 0);
                     p.Leads[0].pop_back();
                   }},
        Corruption{"NoSuchCode",
                   [](Parts& p) {
                     p.Section2 = test::Section2Body({kTwoCodes});
                     p.Leads = {Bytes{0x00, 0xFF}, Bytes{0x00, 0x00}};
                   }},
        Corruption{"SwitchToAMissingTable",
                   [](Parts& p) {
                     test::TestTable table = kTwoCodes;
                     table.push_back({"11", 0, 0, 3});
                     p.Section2 = test::Section2Body({table});
                     p.Leads = {Bytes{0xC0, 0x00}, Bytes{0x00, 0x00}};
                   }},
        Corruption{"MoreTablesThanBytes",
                   [](Parts& p) {
                     p.Section2 = test::Section2Body({kTwoCodes});
                     p.Section2[0] = 2;
                   }},
        Corruption{"CodeCountBeyondTheSection",
                   [](Parts& p) {
                     p.Section2 = test::Section2Body({kTwoCodes});
                     p.Section2[2] = 200;
                   }},
        Corruption{"CodeLongerThan32Bits",
                   [](Parts& p) {
                     p.Section2 = test::Section2Body({kTwoCodes});
                     p.Section2[4] = 40;
                   }},
        Corruption{"ByteLengthBeyondTheSection",
                   [](Parts& p) {
                     Bytes body = test::SampleBody(1000, 2000, 0, 0, p.Leads);
                     body[8] = 0xFF;
                     p.Section6 = body;
                   }},
        Corruption{"LengthTableCut",
                   [](Parts& p) { p.Section6 = Bytes{0xE8, 0x03, 0xD0, 0x07, 0, 0, 4}; }},
        Corruption{"NoLeads",
                   [](Parts& p) {
                     p.Section3 = Bytes{0, 0};
                   }},
        Corruption{"LeadTableCut", [](Parts& p) { p.Section3.resize(12); }},
        Corruption{"EndBeforeStart",
                   [](Parts& p) {
                     p.Section3 = test::Section3Body({{1, 9, 2}, {2, 1, 10}}, 0);
                   }},
        Corruption{"LeadTooLong",
                   [](Parts& p) {
                     p.Section3 = test::Section3Body({{1, 1, 70000}, {2, 1, 10}}, 0);
                   }},
        Corruption{"ThirdDifferenceOrder", [](Parts& p) { p.Difference = 3; }},
        Corruption{"BimodalWithoutZones", [](Parts& p) { p.Bimodal = 1; }},
        Corruption{"BimodalWithoutProtectedZones",
                   [](Parts& p) {
                     p.Bimodal = 1;
                     p.Section4 = test::Section4Body(0, 0, {});
                   }},
        Corruption{"QrsTableCut",
                   [](Parts& p) {
                     p.Section4 = test::Section4Body(0, 0, {{1, 2, 3, 0, 0}});
                     p.Section4.resize(12);
                   }},
        Corruption{"NoRhythm", [](Parts& p) { p.WithSection6 = false; }, plat::kErrNoData}),
    [](const auto& param) { return std::string(param.param.Name); });

TEST(CorruptRecord, FramingOutsideTheBufferIsRefused) {
  Parts parts;
  const Bytes good = Build(parts);
  for (size_t cut : {size_t{0}, size_t{5}, size_t{30}, good.size() - 1}) {
    SDecodedWaveforms decoded;
    EXPECT_FALSE(DecodeWaveformBuffer(good.data(), cut, &decoded)) << cut;
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidData) << cut;
  }
  Bytes pointer = good;
  // Section 6's pointer entry (the seventh) sent beyond the record.
  test::PutU32(pointer, 6 + 16 + 6 * 10 + 6, static_cast<uint32_t>(good.size()) - 4);
  SDecodedWaveforms decoded;
  EXPECT_FALSE(DecodeWaveformBuffer(pointer.data(), pointer.size(), &decoded));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
}

}  // namespace
