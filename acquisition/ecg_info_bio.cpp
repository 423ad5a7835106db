// SECGInfo from the header and event blocks of a Bio file.
#include <cstdio>
#include <cstring>

#include "acquisition/bio_fields.h"
#include "acquisition/ecg_info.h"

using ktx::acq::FourDigitYear;
using ktx::acq::FromBcd;
using ktx::acq::LeadIndexFromNumber;

namespace {

void SetSerial(SECGInfo& info, uint8_t high, uint16_t low) {
  const uint32_t serial = high * 256u + low;
  std::snprintf(info.SerialNumber, sizeof(info.SerialNumber), "%u", serial);
}

// Bits 0-2 of the device byte are the device type, bits 4-5 land in bits 6-7.
uint8_t DeviceFlagsFrom(uint8_t device, uint8_t mode) {
  return static_cast<uint8_t>((device & 0x07) | ((mode & 0x03) << 4) | ((device & 0x30) << 2));
}

// Bytes 0-14, which the type 2 and 3 headers share, but for the gain's resolution.
template <typename Block>
void SetCommon(SECGInfo& info, const Block& block, uint8_t mode) {
  info.SampleInterval = block.SampleInterval;
  info.HardwareVersion = block.HardwareVersion;
  info.SoftwareVersion = block.SoftwareVersion;
  info.DeviceFlags = DeviceFlagsFrom(block.Device, mode);
  info.Day = FromBcd(block.Day);
  info.Month = FromBcd(block.Month);
  info.Year = FourDigitYear(FromBcd(block.Year));
  info.Hour = FromBcd(block.Hour);
  info.Minute = FromBcd(block.Minute);
  info.SingleLead = LeadIndexFromNumber(block.LeadNumber);
  info.Gain = block.Gain;
  info.Status = block.Status;
}

}  // namespace

void SECGInfo::Set(const SBioBlock2& block) {
  SetCommon(*this, block, kNotSimultaneous);
  SetSerial(*this, block.SerialHigh, block.SerialLow);
  // A gain of 0 gives no resolution: it stays 0 ("not given"), as for type 3
  // headers, and a header extension may still supply one. The file is not refused.
  Resolution = static_cast<uint16_t>(block.Gain != 0 ? 1000000u / block.Gain : 0u);
  SampleCount = block.SampleCount;
  Filters = 0;
  Second = 0;
  LeadCount = 1;
  SampleBits = 0;
  std::memset(Reserved, 0, sizeof(Reserved));
}

void SECGInfo::Set(const SBioBlock3& block) {
  SetCommon(*this, block, block.Leads & 0x01);
  SetSerial(*this, block.SerialHigh, block.SerialLow);
  SampleCount = block.LongSampleCount != 0 ? block.LongSampleCount : block.SampleCount;
  if (block.SampleInterval2 != 0) SampleInterval = block.SampleInterval2;
  LeadCount = static_cast<uint8_t>((block.Leads >> 1) & 0x0F);
  std::memcpy(Reserved, block.Reserved, sizeof(Reserved));
  Filters &= 0x0F;
  SampleBits = 0;
}

void SECGInfo::Set(const SBioBlockExt& block) {
  SetSerial(*this, block.SerialHigh, block.SerialLow);
  HardwareVersion = block.HardwareVersion;
  SoftwareVersion = block.SoftwareVersion;
  Resolution = block.Resolution;
}

void SECGInfo::Set(const SBioBlock20& block) {
  uint8_t filters = 0;
  if (block.Filters & 0x02) {
    filters = kMains50 << 4;
  } else if (block.Filters & 0x08) {
    filters = kMains50;
  } else if (block.Filters & 0x01) {
    filters = kMains60 << 4;
  } else if (block.Filters & 0x04) {
    filters = kMains60;
  }
  if (block.Filters & 0x10) filters |= kMuscle;
  if (block.Filters & 0x20) filters |= kBaseline;
  Filters = filters;
  SampleInterval = block.SampleInterval;
  Resolution = block.Resolution;
  // The text is copied as it stands, up to its terminator or 253 characters.
  size_t length = 0;
  while (length < 253 && block.Identification[length] != '\0') ++length;
  std::memcpy(SerialNumber, block.Identification, length);
  std::memset(SerialNumber + length, 0, sizeof(SerialNumber) - length);
  HardwareVersion = block.HardwareVersion;
  SoftwareVersion = block.SoftwareVersion;
  Day = block.Day;
  Month = block.Month;
  Year = block.Year;
  Hour = block.Hour;
  Minute = block.Minute;
  Second = block.Second;
  SampleCount = block.SampleCount;
  SingleLead = block.SingleLead;
  LeadCount = block.LeadCount;
  DeviceFlags = 0x13;  // device type 3, leads recorded simultaneously
  SampleBits = 12;
  Gain = 0;
}

void SECGInfo::Set(const SBioBlock15& block) {
  SetSerial(*this, block.SerialHigh, block.SerialLow);
  HardwareVersion = block.HardwareVersion;
  SoftwareVersion = block.SoftwareVersion;
  Filters = static_cast<uint8_t>(block.Mains == 1   ? kMains50 << 4
                                 : block.Mains == 2 ? kMains60 << 4
                                                    : 0);
  Resolution = block.Resolution;
  SampleInterval = block.SampleInterval;
  SampleBits = block.SampleBits;
  LeadCount = block.LeadCount;
  DeviceFlags = 0x12;  // device type 2, leads recorded simultaneously
  // Date, time and sample count come with each event block.
  Status = 0;
  std::memset(Reserved, 0, sizeof(Reserved));
  Year = 0;
  Month = Day = Hour = Minute = Second = 0;
  SampleCount = 0;
  SingleLead = 255;
}

void SECGInfo::Set(const SBioBlock16& block) {
  SampleCount = block.SampleCount;
  Day = block.Day;
  Month = block.Month;
  Year = FourDigitYear(block.Year);
  Hour = block.Hour;
  Minute = block.Minute;
}
