// The analysis engine module's interface, as the engine defines it and the driver
// calls it: module and entry names, calling convention, result codes, and the language
// modules that hold the statement texts.
#pragma once

#include <cstdint>

// 32-bit Windows modules export the entry as __stdcall; every other target has one
// convention.
#if defined(_WIN32) && !defined(_WIN64)
#define KTX_ENGINE_CALL __stdcall
#else
#define KTX_ENGINE_CALL
#endif

namespace ktx::abi {

constexpr const char* kEngineModule = "KTXSYS32.dll";
constexpr const char* kEngineEntry = "ScpAnalysis32";

// fileName: the working copy (NUL-terminated ANSI text); mode: kFullAnalysis or
// kShortAnalysis. Answers an EngineResult; on kResultOk the results are in the copy.
using EngineEntry = uint16_t(KTX_ENGINE_CALL*)(const char* fileName, int32_t mode);

constexpr int32_t kFullAnalysis = 1;   // Sections 4, 5, 7, 9 and 10
constexpr int32_t kShortAnalysis = 2;  // Sections 4, 7 and 9

// What the entry answers; the driver reports 1-15 as they come.
enum EngineResult : int16_t {
  kResultOk = 0,
  kResultNoMemory,
  kResultFileOpen,
  kResultFileRead,
  kResultFileWrite,
  kResultFileSeek,
  kResultNoQrs,
  kResultNoPOrT,
  kResultNoFile,
  kResultBadParameters = 11,
  kResultCannotAnalyse = 13,
  kResultLeadOff,
  kResultNotScp,
};

// Statement text modules by language index: English, French, German, Italian, Spanish,
// Portuguese, Japanese.
constexpr int kLanguageCount = 7;
constexpr const char* kLanguageModules[kLanguageCount] = {
    "KTXSYSEN.dll", "KTXSYSFR.dll", "KTXSYSDU.dll", "KTXSYSIT.dll",
    "KTXSYSSP.dll", "KTXSYSPO.dll", "KTXSYSJP.dll",
};

}  // namespace ktx::abi
