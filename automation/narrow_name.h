// File names cross the automation boundary as wide text; the core opens ANSI names.
#pragma once

#include <windows.h>

namespace ktx_com {

// The longest ANSI file name, terminator included.
constexpr int kNarrowNameSize = 260;

// The name in the process's ANSI code page, cut to kNarrowNameSize bytes with a
// terminator forced into the last byte. False when the conversion fails (a name that
// does not fit among them).
bool NarrowName(const wchar_t* wide, char (&narrow)[kNarrowNameSize]);

}  // namespace ktx_com
