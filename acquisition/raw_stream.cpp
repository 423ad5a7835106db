#include "acquisition/raw_stream.h"

#include <algorithm>

#include "acquisition/reader_common.h"
#include "platform/errors.h"
#include "platform/little_endian.h"
#include "platform/read_exact.h"
#include "platform/scoped_file.h"

namespace ktx::acq {

namespace {

constexpr uint32_t kFirstBlock = 1000;

// 16-bit samples are little-endian; unsigned ones are offset binary.
void Convert(const StreamFormat& format, const uint8_t* bytes, uint32_t count, bool isUnsigned,
             int16_t* out) {
  for (uint32_t i = 0; i < count; ++i) {
    if (format.Width == 2) {
      unsigned value = plat::GetLE16(bytes + 2 * i);
      if (isUnsigned) value = (value + 32768u) & 0xFFFFu;
      out[i] = static_cast<int16_t>(value >= 32768u ? static_cast<int>(value) - 65536
                                                    : static_cast<int>(value));
    } else {
      out[i] = static_cast<int16_t>(isUnsigned ? bytes[i] - 128 : bytes[i]);
    }
  }
}

// Steps shared by file and memory: header record and the one lead.
bool Begin(SEvent& event, const StreamFormat& format, uint64_t inputBytes,
           const plat::SystemTime& when, double resolution, double samplingRate) {
  SECGInfo& info = event.Info;
  info.Clear();
  info.SampleInterval = TruncateTo16(1000000.0 / samplingRate);
  info.Resolution = TruncateTo16(resolution);
  info.SingleLead = kUnspecifiedLead;
  info.LeadCount = 1;
  info.SampleBits = static_cast<uint8_t>(format.Width * 8);
  info.SampleCount =
      static_cast<uint16_t>(std::min<uint64_t>(inputBytes / format.Width, kMaxRawSamples));
  SetDateTime(info, when);
  // The lead keeps identity 255: the writer gives it lead code 0.
  return event.InitLeads(1);
}

SLeadObj* Finish(SEvent& event, SECGInfo* info) {
  event.FilledLeads = 1;
  if (info != nullptr) info->Set(event.Info);
  plat::SetLastError(plat::kErrSuccess);
  return &event;
}

}  // namespace

uint32_t NextBlockSize(uint32_t block, uint32_t done, uint32_t total) {
  while (block != 0 && block + done > total) block /= 2;
  return block;
}

SLeadObj* ReadStreamFile(SEvent& event, const StreamFormat& format, const char* fileName,
                         SECGInfo* info, bool isUnsigned, double resolution, double samplingRate) {
  if (fileName == nullptr) return NoLeads(plat::kErrInvalidParameter);
  plat::ScopedFile file(fileName);
  if (!file.IsOpen()) return nullptr;
  event.KillLeads();
  if (samplingRate == 0) samplingRate = format.DefaultRate;
  if (resolution == 0) resolution = format.DefaultResolution;
  uint64_t size = 0;
  if (!plat::FileSize(file.Handle(), &size)) return nullptr;
  // A file whose time cannot be read keeps the cleared date rather than failing.
  plat::SystemTime written{};
  plat::LastWriteTimeLocal(file.Handle(), &written);
  if (!Begin(event, format, size, written, resolution, samplingRate)) return nullptr;

  const uint32_t total = event.Info.SampleCount;
  uint8_t bytes[kFirstBlock * 2];
  uint32_t done = 0;
  uint32_t block = kFirstBlock;
  while (done < total && (block = NextBlockSize(block, done, total)) != 0) {
    // A short read (the file shrank since its size was taken) fails with 13.
    if (!plat::ReadExact(file.Handle(), bytes, block * format.Width)) {
      event.KillLeads();
      return nullptr;
    }
    Convert(format, bytes, block, isUnsigned, event.Leads[0].Samples + done);
    done += block;
  }
  return Finish(event, info);
}

SLeadObj* ReadStreamMemory(SEvent& event, const StreamFormat& format, const uint8_t* buffer,
                           uint32_t size, SECGInfo* info, bool isUnsigned, double resolution,
                           double samplingRate) {
  if (buffer == nullptr || size == 0) return NoLeads(plat::kErrInvalidParameter);
  event.KillLeads();
  if (samplingRate == 0) samplingRate = format.DefaultRate;
  if (resolution == 0) resolution = format.DefaultResolution;
  if (!Begin(event, format, size, plat::LocalTimeNow(), resolution, samplingRate)) return nullptr;
  Convert(format, buffer, event.Info.SampleCount, isUnsigned, event.Leads[0].Samples);
  return Finish(event, info);
}

}  // namespace ktx::acq
