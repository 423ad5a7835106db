#include "segments.h"

#include <algorithm>

#include "support/section1_bytes.h"
#include "support/waveform_builder.h"

namespace accuracy {
namespace {

constexpr uint16_t kAvm = 5000;  // nanovolts per unit: 200 ADC units per mV

uint8_t LeadCode(const std::string& name) {
  if (name == "MLII") return 2;
  if (name.size() == 2 && name[0] == 'V' && name[1] >= '1' && name[1] <= '6')
    return static_cast<uint8_t>(3 + name[1] - '1');
  return 1;
}

}  // namespace

test::Bytes SegmentRecord(const accuracy::WfdbRecord& r, long from, long count) {
  std::vector<test::LeadRange> ranges;
  std::vector<std::vector<int16_t>> leads;
  for (size_t s = 0; s < r.Samples.size(); ++s) {
    uint8_t code = LeadCode(r.LeadNames[s]);
    if (s > 0 && code == ranges[0].Code) code = 1;
    ranges.push_back({1, static_cast<uint32_t>(count), code});
    std::vector<int16_t> lead;
    const double scale = 200.0 / r.Gains[s];
    for (long i = from; i < from + count; ++i) {
      const double v = (r.Samples[s][static_cast<size_t>(i)] - r.Zeros[s]) * scale;
      lead.push_back(static_cast<int16_t>(std::max(-2031.0, std::min(2031.0, v))));
    }
    leads.push_back(std::move(lead));
  }
  test::RecordBuilder record;
  record.Section(1, test::Body({test::TextTag(0, "MIT-BIH"), test::Tag(14, test::Bytes(36, 0)),
                                test::Tag(25, {0xEA, 0x07, 1, 1}), test::Tag(26, {10, 0, 0}),
                                test::EndTag()}));
  record.Section(3, test::Section3Body(static_cast<uint8_t>(0x04 | (ranges.size() << 3)), ranges));
  record.Section(6, test::SampleDataBody(kAvm, static_cast<uint16_t>(1e6 / r.Rate + 0.5), leads));
  return record.Build();
}

}  // namespace accuracy
