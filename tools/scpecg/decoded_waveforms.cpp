#include "decoded_waveforms.h"

#include "decoder/decoded_copy.h"
#include "platform/errors.h"

namespace scpecg {

namespace {

bool NeedsDecoding(const SDecodedWaveforms& decoded, const CReader& reader) {
  const bool coded = decoded.HuffmanTables != 0 && !decoded.Plain16Table;
  return coded || decoded.Subtracted || decoded.Rhythm.Bimodal != 0 ||
         !(reader.Loaded & kSection6) || reader.Rhythm.Encoding != 0 ||
         (decoded.Median.Present && (!(reader.Loaded & kSection5) || reader.Median.Encoding != 0));
}

}  // namespace

std::string DecodeIntoReader(const std::string& file, CReader& reader) {
  plat::KeepLastError keep;  // a record the decoder refuses keeps the reader's story
  SDecodedWaveforms decoded;
  if (!DecodeWaveformFile(file.c_str(), &decoded) || !NeedsDecoding(decoded, reader)) return "";
  if (!InstallDecodedWaveforms(decoded, &reader)) return "";
  return DescribeEncoding(decoded);
}

}  // namespace scpecg
