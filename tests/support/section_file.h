// One section written as a whole record to its own scratch folder, opened the way the
// reader opens it and positioned at the section's body.
#pragma once

#include <cstdint>

#include "platform/file.h"
#include "record/section_indexes.h"
#include "support/record_builder.h"
#include "support/temp_folder.h"

namespace test {

class SectionFile {
 public:
  // Unless `last`, a filler section follows, so that reads past the body find bytes
  // rather than the end of the file. A non-zero `length` replaces the length field of
  // the section's own header (the pointer entry keeps the true one).
  SectionFile(uint16_t id, const Bytes& body, bool last = true, uint32_t length = 0);
  ~SectionFile();
  SectionFile(const SectionFile&) = delete;
  SectionFile& operator=(const SectionFile&) = delete;

  bool Found() const { return found_; }
  plat::FileHandle File() const { return file_; }
  const uint8_t* Header() const { return header_; }

 private:
  TempFolder folder_;
  plat::FileHandle file_ = plat::kClosedFile;
  uint8_t recordHeader_[6] = {};
  uint8_t header_[16] = {};
  SSectionIndexes index_;
  bool found_ = false;
};

}  // namespace test
