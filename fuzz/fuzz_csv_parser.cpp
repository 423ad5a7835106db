// Any bytes as CSV signals, with the first byte choosing the units and whether leads
// are chosen: the parser must fail cleanly or succeed, never crash.
#include <cstdint>
#include <string>

#include "interchange/csv_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  SImportOptions options;
  options.Rate = 500;
  options.MicrovoltsPerUnit = (data[0] & 1) ? 1000 : 1;
  if (data[0] & 2) options.Leads = {"II", "2", "v1"};
  SSignalSet set;
  std::string why;
  ParseCsvSignals(std::string(reinterpret_cast<const char*>(data + 1), size - 1), options, &set,
                  &why);
  return 0;
}
