// Owned BSTR fields of the header records.
#pragma once

#include "platform/export.h"
#include "platform/text.h"

// Frees *field and leaves it null.
KTX_API void FreeString(plat::Bstr* field);
// Replaces *field by a copy of `value` (its full BSTR length when it is a BSTR made by
// SysAllocString; null stays null). Out of memory leaves the field null.
KTX_API void CopyString(plat::Bstr* field, const plat::Bstr value);
