// The reader's file operations: opening a record, headers, Section 0, finding sections.
#include "format/section_header.h"
#include "platform/errors.h"
#include "platform/memory_file.h"
#include "platform/read_exact.h"
#include "reader/reader.h"

using plat::FileHandle;
using plat::kClosedFile;

void CReader::CloseFile() {
  if (File == kClosedFile) return;
  plat::KeepLastError keep;
  plat::Flush(File);
  plat::CloseFile(File);
  File = kClosedFile;
}

namespace {

// Hands `opened` over to *file once its record header is read and the file is at
// least as long as the record says (13 when shorter); closes it on failure.
bool AdoptRecord(FileHandle* file, FileHandle opened, uint8_t* recordHeader) {
  if (opened == kClosedFile) return false;
  uint64_t size = 0;
  bool ok = plat::ReadExact(opened, recordHeader, CReader::kRecordHeaderSize) &&
            plat::FileSize(opened, &size);
  if (ok && size < CReader::ReadU32(recordHeader + 2)) {
    ok = plat::FailWith(plat::kErrInvalidData);
  }
  if (!ok) {
    plat::KeepLastError keep;
    plat::CloseFile(opened);
    return false;
  }
  *file = opened;
  return true;
}

// Closes *file when it is open: Open and OpenMemory start afresh.
void CloseEarlier(FileHandle* file) {
  if (*file != kClosedFile) {
    plat::CloseFile(*file);
    *file = kClosedFile;
  }
}

}  // namespace

bool CReader::Open(FileHandle* file, const char* name, uint8_t* recordHeader) {
  if (file == nullptr || name == nullptr || recordHeader == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  CloseEarlier(file);
  return AdoptRecord(file, plat::OpenForRead(name), recordHeader);
}

bool CReader::OpenIndexed(const char* name) {
  Index.KillData();
  Loaded = static_cast<uint16_t>(Loaded & ~kSection0);
  if (!Open(&File, name, RecordHeader) || !MoveTo(File, kRecordHeaderSize) ||
      !ReadSectionIndex(File, &Index)) {
    return false;
  }
  Loaded |= kSection0;
  return true;
}

bool CReader::OpenMemory(FileHandle* file, const uint8_t* bytes, size_t size,
                         uint8_t* recordHeader) {
  if (file == nullptr || (bytes == nullptr && size != 0) || recordHeader == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  CloseEarlier(file);
  return AdoptRecord(file, plat::OpenMemoryFile(bytes, size), recordHeader);
}

bool CReader::ReadRecordHeader(FileHandle file, uint8_t* header) {
  return plat::ReadExact(file, header, kRecordHeaderSize);
}

bool CReader::ReadSectionHeader(FileHandle file, uint8_t* header) {
  return plat::ReadExact(file, header, kSectionHeaderSize);
}

bool CReader::ReadSectionIndex(FileHandle file, SSectionIndexes* index) {
  if (index == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  uint8_t header[kSectionHeaderSize];
  bool ok = ReadSectionHeader(file, header);
  if (ok && ParseSectionHeader(header).Id != 0) {
    ok = plat::FailWith(plat::kErrInvalidData);
  }
  if (ok) {
    // A length below 16 wraps to a huge count on purpose: Allocate refuses it with 84.
    constexpr uint32_t kEntrySize = sizeof(SSectionIndex);
    const uint32_t count = (ParseSectionHeader(header).Length - kSectionHeaderSize) / kEntrySize;
    if (count > SSectionIndexes::kFixedEntries) {
      const uint32_t further = count - SSectionIndexes::kFixedEntries;
      ok = index->Allocate(further) && plat::ReadExact(file, index->Fixed, sizeof(index->Fixed)) &&
           plat::ReadExact(file, index->Further, further * kEntrySize);
    } else {
      index->KillDynamic();
      ok =
          plat::ReadExact(file, index->Fixed, count * static_cast<uint32_t>(sizeof(SSectionIndex)));
    }
    if (ok) index->Count = count;
  }
  if (!ok) {
    plat::KeepLastError keep;
    index->KillData();
  }
  return ok;
}

bool CReader::FindSection(FileHandle file, const SSectionIndexes* index, uint16_t id,
                          uint8_t* header) {
  if (file == kClosedFile || index == nullptr || header == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  for (uint32_t i = 0; i < index->Count; ++i) {
    const SSectionIndex* entry = index->Entry(i);
    if (entry == nullptr) {
      return plat::FailWith(plat::kErrOutOfStructures);
    }
    if (entry->Id != id) continue;
    // The first entry with the number decides, even when it marks the section absent.
    if (entry->Length == 0 || entry->Index == 0) break;
    if (!MoveTo(file, entry->Index - 1) || !ReadSectionHeader(file, header)) return false;
    plat::SetLastError(ParseSectionHeader(header).Id == id ? plat::kErrSuccess
                                                           : plat::kErrBadFormat);
    return true;
  }
  return plat::FailWith(plat::kErrSuccess);
}

bool CReader::CurrentIndex(FileHandle file, uint32_t* index) {
  uint64_t position = 0;
  if (file == kClosedFile || index == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (!plat::Seek(file, 0, plat::SeekFrom::Current, &position)) return false;
  *index = static_cast<uint32_t>(position + 1);
  return true;
}

bool CReader::MoveForward(FileHandle file, uint32_t count) {
  if (file == kClosedFile) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  return count == 0 || plat::Seek(file, count, plat::SeekFrom::Current);
}

bool CReader::MoveTo(FileHandle file, uint32_t offset) {
  if (file == kClosedFile) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  return plat::Seek(file, offset, plat::SeekFrom::Begin);
}
