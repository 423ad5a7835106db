// Decoded waveforms handed to a reader object, as if the record had stored them plain.
#pragma once

#include "format/waveform_decoder.h"
#include "platform/export.h"
#include "reader/reader.h"

// Replaces the reader's lead definitions, rhythm and (when decoded) reference beats
// with the decoded ones, header bytes saying "no difference, not bimodal", and sets
// their Loaded bits and flags. False with 14 out of memory, 13 for a lead too long
// for the reader's tables; the reader then holds no waveform.
KTX_API bool InstallDecodedWaveforms(const SDecodedWaveforms& decoded, CReader* reader);
