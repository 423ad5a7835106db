// WFDB annotation files in the MIT format: a stream of 16-bit little-endian words, the
// top 6 bits a code, the low 10 bits a time increment or a length; code 59 (SKIP)
// takes a 32-bit increment, 60-63 (NUM, SUB, CHN, AUX) set fields of the annotation
// that follows, and a zero word ends the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SWfdbAnnotation {
  int64_t Sample = 0;  // from the start of the record, 0-based
  uint8_t Code = 0;    // 1 N (normal beat) ... 49; see the WFDB annotation codes
  int8_t Subtype = 0;
  uint8_t Channel = 0;
  int8_t Number = 0;
  std::string Aux;  // auxiliary text (rhythm changes "(AFIB", notes)
};

// Annotation codes the export writes, and the beat codes of WFDB.
enum : uint8_t {
  kWfdbNormalBeat = 1,         // N
  kWfdbUnclassifiedBeat = 13,  // Q
};
// The codes of beats (QRS complexes): N L R a V F J A S E j / Q B e n f r and learning.
bool IsWfdbBeatCode(uint8_t code);
// The one-letter mnemonic of a code ("N", "V", "(", ")", "p", "t", "+", ...), "?" if none.
const char* WfdbCodeMnemonic(uint8_t code);

// Parses an annotation file. False with `why` for a stream that ends inside a SKIP or
// an AUX, or a time that runs backwards past the start.
bool ParseWfdbAnnotations(const uint8_t* bytes, size_t size,
                          std::vector<SWfdbAnnotation>* annotations, std::string* why);
// The file for `annotations`, in time order: SKIP for increments above 1023, NUM, SUB,
// CHN and AUX where a field differs from the annotation before, the end word.
std::vector<uint8_t> EncodeWfdbAnnotations(const std::vector<SWfdbAnnotation>& annotations);
