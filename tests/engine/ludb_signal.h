// An LUDB record (WFDB format 16, 12 leads in the standard order, microvolts) as the
// engine's signal, with the patient's sex and age from its header.
#pragma once

#include <string>

#include "engine/signal.h"

namespace testgen {

struct LudbSignal : ktx::engine::Signal {
  char Sex = 'U';
  int Age = -1;
};

// Reads NAME.hea and NAME.dat; false when either is missing or short.
bool ReadLudb(const std::string& name, LudbSignal* record);

}  // namespace testgen
