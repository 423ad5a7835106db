#include "acquisition/raw12_reader.h"

#include "acquisition/raw12_decode.h"
#include "acquisition/reader_common.h"
#include "platform/read_exact.h"
#include "platform/scoped_file.h"

using ktx::acq::AllocateRaw12;
using ktx::acq::BeginRaw12;
using ktx::acq::DecodeRaw12Record;
using ktx::acq::FinishRaw12;
using ktx::acq::NoLeads;
using ktx::acq::Raw12Layout;

C12LReader::C12LReader() = default;

C12LReader::~C12LReader() = default;

void C12LReader::ClearEvent() {
  Event.KillLeads();
}

SLeadObj* C12LReader::ReadEvent(const char* fileName, SECGInfo* info, int16_t leadConfig,
                                double samplingRate, double resolution) {
  if (fileName == nullptr) return NoLeads(plat::kErrInvalidParameter);
  plat::ScopedFile file(fileName);
  if (!file.IsOpen()) return nullptr;
  Raw12Layout layout{};
  if (!BeginRaw12(Event, leadConfig, samplingRate, resolution, &layout)) return nullptr;
  uint64_t size = 0;
  if (!plat::FileSize(file.Handle(), &size)) return nullptr;
  // A file whose time cannot be read keeps the cleared date rather than failing:
  // the samples are what matters.
  plat::SystemTime written{};
  plat::LastWriteTimeLocal(file.Handle(), &written);
  if (!AllocateRaw12(Event, layout, size, written)) return nullptr;

  uint8_t record[13];
  uint32_t stored = 0;
  for (uint32_t i = 0; i < Event.Info.SampleCount; ++i) {
    // A short read (the file shrank since its size was taken) fails with 13.
    if (!plat::ReadExact(file.Handle(), record, layout.RecordSize)) {
      ClearEvent();
      return nullptr;
    }
    if (DecodeRaw12Record(Event, layout, record, stored)) ++stored;
  }
  return FinishRaw12(Event, stored, info);
}
