#include "acquisition/raw8_reader.h"

#include "acquisition/raw_stream.h"

using ktx::acq::StreamFormat;

namespace {

constexpr StreamFormat kFileFormat{1, 300.0, 20000.0};
constexpr StreamFormat kMemoryFormat{1, 300.0, 20000.0};

}  // namespace

C8BitReader::C8BitReader() = default;

C8BitReader::~C8BitReader() = default;

void C8BitReader::ClearEvent() {
  Event.KillLeads();
}

SLeadObj* C8BitReader::ReadEvent(const char* fileName, SECGInfo* info, bool isUnsigned,
                                 double resolution, double samplingRate) {
  return ktx::acq::ReadStreamFile(Event, kFileFormat, fileName, info, isUnsigned, resolution,
                                  samplingRate);
}

C8BitMemReader::C8BitMemReader() = default;

C8BitMemReader::~C8BitMemReader() = default;

SLeadObj* C8BitMemReader::ReadEvent(const uint8_t* buffer, uint32_t size, SECGInfo* info,
                                    bool isUnsigned, double resolution, double samplingRate) {
  return ktx::acq::ReadStreamMemory(Event, kMemoryFormat, buffer, size, info, isUnsigned,
                                    resolution, samplingRate);
}
