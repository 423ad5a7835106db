#include "bench_records.h"

namespace bench {

test::Bytes TwelveLeadRecord() {
  const uint8_t codes[12] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  test::Bytes section3 = {12, 0x04 | (12 << 3)};
  for (uint8_t code : codes) {
    test::AppendU32(section3, 1);
    test::AppendU32(section3, 5000);
    section3.push_back(code);
  }
  test::Bytes section6 = {0xE8, 0x03, 0xD0, 0x07, 0, 0};
  for (int lead = 0; lead < 12; ++lead) test::AppendU16(section6, 10000);
  for (int lead = 0; lead < 12; ++lead) {
    for (int i = 0; i < 5000; ++i)
      test::AppendU16(section6, static_cast<uint16_t>((i * 13 + lead) % 2000));
  }
  test::Bytes section1 = {0, 4, 0, 'D', 'o', 'e', 0, 255, 0, 0};
  return test::RecordBuilder()
      .Section(1, section1)
      .Section(3, section3)
      .Section(6, section6)
      .Build();
}

}  // namespace bench
