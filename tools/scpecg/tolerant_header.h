// Section 1 of other makers' records for show, export and plot. The core reader reads
// Section 1 as this system writes it; here it is read again when the reader refused it
// or when the record is not this system's: a section that ends without tag 255 is taken
// as ended, and tags 200-219 of another maker are kept as unknown tags.
#pragma once

#include <string>

#include "reader/reader.h"

namespace scpecg {

// Re-reads Section 1 of `file` into `reader` where the tolerant read differs; answers
// the note to print about it, or "" when the core reader's result stands.
std::string ReadForeignHeader(const std::string& file, CReader& reader);

}  // namespace scpecg
