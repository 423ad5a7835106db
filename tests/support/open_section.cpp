#include "support/open_section.h"

#include "reader/reader.h"

namespace test {

OpenSection::OpenSection(const std::string& path, uint16_t id) {
  found_ = CReader::Open(&file_, path.c_str(), recordHeader_) &&
           CReader::ReadSectionIndex(file_, &index_) &&
           CReader::FindSection(file_, &index_, id, header_);
}

OpenSection::~OpenSection() {
  if (file_ != plat::kClosedFile) plat::CloseFile(file_);
}

}  // namespace test
