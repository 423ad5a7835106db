// CWriter: writes SCP-ECG records. Every file is assembled as complete sections in
// the section store and written in one pass; no file is patched in place.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "platform/text.h"
#include "reader/reader.h"
#include "writer/section_store.h"

class KTX_API CWriter : public CReader {
 public:
  CWriter();
  virtual ~CWriter();
  CWriter(const CWriter&) = delete;
  CWriter& operator=(const CWriter&) = delete;

  // The application that writes: lands in Section 1 tags 208-211.
  void SelectWriter(const plat::OleChar* name, const plat::OleChar* version);

  // The 142-byte record: Section 0 and nothing else.
  bool CreateEmpty(const char* name);
  // Rewrites `name` with every section CRC and the record CRC recomputed.
  bool UpdateCRC(const char* name);

 protected:
  bool OpenRd(const char* name, bool writable);
  bool OpenWr(const char* name);
  // Empties the store, then everything the reader holds; closes the file.
  void Close();

  bool StoreSectionHeader(uint16_t entry);
  bool StoreSection(uint16_t id);
  bool UnstoreSection(uint16_t id);
  bool WriteSections(const char* name);
  bool CreateSec0();
  bool CreateSec1();
  bool CreateSec3_6();
  bool CreateSec5();

  // The next free store entry, checked: 84 when the store is full or the entry lies
  // beyond the dynamic capacity.
  bool NextEntry(uint16_t* entry);
  // Puts a zeroed buffer of `length` bytes for section `id` into store entry `entry`.
  bool PlaceSection(uint16_t entry, uint16_t id, uint32_t length, uint8_t** body);
  // Fills the entry's header and counts it used; on failure the entry is emptied.
  bool FinishEntry(uint16_t entry);
  // Section 5 or 6 from `data` into the next entry.
  bool CreateSampleSection(uint16_t id, const SEncodedData& data);

  SScpRecord Store;
  bool UpdateMode = false;
  plat::Bstr WriterName = nullptr;
  plat::Bstr WriterVersion = nullptr;
};
