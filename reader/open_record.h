// Runs one read on a named record: opens it, reads its pointer table, hands the open
// file to `read` and closes the file on every path, keeping the read's error code.
#pragma once

#include "platform/errors.h"
#include "reader/reader.h"

template <typename Read>
bool WithOpenRecord(const char* name, Read read) {
  plat::FileHandle file = plat::kClosedFile;
  uint8_t recordHeader[CReader::kRecordHeaderSize];
  if (!CReader::Open(&file, name, recordHeader)) return false;
  SSectionIndexes index;
  const bool ok = CReader::ReadSectionIndex(file, &index) && read(file, recordHeader, index);
  plat::KeepLastError keep;
  plat::CloseFile(file);
  return ok;
}
