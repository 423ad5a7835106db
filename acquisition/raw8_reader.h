// Headerless single-lead streams of 8-bit samples, from a file
// (C8BitReader) or from memory (C8BitMemReader).
#pragma once

#include <cstdint>

#include "acquisition/event.h"
#include "platform/export.h"

class KTX_API C8BitReader {
 public:
  C8BitReader();
  virtual ~C8BitReader();
  // Copying is forbidden rather than deep: a copy constructor
  // cannot report running out of memory, and a memberwise copy would share leads.
  C8BitReader(const C8BitReader&) = delete;
  C8BitReader& operator=(const C8BitReader&) = delete;

  // Resolution (nV per count) comes before the sampling rate (Hz); 0 selects
  // 20000 nV and 300 Hz. Null result: see the last-error code.
  SLeadObj* ReadEvent(const char* fileName, SECGInfo* info, bool isUnsigned, double resolution,
                      double samplingRate);

 protected:
  void ClearEvent();

  SEvent Event;
};

class KTX_API C8BitMemReader : public C8BitReader {
 public:
  C8BitMemReader();
  ~C8BitMemReader() override;

  // 0 selects 20000 nV and 300 Hz.
  SLeadObj* ReadEvent(const uint8_t* buffer, uint32_t size, SECGInfo* info, bool isUnsigned,
                      double resolution, double samplingRate);
};
