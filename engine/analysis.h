// The analysis chain on one recording: conditioning, QRS detection, beat typing,
// reference beat, delineation and measurements, then the statements.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/beat_typing.h"
#include "engine/delineation.h"
#include "engine/findings.h"
#include "engine/median_beat.h"
#include "engine/qrs_detector.h"
#include "engine/signal.h"
#include "record/engine_abi.h"

namespace ktx::engine {

// Result codes of the engine entry point.
using ResultCode = abi::EngineResult;
using abi::kResultBadParameters;
using abi::kResultCannotAnalyse;
using abi::kResultFileOpen;
using abi::kResultFileRead;
using abi::kResultFileSeek;
using abi::kResultFileWrite;
using abi::kResultLeadOff;
using abi::kResultNoFile;
using abi::kResultNoMemory;
using abi::kResultNoPOrT;
using abi::kResultNoQrs;
using abi::kResultNotScp;
using abi::kResultOk;

// One QRS complex as Section 4 lists it (0-based samples of the rhythm).
struct QrsComplex {
  int Type = 0;
  int Onset = 0, Fiducial = 0, Offset = 0;
};

struct Analysis {
  int16_t Result = kResultOk;
  std::vector<QrsComplex> Complexes;
  TypedBeats Types;
  ReferenceBeat Reference;
  Delineation Waves;
  std::vector<int> PacemakerSpikes;  // samples
  Findings Found;
  Statements Codes;
};

// `perLead` false skips the per-lead measurements (the short analysis).
Analysis Analyse(const Signal& raw, bool perLead);

}  // namespace ktx::engine
