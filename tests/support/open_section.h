// A record file opened the way the reader does, positioned at one section's body.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file.h"
#include "record/section_indexes.h"

namespace test {

class OpenSection {
 public:
  // Opens `path`, reads its pointer table and finds section `id`; Found() tells
  // whether all of that worked.
  OpenSection(const std::string& path, uint16_t id);
  ~OpenSection();
  OpenSection(const OpenSection&) = delete;
  OpenSection& operator=(const OpenSection&) = delete;

  bool Found() const { return found_; }
  plat::FileHandle File() const { return file_; }
  const uint8_t* Header() const { return header_; }

 private:
  plat::FileHandle file_ = plat::kClosedFile;
  uint8_t recordHeader_[6] = {};
  uint8_t header_[16] = {};
  SSectionIndexes index_;
  bool found_ = false;
};

}  // namespace test
