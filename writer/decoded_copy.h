// An uncompressed copy of a compressed record.
#pragma once

#include "format/waveform_decoder.h"
#include "platform/export.h"
#include "reader/decoded_waveforms.h"
#include "writer/writer.h"

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
