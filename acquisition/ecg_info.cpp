#include "acquisition/ecg_info.h"

#include <cstdio>
#include <cstring>

void SECGInfo::Clear() {
  std::memset(this, 0, sizeof(*this));
  SingleLead = 255;
  DeviceFlags = 0x2F;  // device type 15 ("KTS  "), leads not recorded simultaneously
}

void SECGInfo::Set(const SECGInfo& other) {
  if (&other != this) std::memcpy(this, &other, sizeof(*this));
}

const char* DeviceTypeText(uint8_t deviceFlags) {
  static const char* const kTypes[] = {"QD   ", "QC   ", "QBR  ", "QA   "};
  const unsigned type = deviceFlags & 0x0F;
  return type < 4 ? kTypes[type] : "KTS  ";
}

void ProgramRevisionText(uint8_t hardwareVersion, uint8_t softwareVersion, char* text,
                         size_t size) {
  if (text == nullptr || size == 0) return;
  const double hw = hardwareVersion / 10.0;
  const double sw = softwareVersion / 10.0;
  if (hardwareVersion != 0 && softwareVersion != 0) {
    std::snprintf(text, size, "HW %.1f, SW %.1f", hw, sw);
  } else if (hardwareVersion != 0) {
    std::snprintf(text, size, "HW %.1f", hw);
  } else if (softwareVersion != 0) {
    std::snprintf(text, size, "SW %.1f", sw);
  } else {
    text[0] = '\0';
  }
}
