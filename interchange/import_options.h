// What the user asks of an import, whatever the format, and the leads they choose.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct SImportOptions {
  // The leads to import, in this order: 1-based numbers, names as the file gives them
  // (any case) or lead names ("II" finds "MLII"). Empty: every lead that is a voltage.
  std::vector<std::string> Leads;
  // WFDB: when above 0, every signal's stored values are taken as this many ADC units
  // per mV with baseline 0, whatever the header says (LUDB: 1000).
  double Gain = 0;
  // CSV: samples per second (required), and the microvolts of one unit (1000: mV).
  double Rate = 0;
  double MicrovoltsPerUnit = 1;
};

// The positions in `names` of the leads `wanted` asks for, in its order; all of them
// when it is empty. False with `why` for a wish that matches no name or a number out
// of range.
bool ChooseLeads(const std::vector<std::string>& wanted, const std::vector<std::string>& names,
                 std::vector<size_t>* chosen, std::string* why);
