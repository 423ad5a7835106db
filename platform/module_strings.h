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

// Optional: extern "C" const uint32_t KtxModuleCodePage; the code page of the texts
// (65001 UTF-8, 932, ...). Without it the texts are taken as ANSI (Windows-1252) bytes;
// with it they are converted to Windows-1252, and a string that code page cannot hold
// fails to load (1113), as a STRINGTABLE does on a Windows host whose ANSI code page
// lacks its characters.
#define KTX_MODULE_CODE_PAGE_SYMBOL "KtxModuleCodePage"
constexpr uint32_t kKtxCodePageAnsi = 1252;
constexpr uint32_t kKtxCodePageUtf8 = 65001;
