// The header and event blocks of a Bio file, byte for byte as they stand in it
// (multi-byte values little-endian). Names follow what each byte carries.
#pragma once

#include <cstdint>

#pragma pack(push, 1)

// Header block type 2.
struct SBioBlock2 {
  uint16_t SampleInterval;  // microseconds
  uint16_t SerialLow;
  uint8_t HardwareVersion;  // tenths
  uint8_t SoftwareVersion;
  uint8_t Device;      // bits 0-2 device type code, bits 4-5 two device flags
  uint8_t Day;         // BCD
  uint8_t Month;       // BCD
  uint8_t Year;        // BCD, two digits
  uint8_t Hour;        // BCD
  uint8_t Minute;      // BCD
  uint8_t LeadNumber;  // 1-based, 0 unspecified
  uint8_t Gain;        // counts per millivolt
  uint8_t Status;
  uint16_t SampleCount;
  uint8_t SerialHigh;
};

// Header block type 3: type 2's first 15 bytes and more.
struct SBioBlock3 {
  uint16_t SampleInterval;
  uint16_t SerialLow;
  uint8_t HardwareVersion;
  uint8_t SoftwareVersion;
  uint8_t Device;
  uint8_t Day;
  uint8_t Month;
  uint8_t Year;
  uint8_t Hour;
  uint8_t Minute;
  uint8_t LeadNumber;
  uint8_t Gain;
  uint8_t Status;
  uint16_t SampleCount;      // used when LongSampleCount is 0
  uint16_t SampleInterval2;  // used when not 0
  uint8_t Leads;             // bit 0 all leads simultaneous, bits 1-4 lead count
  uint8_t Reserved[12];
  uint16_t LongSampleCount;
  uint8_t SerialHigh;
};

// Extension after a type 2 or 3 header when the payload has room for it.
struct SBioBlockExt {
  uint16_t SerialLow;
  uint8_t SerialHigh;
  uint8_t HardwareVersion;
  uint8_t SoftwareVersion;
  uint16_t Resolution;  // nanovolts per count
};

// Header block type 20.
struct SBioBlock20 {
  uint8_t Filters;
  uint16_t SampleInterval;
  uint16_t Resolution;
  char Identification[256];
  uint8_t HardwareVersion;
  uint8_t SoftwareVersion;
  uint8_t Day;
  uint8_t Month;
  uint16_t Year;  // four digits
  uint8_t Hour;
  uint8_t Minute;
  uint8_t Second;
  uint8_t Unused1[5];
  uint16_t SampleCount;
  uint8_t Unused2[2];
  uint8_t SingleLead;
  uint8_t LeadCount;
};

// Header block type 30: a multi-event file.
struct SBioBlock15 {
  uint8_t SerialHigh;
  uint16_t SerialLow;
  uint8_t HardwareVersion;
  uint8_t SoftwareVersion;
  uint8_t Unused;
  uint8_t Mains;  // 1 50 Hz, 2 60 Hz
  uint16_t Resolution;
  uint16_t SampleInterval;
  uint8_t SampleBits;
  uint8_t LeadCount;
  uint8_t EventCount;  // 0 counts as 1
};

// Event block, type 31.
struct SBioBlock16 {
  uint8_t Unused0;
  uint16_t SampleCount;
  uint8_t Unused1[2];
  uint8_t Valid;  // must not be 0
  uint8_t Unused2[4];
  uint8_t Day;
  uint8_t Month;
  uint8_t Year;  // two digits
  uint8_t Hour;
  uint8_t Minute;
};

#pragma pack(pop)

static_assert(sizeof(SBioBlock2) == 18, "type 2 header reads 18 bytes");
static_assert(sizeof(SBioBlock3) == 35, "type 3 header reads 35 bytes");
static_assert(sizeof(SBioBlockExt) == 7, "header extension is 7 bytes");
static_assert(sizeof(SBioBlock20) == 281, "type 20 header reads 281 bytes");
static_assert(sizeof(SBioBlock15) == 14, "type 30 header reads 14 bytes");
static_assert(sizeof(SBioBlock16) == 15, "event block reads 15 bytes");
