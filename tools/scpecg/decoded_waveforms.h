// The waveforms of compressed records for show, export and plot: decoded when the
// reader kept them as stored or refused them.
#pragma once

#include <string>

#include "reader/reader.h"

namespace scpecg {

// Decodes `file` into `reader` when its samples are compressed, difference encoded or
// could not be read as stored; answers what was undone ("huffman default, second
// differences"), or "" when the reader's own samples stand.
std::string DecodeIntoReader(const std::string& file, CReader& reader);

}  // namespace scpecg
