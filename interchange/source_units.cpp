#include "interchange/source_units.h"

#include "interchange/text_fields.h"

double MicrovoltsPerUnit(const std::string& units) {
  std::string unit = ktx::interchange::Lowered(ktx::interchange::Trim(units));
  // The micro sign (U+00B5) and the Greek mu (U+03BC) in UTF-8, and the micro sign in
  // Latin-1, all say micro.
  for (const char* micro : {"\xC2\xB5", "\xCE\xBC", "\xB5"}) {
    if (unit.rfind(micro, 0) == 0) {
      unit = "u" + unit.substr(std::string(micro).size());
      break;
    }
  }
  if (unit == "v") return 1e6;
  if (unit == "mv") return 1e3;
  if (unit == "uv") return 1;
  if (unit == "nv") return 1e-3;
  return 0;
}
