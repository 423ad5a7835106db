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
  return 0;
}
