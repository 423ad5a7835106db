// The writer's life cycle, its files and the section store entries it fills.
#include <cstdlib>
#include <cstring>

#include "format/section_header.h"
#include "platform/errors.h"
#include "platform/little_endian.h"
#include "platform/read_exact.h"
#include "record/section_indexes.h"
#include "record/string_field.h"
#include "writer/writer.h"

namespace {

// Section version byte the writer puts into the headers it fills.
uint8_t SectionVersion(uint16_t id) {
  if (id == 1) return 11;
  return IsHandledSection(id) ? 10 : 0;
}

}  // namespace

CWriter::CWriter() = default;

CWriter::~CWriter() {
  FreeString(&WriterName);
  FreeString(&WriterVersion);
  Close();
}

void CWriter::SelectWriter(const plat::OleChar* name, const plat::OleChar* version) {
  FreeString(&WriterName);
  FreeString(&WriterVersion);
  if (name != nullptr) WriterName = plat::SysAllocString(name);
  if (version != nullptr) WriterVersion = plat::SysAllocString(version);
}

bool CWriter::OpenRd(const char* name, bool writable) {
  if (name == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  if (File != plat::kClosedFile) {
    plat::CloseFile(File);
    File = plat::kClosedFile;
  }
  if (!writable) return Open(&File, name, RecordHeader);
  // Read and write access, not shared, created when missing; the same checks as Open.
  const plat::FileHandle file = plat::OpenReadWrite(name);
  if (file == plat::kClosedFile) return false;
  uint64_t size = 0;
  bool ok = plat::ReadExact(file, RecordHeader, kRecordHeaderSize) && plat::FileSize(file, &size);
  if (ok && size < ReadU32(RecordHeader + 2)) ok = plat::FailWith(plat::kErrInvalidData);
  if (!ok) {
    plat::KeepLastError keep;
    plat::CloseFile(file);
    return false;
  }
  File = file;
  return true;
}

bool CWriter::OpenWr(const char* name) {
  if (name == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  CloseFile();
  // Not truncated here: the old record stays whole until WriteSections has made room for
  // the new one, and its end is cut once the new one is written.
  File = plat::OpenReadWrite(name);
  return File != plat::kClosedFile;
}

void CWriter::Close() {
  Store.KillData();
  CReader::Close();
}

bool CWriter::NextEntry(uint16_t* entry) {
  if (Store.Used >= SScpRecord::kMaxEntries || !Store.Has(Store.Used)) {
    return plat::FailWith(plat::kErrOutOfStructures);
  }
  *entry = Store.Used;
  return true;
}

bool CWriter::PlaceSection(uint16_t entry, uint16_t id, uint32_t length, uint8_t** body) {
  if (!Store.Has(entry)) return plat::FailWith(plat::kErrOutOfStructures);
  auto* buffer = static_cast<uint8_t*>(std::calloc(length, 1));
  if (buffer == nullptr) return plat::FailWith(plat::kErrOutOfMemory);
  Store.ClearEntry(entry);
  Store.Data(entry) = buffer;
  Store.Length(entry) = length;
  Store.Id(entry) = id;
  *body = buffer;
  return true;
}

bool CWriter::StoreSectionHeader(uint16_t entry) {
  if (!Store.Has(entry)) return plat::FailWith(plat::kErrOutOfStructures);
  uint8_t* section = Store.Data(entry);
  const uint32_t length = Store.Length(entry);
  if (section == nullptr || length < kSectionHeaderSize)
    return plat::FailWith(plat::kErrInvalidParameter);
  const uint16_t id = Store.Id(entry);
  BuildSectionHeader(section, id, length, SectionVersion(id));
  return true;
}

bool CWriter::StoreSection(uint16_t id) {
  if (id == 0) return plat::FailWith(plat::kErrInvalidParameter);
  if (File == plat::kClosedFile) return plat::FailWith(plat::kErrInvalidAccess);
  uint16_t entry = 0;
  if (!NextEntry(&entry)) return false;
  if (!(Loaded & kSection0)) {
    Index.KillData();
    if (!MoveTo(File, kRecordHeaderSize) || !ReadSectionIndex(File, &Index)) return false;
    Loaded |= kSection0;
  }
  uint8_t header[kSectionHeaderSize];
  if (!FindSection(File, &Index, id, header)) {
    // Absent (no entry, or length or index 0) is not an error: nothing to keep.
    return plat::LastError() == plat::kErrSuccess;
  }
  const uint32_t length = ParseSectionHeader(header).Length;
  if (length == 0) return true;
  if (length < kSectionHeaderSize) return plat::FailWith(plat::kErrInvalidData);
  uint8_t* section = nullptr;
  if (!PlaceSection(entry, id, length, &section)) return false;
  std::memcpy(section, header, kSectionHeaderSize);
  if (!plat::ReadExact(File, section + kSectionHeaderSize, length - kSectionHeaderSize)) {
    plat::KeepLastError keep;
    Store.ClearEntry(entry);
    return false;
  }
  ++Store.Used;
  return true;
}

bool CWriter::UnstoreSection(uint16_t id) {
  if (File == plat::kClosedFile) return plat::FailWith(plat::kErrInvalidAccess);
  uint16_t found = 0;
  for (; found < Store.Used; ++found) {
    if (!Store.Has(found)) return plat::FailWith(plat::kErrOutOfStructures);
    if (Store.Id(found) == id) break;
  }
  if (found == Store.Used) return true;
  Store.ClearEntry(found);
  if (id == 0) return true;
  uint16_t last = found;
  for (uint16_t next = static_cast<uint16_t>(found + 1); next < Store.Used && Store.Has(next);
       ++next) {
    Store.Data(last) = Store.Data(next);
    Store.Length(last) = Store.Length(next);
    Store.Id(last) = Store.Id(next);
    last = next;
  }
  // The vacated last entry owns nothing any more.
  Store.Data(last) = nullptr;
  Store.Length(last) = 0;
  Store.Id(last) = 0;
  --Store.Used;
  return true;
}
