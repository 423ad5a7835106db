// The P-QRS relation beat by beat: which P waves conduct, which are blocked, and the
// degree of AV block that makes.
#pragma once

#include "engine/findings.h"

namespace ktx::engine {

enum class AVBlock { kNone, kMobitzI, kMobitzII, kTwoToOne, kComplete };

AVBlock ClassifyAVBlock(const Findings& findings);

// Every supraventricular beat follows a P wave at one PR (a conducted atrial rhythm,
// also where the P waves are too unlike from beat to beat for the reference beat).
bool PWavesConductEveryBeat(const Findings& findings);
// A P wave before every supraventricular beat within a PR's reach, whatever its PR.
bool PWaveBeforeEveryBeat(const Findings& findings);

}  // namespace ktx::engine
