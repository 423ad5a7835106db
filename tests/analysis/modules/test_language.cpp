// A language module for the analysis tests: known statement strings. On Windows the
// strings are the STRINGTABLE of test_language.rc; elsewhere this exported table.
#ifndef _WIN32
#include "platform/module_strings.h"
#include "test_statements.h"

extern "C" __attribute__((visibility("default"))) const KtxModuleString KtxModuleStrings[] = {
    {1010, KTX_STATEMENT_10},
    {1020, KTX_STATEMENT_20},
    {1030, KTX_STATEMENT_30},
    {1042, KTX_STATEMENT_42},
    {5001, KTX_DRIVER_5001},
    {5002, KTX_DRIVER_5002},
    {5003, KTX_DRIVER_5003},
    {5004, KTX_DRIVER_5004},
    {5005, KTX_DRIVER_5005},
    {5006, KTX_DRIVER_5006},
    {0, nullptr},
};
#else
// The module must export something for the linker to make a DLL of it.
extern "C" __declspec(dllexport) int KtxTestLanguage() {
  return 0;
}
#endif
