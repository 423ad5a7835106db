#include "support/section_file.h"

#include "reader/reader.h"

namespace test {

SectionFile::SectionFile(uint16_t id, const Bytes& body, bool last, uint32_t length) {
  RecordBuilder builder;
  builder.Section(id, body);
  if (!last) builder.Section(11, Bytes(256, 0x33));
  Bytes record = builder.Build();
  if (length != 0) PutU32(record, builder.OffsetOf(0) + 4, length);
  const std::string path = folder_.Write("section.scp", record);
  found_ = CReader::Open(&file_, path.c_str(), recordHeader_) &&
           CReader::ReadSectionIndex(file_, &index_) &&
           CReader::FindSection(file_, &index_, id, header_);
}

SectionFile::~SectionFile() {
  if (file_ != plat::kClosedFile) plat::CloseFile(file_);
}

}  // namespace test
