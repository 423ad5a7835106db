// Physical units of the interchange formats as microvolts.
#pragma once

#include <string>

// Microvolts per unit of `units` ("mV", "uV", "µV", "V", "nV", in any case), or 0 for
// units that are not a voltage.
double MicrovoltsPerUnit(const std::string& units);
