// A module for the platform tests: one entry and, off Windows, the string table that
// stands in for the STRINGTABLE of test_module.rc.
#include "platform/module_strings.h"
#include "test_strings.h"

#ifdef _WIN32
#define KTX_TEST_EXPORT __declspec(dllexport)
#else
#define KTX_TEST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" KTX_TEST_EXPORT int KtxTestEntry() {
  return 42;
}

#ifndef _WIN32
extern "C" KTX_TEST_EXPORT const KtxModuleString KtxModuleStrings[] = {
    {KTX_TEST_STRING_1_ID, KTX_TEST_STRING_1},
    {KTX_TEST_STRING_2_ID, KTX_TEST_STRING_2},
    {0, nullptr},
};
#endif
