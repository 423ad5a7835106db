// Broken records: every one is refused with 13 (232 when there is nothing to decode)
// and leaves nothing decoded behind.
#include <gtest/gtest.h>

#include <functional>

#include "format/waveform_decoder.h"
#include "platform/errors.h"
#include "support/stream_encoder.h"
#include "support/waveform_builder.h"

namespace {

using test::Bytes;

const std::vector<int16_t> kSamples{0, 1, -1, 9, 300, -300, 2, 2, 2, 2};

Bytes Coded(const std::vector<int16_t>& values) {
  return test::HuffmanEncode({test::StandardDefaultTable()}, values);
}

struct Parts {
  Bytes Section2 = test::Section2DefaultBody();
  Bytes Section3 = test::Section3Body(0x14, {{1, 10, 1}, {1, 10, 2}});
  Bytes Section4;
  std::vector<Bytes> Leads{Coded(kSamples), Coded(kSamples)};
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

// Section 2 with one table of the codes 0 and 10, then `change` applied to it.
Bytes TwoCodes(std::function<void(Bytes&)> change = nullptr, bool withSwitch = false) {
  test::TestTable table{{"0", 0}, {"10", 1}};
  if (withSwitch) table.push_back({"11", 0, 0, 3});
  Bytes body = test::Section2Body({table});
  if (change) change(body);
  return body;
}

const struct Corruption {
  const char* Name;
  std::function<void(Parts&)> Apply;
  uint32_t Error = plat::kErrInvalidData;
} kCorruptions[] = {
    // Two values and four padding bits: six of the ten samples.
    {"stream ends early",
     [](Parts& p) {
       p.Leads[1] = Coded({0, 1});
     }},
    {"stream cut inside an escape",
     [](Parts& p) {
       p.Leads[0] = Coded({300});
       p.Leads[0].pop_back();
       p.Section3 = test::Section3Body(0, {{1, 1, 1}, {1, 10, 2}});
     }},
    {"no such code",
     [](Parts& p) {
       p.Section2 = TwoCodes();
       p.Leads = {Bytes{0x00, 0xFF}, Bytes{0x00, 0x00}};
     }},
    {"switch to a missing table",
     [](Parts& p) {
       p.Section2 = TwoCodes(nullptr, true);
       p.Leads = {Bytes{0xC0, 0x00}, Bytes{0x00, 0x00}};
     }},
    {"more tables than bytes", [](Parts& p) { p.Section2 = TwoCodes([](Bytes& b) { b[0] = 2; }); }},
    {"code count beyond the section",
     [](Parts& p) { p.Section2 = TwoCodes([](Bytes& b) { b[2] = 200; }); }},
    {"code longer than 32 bits",
     [](Parts& p) {
       // The second code made 33 bits long; the streams use only the first.
       p.Section2 = TwoCodes([](Bytes& b) { b[13] = b[14] = 33; });
       p.Leads = {Bytes{0x00, 0x00}, Bytes{0x00, 0x00}};
     }},
    {"byte length beyond the section",
     [](Parts& p) {
       p.Section6 = test::SampleBody(1000, 2000, 0, 0, p.Leads);
       p.Section6[8] = 0xFF;
     }},
    {"length table cut", [](Parts& p) { p.Section6 = Bytes{0xE8, 0x03, 0xD0, 0x07, 0, 0, 4}; }},
    {"no leads",
     [](Parts& p) {
       p.Section3 = Bytes{0, 0};
     }},
    // One byte short of the second definition: the next section must not complete it.
    {"lead table cut", [](Parts& p) { p.Section3.resize(19); }},
    {"end before start",
     [](Parts& p) {
       p.Section3 = test::Section3Body(0, {{9, 2, 1}, {1, 10, 2}});
     }},
    {"lead too long",
     [](Parts& p) {
       p.Section3 = test::Section3Body(0, {{1, 70000, 1}, {1, 10, 2}});
     }},
    {"third difference order", [](Parts& p) { p.Difference = 3; }},
    {"bimodal without zones", [](Parts& p) { p.Bimodal = 1; }},
    {"bimodal without protected zones",
     [](Parts& p) {
       p.Bimodal = 1;
       p.Section4 = test::Section4Body(0, 0, {});
     }},
    {"QRS table cut",
     [](Parts& p) {
       p.Section4 = test::Section4Body(0, 0, {{1, 2, 3, 0, 0}});
       p.Section4.resize(12);
     }},
    {"no rhythm", [](Parts& p) { p.WithSection6 = false; }, plat::kErrNoData},
};

TEST(CorruptInput, IsRefusedCleanly) {
  for (const Corruption& corruption : kCorruptions) {
    SCOPED_TRACE(corruption.Name);
    Parts parts;
    corruption.Apply(parts);
    const Bytes bytes = Build(parts);
    SDecodedWaveforms decoded;
    decoded.Rhythm.Leads.resize(3);
    EXPECT_FALSE(DecodeWaveformBuffer(bytes.data(), bytes.size(), &decoded));
    EXPECT_EQ(plat::LastError(), corruption.Error);
    EXPECT_TRUE(decoded.Rhythm.Leads.empty());
    EXPECT_TRUE(decoded.LeadDefs.empty());
  }
}

TEST(CorruptInput, FramingOutsideTheBufferIsRefused) {
  const Bytes good = Build(Parts());
  Bytes pointer = good;
  // Section 6's pointer entry (the seventh) sent beyond the record.
  test::PutU32(pointer, 6 + 16 + 6 * 10 + 6, static_cast<uint32_t>(good.size()) - 4);
  for (size_t cut : {size_t{0}, size_t{5}, size_t{30}, good.size() - 1}) {
    SDecodedWaveforms decoded;
    EXPECT_FALSE(DecodeWaveformBuffer(good.data(), cut, &decoded)) << cut;
    EXPECT_EQ(plat::LastError(), plat::kErrInvalidData) << cut;
  }
  SDecodedWaveforms decoded;
  EXPECT_FALSE(DecodeWaveformBuffer(pointer.data(), pointer.size(), &decoded));
  EXPECT_EQ(plat::LastError(), plat::kErrInvalidData);
}

}  // namespace
