// Writing the store as a whole record: Section 0, the record header and CRC.
#include <vector>

#include "platform/errors.h"
#include "platform/little_endian.h"
#include "record/crc.h"
#include "writer/writer.h"

bool CWriter::CreateSec0() {
  Index.KillData();
  uint32_t further = 0;
  for (uint16_t entry = 1; entry < Store.Used; ++entry) {
    if (!Store.Has(entry)) return plat::FailWith(plat::kErrOutOfStructures);
    if (Store.Id(entry) >= 12 && Store.Length(entry) != 0) ++further;
  }
  if (further > 0 && !Index.Allocate(further)) return false;
  const uint32_t count = SSectionIndexes::kFixedEntries + further;
  const uint32_t length = kSectionHeaderSize + static_cast<uint32_t>(sizeof(SSectionIndex)) * count;
  uint8_t* section = nullptr;
  if (!PlaceSection(0, 0, length, &section)) return false;

  uint32_t position = kRecordHeaderSize;
  Index.Fixed[0] = SSectionIndex{0, length, position + 1};
  position += length;
  for (uint16_t id = 1; id < 12; ++id) {
    Index.Fixed[id] = SSectionIndex{id, 0, 0};
    for (uint16_t entry = 1; entry < Store.Used; ++entry) {
      if (Store.Id(entry) == id) {
        Index.Fixed[id] = SSectionIndex{id, Store.Length(entry), position + 1};
        position += Store.Length(entry);
        break;
      }
    }
  }
  uint32_t next = 0;
  for (uint16_t entry = 1; entry < Store.Used; ++entry) {
    if (Store.Id(entry) < 12 || Store.Length(entry) == 0) continue;
    Index.Further[next++] = SSectionIndex{Store.Id(entry), Store.Length(entry), position + 1};
    position += Store.Length(entry);
  }
  Index.Count = count;
  for (uint32_t i = 0; i < count; ++i) {
    const SSectionIndex entry = *Index.Entry(i);
    uint8_t* out = section + kSectionHeaderSize + sizeof(SSectionIndex) * i;
    plat::PutLE16(out, entry.Id);
    plat::PutLE32(out + 2, entry.Length);
    plat::PutLE32(out + 6, entry.Index);
  }
  return StoreSectionHeader(0);
}

bool CWriter::WriteSections(const char* name) {
  // Every failure leaves the store empty and the index cleared.
  auto fail = [this] {
    plat::KeepLastError keep;
    Index.KillData();
    Store.KillData();
    return false;
  };
  if (!CreateSec0()) return fail();

  // The store entry of each pointer entry, in Section 0 order; absent sections have none.
  std::vector<uint16_t> order;
  uint64_t recordLength = kRecordHeaderSize;
  for (uint16_t entry = 0; entry < Store.Used; ++entry) {
    if (!Store.Has(entry)) {
      plat::SetLastError(plat::kErrOutOfStructures);
      return fail();
    }
    recordLength += Store.Length(entry);
  }
  if (recordLength > UINT32_MAX) {
    plat::SetLastError(plat::kErrInvalidData);
    return fail();
  }
  // At most one store entry per pointer entry, so this is all the room the order needs.
  if (!plat::CatchOutOfMemory(false, [&] {
        order.reserve(Index.Count);
        return true;
      })) {
    return fail();
  }
  for (uint32_t i = 0; i < Index.Count; ++i) {
    const SSectionIndex pointer = *Index.Entry(i);
    for (uint16_t entry = 0; entry < Store.Used; ++entry) {
      if (Store.Id(entry) == pointer.Id && Store.Data(entry) != nullptr) {
        if (pointer.Length != 0) order.push_back(entry);
        break;
      }
    }
  }

  uint8_t header[kRecordHeaderSize];
  plat::PutLE32(header + 2, static_cast<uint32_t>(recordLength));
  CCRC crc;
  crc.Add(header + 2, 4);
  for (uint16_t entry : order) crc.Add(Store.Data(entry), Store.Length(entry));
  plat::PutLE16(header, crc.Value());

  if (!OpenWr(name)) return fail();
  // Room for the whole record first: a full disk or a size limit refuses it while the
  // file still holds its old record, byte for byte.
  if (!plat::ReserveLength(File, recordLength)) return fail();
  uint64_t written = 0;
  auto write = [this, &written](const uint8_t* bytes, uint32_t count) {
    uint32_t done = 0;
    if (!plat::WriteFile(File, bytes, count, &done)) return false;
    written += done;
    return done == count || plat::FailWith(plat::kErrDiskFull);
  };
  if (!write(header, kRecordHeaderSize)) return fail();
  for (uint16_t entry : order) {
    if (!write(Store.Data(entry), Store.Length(entry))) return fail();
  }
  // What is left of a longer old record goes, and the new one is on the disk before
  // the call reports success.
  if (!plat::SetLength(File, written) || !plat::Flush(File)) return fail();
  Store.KillData();
  return true;
}

bool CWriter::CreateEmpty(const char* name) {
  if (name == nullptr) return plat::FailWith(plat::kErrInvalidParameter);
  if (File != plat::kClosedFile) return plat::FailWith(plat::kErrInvalidAccess);
  Store.KillData();
  UpdateMode = false;
  const bool written = WriteSections(name);
  Close();
  return written;
}
