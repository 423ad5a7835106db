// The analysis engine's entry point, as the driver calls it and the engine defines it.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define KTX_STDCALL __stdcall
#else
#define KTX_STDCALL
#endif

// Name of the engine module and of its entry.
#define KTX_ENGINE_MODULE "KTXSYS32.dll"
#define KTX_ENGINE_ENTRY "ScpAnalysis32"

// fileName: the working copy (NUL-terminated ANSI text); mode: 1 full, 2 short analysis.
// Answers a result code; on 0 the results are in the working copy.
typedef uint16_t(KTX_STDCALL* ScpAnalysis32Fn)(const char* fileName, int32_t mode);
