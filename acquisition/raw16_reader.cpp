#include "acquisition/raw16_reader.h"

#include "acquisition/raw_stream.h"

using ktx::acq::StreamFormat;

namespace {

constexpr StreamFormat kFileFormat{2, 499.4219653179, 2995.0};
constexpr StreamFormat kMemoryFormat{2, 300.0, 20000.0};

}  // namespace

C16BitReader::C16BitReader() = default;

C16BitReader::~C16BitReader() = default;

void C16BitReader::ClearEvent() {
  Event.KillLeads();
}

SLeadObj* C16BitReader::ReadEvent(const char* fileName, SECGInfo* info, bool isUnsigned,
                                  double resolution, double samplingRate) {
  return ktx::acq::ReadStreamFile(Event, kFileFormat, fileName, info, isUnsigned, resolution,
                                  samplingRate);
}

C16BitMemReader::C16BitMemReader() = default;

C16BitMemReader::~C16BitMemReader() = default;

SLeadObj* C16BitMemReader::ReadEvent(const uint8_t* buffer, uint32_t size, SECGInfo* info,
                                     bool isUnsigned, double resolution, double samplingRate) {
  return ktx::acq::ReadStreamMemory(Event, kMemoryFormat, buffer, size, info, isUnsigned,
                                    resolution, samplingRate);
}
