// The string table that a module exports off Windows, in place of a STRINGTABLE
// resource: a sorted-or-not array of (id, text) pairs ended by a null text.
#pragma once

#include <cstdint>

struct KtxModuleString {
  uint32_t Id;
  const char* Text;
};

// Name of the exported symbol: extern "C" const KtxModuleString KtxModuleStrings[];
#define KTX_MODULE_STRINGS_SYMBOL "KtxModuleStrings"
