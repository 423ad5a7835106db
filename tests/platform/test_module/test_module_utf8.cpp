// A module whose texts are UTF-8 and say so, as the language modules do off Windows:
// the loader converts them to Windows-1252 or fails.
#include "platform/module_strings.h"

#ifndef _WIN32
#define KTX_TEST_EXPORT extern "C" __attribute__((visibility("default")))
KTX_TEST_EXPORT const uint32_t KtxModuleCodePage = kKtxCodePageUtf8;
KTX_TEST_EXPORT const KtxModuleString KtxModuleStrings[] = {
    {1, "Caf\u00E9 \u20AC"},
    {2, "\u5FC3\u96FB\u56F3"},  // Japanese: not in Windows-1252
    {0, nullptr},
};
#else
// A DLL needs some code; the strings are in test_module_utf8.rc.
extern "C" __declspec(dllexport) int KtxTestEntry() {
  return 7;
}
#endif
