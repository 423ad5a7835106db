// Hands decoded waveforms to the rest of the library: into a reader's members, as if
// the record had been stored uncompressed, or into a new uncompressed record.
#pragma once

#include "decoder/waveform_decoder.h"
#include "platform/export.h"
#include "writer/writer.h"

// Replaces the reader's lead definitions, rhythm and (when decoded) reference beats
// with the decoded ones, header bytes saying "no difference, not bimodal", and sets
// their Loaded bits and flags. False with 14 out of memory, 13 for a lead too long
// for the reader's tables; the reader then holds no waveform.
KTX_API bool InstallDecodedWaveforms(const SDecodedWaveforms& decoded, CReader* reader);

class KTX_API CDecodedCopyWriter : public CWriter {
 public:
  // Writes `to` as an uncompressed copy of `from`: Sections 1, 7, 9 and 10 as they are,
  // Sections 3, 5 and 6 from the decoded waveforms; Sections 2, 4, 8 and the others
  // go, since they describe the compression. `to` may be `from`.
  // Sections copied with a wrong CRC get a recomputed one, so that the copy is a valid
  // record; RepairedCrcs then has bit n set for Section n.
  bool WriteDecodedCopy(const char* from, const char* to);

  uint32_t RepairedCrcs = 0;

 private:
  void RepairCopiedCrcs();
};
