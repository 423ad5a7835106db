// CReader: reads SCP-ECG records. A reader object loads the sections asked for into
// its members and closes the file again; stand-alone reads fill a caller's record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/export.h"
#include "platform/file.h"
#include "platform/little_endian.h"
#include "record/analysis_info.h"
#include "record/codes.h"
#include "record/encoded_data.h"
#include "record/general_info.h"
#include "record/lead_definitions.h"
#include "record/lead_errors.h"
#include "record/lead_measurements.h"
#include "record/patient_info.h"
#include "record/record_info.h"
#include "record/section_indexes.h"
#include "record/unknown_tags.h"

class KTX_API CReader {
 public:
  static constexpr uint32_t kRecordHeaderSize = 6;
  static constexpr uint32_t kSectionHeaderSize = 16;

  CReader();
  ~CReader();
  CReader(const CReader&) = delete;
  CReader& operator=(const CReader&) = delete;

  // --- Reader object ---

  // Reads the sections of `request` into the members; *loaded receives the mask of
  // what was read. False only when the file cannot be opened or its framing is refused.
  bool Load(const char* name, uint16_t* loaded, uint16_t request);
  // Load for a record held in memory, over a memory file (platform/memory_file.h);
  // the bytes need to stay valid during the call only.
  bool LoadMemory(const uint8_t* bytes, size_t size, uint16_t* loaded, uint16_t request);
  // Load, then, when the rhythm is asked for and Sections 5 and 6 are stored compressed
  // (Huffman coded, as differences, bimodally or with the reference beats subtracted) or
  // could not be read as stored, the lead definitions, rhythm and reference beats decoded
  // as if stored plain. *encoding (may be null) receives what was undone ("huffman
  // default, second differences"), or "" when the stored samples stand or the decoder
  // refuses the record; the load's answer and last-error code stay those of Load.
  bool LoadDecoded(const char* name, uint16_t* loaded, uint16_t request,
                   std::string* encoding = nullptr);
  bool LoadDecodedMemory(const uint8_t* bytes, size_t size, uint16_t* loaded, uint16_t request,
                         std::string* encoding = nullptr);
  void Close();
  // Empties the members of each bit of `mask`; keeps the last-error code.
  void Clear(uint16_t mask);
  // Flushes and closes File when it is open; keeps the caller's last-error code.
  void CloseFile();

  uint8_t GetLeadCount();
  SLeadDefinitions* GetLeadDefinitions();
  bool HasLeadSet(uint8_t count, const int16_t* ids);
  uint8_t HasRequiredTags() const;

  // The member when its section is loaded, else null with 232.
  CPatientInfo* LoadedPatient();
  CRecordInfo* LoadedRecording();
  SLeadErrors* LoadedLeadErrors();
  CGeneralInfo* LoadedGeneral();
  CAnalysisInfo* LoadedAnalysis();
  SLeadMeasurements* LoadedLeadMeasurements();
  SEncodedData* LoadedRhythm();
  SEncodedData* LoadedMedian();

  // --- Derived leads and lead errors, on the loaded members ---

  // Adds lead `target` as the weighted sum of `sources` loaded leads.
  bool CalculateLead(int16_t target, uint8_t sources, const double* coefficients,
                     const int16_t* sourceIds, bool countSimultaneous);
  // Adds III, aVR, aVL and aVF where missing, then rebuilds the lead errors.
  bool GenerateCalculatedLeads();
  // Rebuilds LeadErrors from the marker values of the rhythm data.
  bool GenerateLeadErrors();

  // --- Stand-alone reads: open, read one item into the caller's record, close. ---

  static bool ReadPatient(const char* name, CPatientInfo* patient, CRecordInfo* recording);
  static bool ReadLeadErrors(const char* name, SLeadErrors* errors);
  static bool ReadGeneral(const char* name, CGeneralInfo* general);
  static bool ReadAnalysis(const char* name, CAnalysisInfo* analysis);
  static bool ReadLeadDefinitions(const char* name, SLeadDefinitions* leads);
  static int16_t ReadLeadCount(const char* name);
  static bool ReadLeadSet(const char* name, uint8_t count, const int16_t* ids);
  static bool ReadLeadMeasurements(const char* name, SLeadMeasurements* measurements);
  static bool ReadRhythm(const char* name, SEncodedData* rhythm);
  static bool ReadMedian(const char* name, SEncodedData* median);

  // --- File operations: they keep no state; handle and buffers are arguments. ---

  // Opens `name` for reading (closing *file first), reads the record header and
  // refuses a file shorter than its record length (13). Leaves the file at byte 6.
  static bool Open(plat::FileHandle* file, const char* name, uint8_t* recordHeader);
  // Open for a record held in memory: *file becomes a memory file over `bytes`.
  static bool OpenMemory(plat::FileHandle* file, const uint8_t* bytes, size_t size,
                         uint8_t* recordHeader);
  // Open into File, then Section 0 into Index (Loaded gains kSection0): the start of
  // every rewrite. On failure the file may stay open; the caller closes.
  bool OpenIndexed(const char* name);
  static bool ReadRecordHeader(plat::FileHandle file, uint8_t* header);
  static bool ReadSectionHeader(plat::FileHandle file, uint8_t* header);
  // Reads Section 0 at the current position into `index`; emptied on failure.
  static bool ReadSectionIndex(plat::FileHandle file, SSectionIndexes* index);
  // Positions the file at the body of the first section numbered `id` and reads its
  // header. Absent: false with error 0. Header ID differs: true with error 11.
  static bool FindSection(plat::FileHandle file, const SSectionIndexes* index, uint16_t id,
                          uint8_t* header);
  // Record CRC, then the CRCs of Sections 0, 1, 3, 5, 6, 7, 9 and 10. True when a
  // verdict was reached; *valid tells which.
  static bool VerifyCrc(plat::FileHandle file, bool* valid, const uint8_t* recordHeader,
                        const SSectionIndexes* index);

  // Position helpers. CurrentIndex gives the 1-based position of the next byte.
  static bool CurrentIndex(plat::FileHandle file, uint32_t* index);
  static bool MoveForward(plat::FileHandle file, uint32_t count);
  static bool MoveTo(plat::FileHandle file, uint32_t offset);

  // Stand-alone CRC check of a named file.
  static bool CheckCrc(const char* name, bool* valid);

  // Little-endian fields of the framing.
  static uint16_t ReadU16(const uint8_t* bytes) { return plat::GetLE16(bytes); }
  static uint32_t ReadU32(const uint8_t* bytes) { return plat::GetLE32(bytes); }

  plat::FileHandle File = plat::kClosedFile;
  uint8_t RecordHeader[kRecordHeaderSize] = {};
  SSectionIndexes Index;
  CPatientInfo Patient;
  CRecordInfo Recording;
  SLeadErrors LeadErrors;
  CGeneralInfo General;
  CAnalysisInfo Analysis;
  SUnknownTags UnknownTags;
  SLeadMeasurements LeadMeasurements;
  SLeadDefinitions LeadDefinitions;
  SEncodedData Median;
  SEncodedData Rhythm;
  uint8_t HasRhythm = 0;
  uint8_t HasMedian = 0;
  uint8_t RequiredTags = 0;
  uint16_t Loaded = 0;

 private:
  // The rest of a load once File is open at byte 6: Section 0, then each section asked for.
  bool LoadSections(uint16_t* loaded, uint16_t request);
  // The decoding step of LoadDecoded: `decode` fills an SDecodedWaveforms.
  template <typename Decode>
  void InstallDecoded(uint16_t request, std::string* encoding, Decode decode);
};
