// The per-lead measurements of Section 10.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

#pragma pack(push, 1)
// One lead's 62-byte measurement record, in the order of the SCP-ECG Section 10
// record. Durations and intervals in ms, amplitudes in microvolts.
struct SLeadMeasurement {
  uint16_t LeadId;
  uint16_t RecordLength;  // as stored; not used when reading
  int16_t PDuration;
  int16_t PRInterval;
  int16_t QRSDuration;
  int16_t QTInterval;
  int16_t QDuration;
  int16_t RDuration;
  int16_t SDuration;
  int16_t RdashDuration;
  int16_t SdashDuration;
  int16_t QAmplitude;
  int16_t RAmplitude;
  int16_t SAmplitude;
  int16_t RdashAmplitude;
  int16_t SdashAmplitude;
  int16_t JPointAmplitude;
  int16_t PplusAmplitude;
  int16_t PminusAmplitude;
  int16_t TplusAmplitude;
  int16_t TminusAmplitude;
  int16_t STSlope;
  int16_t PMorphology;
  int16_t TMorphology;
  int16_t IsoElectricI;
  int16_t IsoElectricK;
  int16_t IntrinsicoidDeflection;
  int16_t ECGRecordingConditions;
  int16_t STAmplitudeJplus20;
  int16_t STAmplitudeJplus60;
  int16_t STAmplitudeJplus80;
};
#pragma pack(pop)
static_assert(sizeof(SLeadMeasurement) == 62, "measurement record is 31 16-bit values");
static_assert(offsetof(SLeadMeasurement, JPointAmplitude) == 32, "value 16 at byte 32");

struct KTX_API SLeadMeasurements {
  static constexpr unsigned kMaxLeads = 254;
  static constexpr uint16_t kRecordSize = sizeof(SLeadMeasurement);

  // Count and RecordSize are the 4-byte Section 10 header as read.
  uint16_t Count = 0;
  uint16_t RecordSize = kRecordSize;  // record size in the file
  SLeadMeasurement* Records = nullptr;

  SLeadMeasurements() = default;
  ~SLeadMeasurements();
  SLeadMeasurements(const SLeadMeasurements&) = delete;
  SLeadMeasurements& operator=(const SLeadMeasurements&) = delete;

  void KillLeads();
  void KillData();
  bool Allocate(uint16_t n);
  bool AddLeads(uint16_t n);
  bool Set(const SLeadMeasurements* source);
};
static_assert(offsetof(SLeadMeasurements, RecordSize) == offsetof(SLeadMeasurements, Count) + 2,
              "Count and RecordSize are read as one 4-byte header");
