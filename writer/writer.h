// CWriter: writes SCP-ECG records. Every file is assembled as complete sections in
// the section store and written in one pass; no file is patched in place.
#pragma once

#include <cstdint>

#include <string>

#include "acquisition/ecg_info.h"
#include "acquisition/lead_data.h"
#include "platform/errors.h"
#include "platform/export.h"
#include "platform/text.h"
#include "platform/time.h"
#include "reader/reader.h"
#include "writer/section_store.h"

class CSectionRewrite;

class KTX_API CWriter : public CReader {
 public:
  CWriter();
  virtual ~CWriter();
  // Deep copies of the section store, the reader's tables and records and the writer
  // identity; the copy has no open file. Out of memory leaves the writer part as freshly
  // constructed with last error 14 (a constructor cannot answer false); otherwise 0.
  CWriter(const CWriter& source);
  CWriter& operator=(const CWriter& source);

  // The application that writes: lands in Section 1 tags 208-211.
  void SelectWriter(const plat::OleChar* name, const plat::OleChar* version);

  // The 142-byte record: Section 0 and nothing else.
  bool CreateEmpty(const char* name);
  // Rewrites `name` with every section CRC and the record CRC recomputed.
  bool UpdateCRC(const char* name);

  // --- Creation from acquisitions: Sections 0, 1, 3 and 6; pPatInfo may be null. ---
  bool CreateFromRaw12L(const char* ScpFilename, const char* RawFilename,
                        const CPatientInfo* pPatInfo, double Resolution, double SamplingRate,
                        int16_t Leads);
  bool CreateFromRaw12LMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                           const CPatientInfo* pPatInfo, double Resolution, double SamplingRate,
                           int16_t Leads);
  bool CreateFrom8bitFile(const char* ScpFilename, const char* RawFilename,
                          const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                          double SamplingRate);
  bool CreateFrom8bitMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                         const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                         double SamplingRate);
  bool CreateFrom16bitFile(const char* ScpFilename, const char* RawFilename,
                           const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                           double SamplingRate);
  bool CreateFrom16bitMem(const char* ScpFilename, const uint8_t* Data, uint32_t DataSize,
                          const CPatientInfo* pPatInfo, bool Unsigned, double Resolution,
                          double SamplingRate);
  // One file per event; with several events each name gets a letter suffix.
  bool CreateFromBioFile(const char* ScpFilename, const char* BioFilename,
                         const CPatientInfo* pPatInfo);
  // A fresh GUID as "{XXXXXXXX-XXXX-xxxx-XXXX-XXXXXXXXXXXX}".
  static std::string GenerateGuid();

  // --- Editing: one open-rewrite-close cycle each; a failure leaves the file as it was. ---
  bool UpdateFile(const char* name, const CPatientInfo* patient, const CRecordInfo* recording);
  bool UpdateInterpretationText(const char* name, const plat::OleChar* text);
  bool UpdateCommentText(const char* name, const plat::OleChar* text);
  bool UpdateRecordingLocation(const char* name, const plat::OleChar* text);
  bool UpdateRecordingId(const char* name, const plat::OleChar* text);
  bool UpdateReceived(const char* name, const SDateTime* received);
  bool UpdateInterpretationConfirmed(const char* name, int16_t confirmed);
  // which: 0 overreading, 1 interpretation, 2 recording physician.
  bool UpdatePhysicianName(const char* name, int16_t which, const plat::OleChar* text);
  bool UpdateRecordingApp(const char* name, const plat::OleChar* text);
  bool UpdateRecordingVer(const char* name, const plat::OleChar* text);
  bool UpdateInterpretationApp(const char* name, const plat::OleChar* text);
  bool UpdateInterpretationVer(const char* name, const plat::OleChar* text);
  bool UpdateMuscleFilter(const char* name, int16_t used);
  bool UpdateBaselineFilter(const char* name, int16_t used);
  bool UpdatePowerFilter(const char* name, int16_t hertz);
  // Adds III, aVR, aVL and aVF where missing (Sections 1, 3, 6 and 5 rebuilt).
  bool UpdateCalculatedLeads(const char* name);
  // Rebuilds the Section 1 lead error table from the rhythm markers.
  bool UpdateLeadErrors(const char* name);

 protected:
  // The rewrite of a record's sections works on the writer's file, index and store.
  friend class CSectionRewrite;

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

  // Copies an acquisition event into the header records, lead definitions and rhythm.
  bool Set(SECGInfo& info, const SLeadObj* leads);
  // The file name of event `index` of a multi-event Bio file (out holds 260 bytes).
  static void CreateEventFileName(char* out, const char* ScpFilename, int16_t index);
  // What every creation does once the acquisition reader has answered: the event
  // (`leads` null when the reader failed) becomes the file ScpFilename, received at
  // `now`. Ends with Close on every path.
  bool CreateFromEvent(const char* ScpFilename, const CPatientInfo* pPatInfo,
                       const plat::SystemTime& now, SECGInfo& info, const SLeadObj* leads);
  // The steps every single-event creation shares: arguments and open file checked,
  // members cleared, then `readEvent(SECGInfo*)` asked for the leads.
  template <typename ReadEvent>
  bool CreateFromReader(bool argumentsGiven, const char* ScpFilename, const CPatientInfo* pPatInfo,
                        ReadEvent readEvent);

  // The copy behind the copy constructor and assignment: false (and the writer part
  // empty) when memory runs out.
  bool CopyFrom(const CWriter& source);

  // The next free store entry, checked: 84 when the store is full or the entry lies
  // beyond the dynamic capacity.
  bool NextEntry(uint16_t* entry);
  // Puts a zeroed buffer of `length` bytes for section `id` into store entry `entry`.
  bool PlaceSection(uint16_t entry, uint16_t id, uint32_t length, uint8_t** body);
  // Fills the entry's header and counts it used; on failure the entry is emptied.
  bool FinishEntry(uint16_t entry);
  // Section `id` with a zeroed body of `bodyLength` bytes (the section padded to an
  // even length) into the next entry, completed by `fill(body)`.
  template <typename Fill>
  bool AddBuilt(uint16_t id, uint32_t bodyLength, Fill fill) {
    uint32_t length = kSectionHeaderSize + bodyLength;
    length += length & 1u;
    uint16_t entry = 0;
    uint8_t* section = nullptr;
    if (!NextEntry(&entry) || !PlaceSection(entry, id, length, &section)) return false;
    fill(section + kSectionHeaderSize);
    return FinishEntry(entry);
  }
  // Section 5 or 6 from `data` into the next entry.
  bool CreateSampleSection(uint16_t id, const SEncodedData& data);

  // The editing cycle every update shares. `change` edits the members read from the
  // file (Section 0, Section 1 or default records) and answers whether it succeeded;
  // then Section 1 is rebuilt, Sections 3 and 6 (and 5, when loaded) too when
  // `rebuilt` holds their bits, every other section is copied as read and the file is
  // written anew. Any failure before the write leaves the file untouched.
  template <typename Change>
  bool Rewrite(const char* name, uint16_t rebuilt, Change change) {
    if (!BeginRewrite(name)) return false;
    // The change runs inside the library's boundary: running out of memory is 14.
    const bool changed = plat::CatchOutOfMemory(false, change);
    return EndRewrite(name, rebuilt, changed);
  }
  // Opens `name` and reads Section 0 and Section 1; on failure everything is closed.
  bool BeginRewrite(const char* name);
  // Closes and fails unless `changed`; else rebuilds, copies and writes `name`.
  bool EndRewrite(const char* name, uint16_t rebuilt, bool changed);

  SScpRecord Store;
  bool UpdateMode = false;
  plat::Bstr WriterName = nullptr;
  plat::Bstr WriterVersion = nullptr;
};
