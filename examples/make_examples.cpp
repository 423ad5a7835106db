// Writes the example records of examples/ with the test record builder:
//   make_examples OUTPUT_FOLDER
#include <fstream>
#include <iostream>

#include "support/record_builder.h"

namespace {

void Write(const std::string& path, const test::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_examples OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  Write(folder + "/minimal.scp", test::MinimalRecord());

  // A damaged Section 3 CRC makes the check fail; the wrong CRC of manufacturer
  // section 200 alone would not, as such sections are never checked.
  test::Bytes section3 = {1, 0x04, 1, 0, 0, 0, 4, 0, 0, 0, 1};
  test::Bytes vendor = {'K', 'T', 'X', 0};
  Write(folder + "/damaged.scp", test::RecordBuilder()
                                     .Section(1, {0, 4, 0, 'D', 'o', 'e', 0, 255, 0, 0})
                                     .Section(3, section3)
                                     .BadCrc()
                                     .Section(200, vendor)
                                     .BadCrc()
                                     .Build());

  // Limb leads I and II only, 500 Hz: III, aVR, aVL and aVF can be derived.
  test::Bytes leads = {2, 0x04 | (2 << 3)};
  for (const uint8_t code : {uint8_t{1}, uint8_t{2}}) {
    test::AppendU32(leads, 1);
    test::AppendU32(leads, 5);
    leads.push_back(code);
  }
  test::Bytes rhythm = {0xE8, 0x03, 0xD0, 0x07, 0, 0};  // AVM 1000 nV, 2000 us
  test::AppendU16(rhythm, 10);
  test::AppendU16(rhythm, 10);
  for (int sample : {100, 150, 200, 150, 100, 300, 250, 200, 250, 300}) {
    test::AppendU16(rhythm, static_cast<uint16_t>(sample));
  }
  Write(folder + "/limb_leads.scp", test::RecordBuilder()
                                        .Section(1, {0, 5, 0, 'R', 'o', 'e', 's', 0, 255, 0, 0})
                                        .Section(3, leads)
                                        .Section(6, rhythm)
                                        .Build());
  return 0;
}
