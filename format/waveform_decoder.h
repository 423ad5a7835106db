// Decoding of the compressed SCP-ECG waveforms that the core reader keeps as stored:
// Huffman coding (Section 2), first and second differences, reference beat
// subtraction (Section 4 zones) and bimodal compression (Section 6), plus
// uncompressed records whose lead definitions count one sample more than stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/export.h"
#include "record/lead_definitions.h"

// One decoded Section 5 or 6: the samples in AVM units at the full sample rate.
struct SDecodedSamples {
  bool Present = false;
  uint16_t AVM = 0;                         // nanovolts per sample unit
  uint16_t SampleInterval = 0;              // microseconds, at the full rate after undecimation
  uint8_t Difference = 0;                   // difference order the section was stored with
  uint8_t Bimodal = 0;                      // Section 6 bimodal byte as stored
  std::vector<std::vector<int16_t>> Leads;  // in Section 3 order
};

struct SDecodedWaveforms {
  std::vector<SLeadDef> LeadDefs;  // Section 3, sample ranges made to fit the samples
  uint8_t LeadFlags = 0;
  uint16_t HuffmanTables = 0;  // 0 none, 19999 the default table, else how many tables
  bool Plain16Table = false;   // a Section 2 that only says "16-bit words"
  bool Subtracted = false;     // reference beats added back into the rhythm
  SDecodedSamples Rhythm;      // Section 6
  SDecodedSamples Median;      // Section 5
};

// Decodes Sections 5 and 6 of a whole record held in memory. False with 13 for a
// record that is not well formed or a stream that does not decode, 232 when it has
// neither Section 3 nor Section 6, 14 out of memory.
KTX_API bool DecodeWaveformBuffer(const uint8_t* record, size_t size, SDecodedWaveforms* out);
// The same for a file, read whole (the record length bounds the read).
KTX_API bool DecodeWaveformFile(const char* name, SDecodedWaveforms* out);

// "huffman default, second differences", "uncompressed", ...: what was undone.
KTX_API std::string DescribeEncoding(const SDecodedWaveforms& decoded);
