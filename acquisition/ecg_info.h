// The header record of an acquisition. Hosts fill and read it themselves, so its
// layout is fixed: fields in this order, 16-bit fields on even offsets, no gaps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "acquisition/bio_blocks.h"
#include "platform/export.h"

struct KTX_API SECGInfo {
  char SerialNumber[256];
  uint8_t HardwareVersion;  // tenths
  uint8_t SoftwareVersion;  // tenths
  uint8_t Filters;          // low nibble device filters, high nibble data filters
  uint8_t DeviceFlags;      // bits 0-3 device type, 4-5 lead recording mode, 6-7 device flags
  uint8_t LeadCount;
  uint8_t SampleBits;
  uint16_t Year;
  uint8_t Month;
  uint8_t Day;
  uint8_t Hour;
  uint8_t Minute;
  uint8_t Second;
  uint8_t SingleLead;  // LeadIndex of a one-lead recording, 255 for several leads
  uint8_t Gain;        // counts per millivolt
  uint8_t Status;
  uint16_t SampleCount;
  uint16_t SampleInterval;  // microseconds
  uint16_t Resolution;      // nanovolts per count
  uint8_t Reserved[12];

  // Within a Filters nibble.
  static constexpr uint8_t kMains50 = 0x01;
  static constexpr uint8_t kMains60 = 0x02;
  static constexpr uint8_t kMuscle = 0x04;
  static constexpr uint8_t kBaseline = 0x08;
  // DeviceFlags bits 4-5.
  static constexpr uint8_t kSimultaneous = 1;
  static constexpr uint8_t kNotSimultaneous = 2;

  void Clear();
  void Set(const SECGInfo& other);
  void Set(const SBioBlock2& block);
  void Set(const SBioBlock3& block);
  void Set(const SBioBlockExt& block);
  void Set(const SBioBlock15& block);
  void Set(const SBioBlock16& block);
  void Set(const SBioBlock20& block);

  uint8_t DeviceType() const { return DeviceFlags & 0x0F; }
  uint8_t LeadRecordingMode() const { return (DeviceFlags >> 4) & 0x03; }
  void SetLeadRecordingMode(uint8_t mode) {
    DeviceFlags = static_cast<uint8_t>((DeviceFlags & 0xCF) | ((mode & 0x03) << 4));
  }
};

static_assert(offsetof(SECGInfo, HardwareVersion) == 256, "SECGInfo layout");
static_assert(offsetof(SECGInfo, DeviceFlags) == 259, "SECGInfo layout");
static_assert(offsetof(SECGInfo, SampleBits) == 261, "SECGInfo layout");
static_assert(offsetof(SECGInfo, Year) == 262, "SECGInfo layout");
static_assert(offsetof(SECGInfo, Second) == 268, "SECGInfo layout");
static_assert(offsetof(SECGInfo, Status) == 271, "SECGInfo layout");
static_assert(offsetof(SECGInfo, SampleCount) == 272, "SECGInfo layout");
static_assert(offsetof(SECGInfo, SampleInterval) == 274, "SECGInfo layout");
static_assert(offsetof(SECGInfo, Resolution) == 276, "SECGInfo layout");
static_assert(offsetof(SECGInfo, Reserved) == 278, "SECGInfo layout");
static_assert(sizeof(SECGInfo) == 290, "SECGInfo layout");

// Texts the writer makes of a header record: the five-character device type
// ("QD   ", "QC   ", "QBR  ", "QA   ", else "KTS  ") and the program revision
// ("HW 2.3, SW 1.0", "HW 2.3", "SW 1.0" or empty) into `text` of `size` bytes.
KTX_API const char* DeviceTypeText(uint8_t deviceFlags);
KTX_API void ProgramRevisionText(uint8_t hardwareVersion, uint8_t softwareVersion, char* text,
                                 size_t size);
