// KTXSYS32: the analysis engine module. One entry point analyses an SCP-ECG record
// and writes its results into the same file.
//
// mode 1, full analysis: Sections 4 (QRS locations), 5 (reference beats), 7 (global
//   measurements), 9 (statement codes) and 10 (per-lead measurements).
// mode 2, short analysis: rhythm, global measurements and statements only, that is
//   Sections 4, 7 and 9; no reference beats and no per-lead measurements.
// Every other section of the record is kept byte for byte; earlier analysis sections
// are replaced. On any result but 0 the file is left as it was.
#pragma once

#include <cstdint>

#include "record/engine_abi.h"

#if defined(_WIN32)
#define KTXSYS_API __declspec(dllexport)
#else
#define KTXSYS_API __attribute__((visibility("default")))
#endif

// Answers a ktx::abi::EngineResult: 0 OK, 1-5 memory and file failures, 6 no QRS
// complex, 7 no T wave on the reference beat, 8 no such file, 11 bad mode, 13 signal
// too short or flat, 14 a lead is off, 15 not an SCP-ECG record.
extern "C" KTXSYS_API uint16_t KTX_ENGINE_CALL ScpAnalysis32(const char* fileName, int32_t mode);
