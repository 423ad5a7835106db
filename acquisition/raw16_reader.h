// Headerless single-lead streams of 16-bit little-endian samples, from a file
// (C16BitReader) or from memory (C16BitMemReader).
#pragma once

#include <cstdint>

#include "acquisition/event.h"
#include "platform/export.h"

class KTX_API C16BitReader {
 public:
  C16BitReader();
  virtual ~C16BitReader();
  // Copying is forbidden rather than deep, as for C12LReader: a copy constructor
  // cannot report running out of memory, and a memberwise copy would share leads.
  C16BitReader(const C16BitReader&) = delete;
  C16BitReader& operator=(const C16BitReader&) = delete;

  // Resolution (nV per count) comes before the sampling rate (Hz); 0 selects
  // 2995 nV and 499.4219653179 Hz. Null result: see the last-error code.
  SLeadObj* ReadEvent(const char* fileName, SECGInfo* info, bool isUnsigned, double resolution,
                      double samplingRate);

 protected:
  void ClearEvent();

  SEvent Event;
};

class KTX_API C16BitMemReader : public C16BitReader {
 public:
  C16BitMemReader();
  ~C16BitMemReader() override;

  // 0 selects 20000 nV and 300 Hz.
  SLeadObj* ReadEvent(const uint8_t* buffer, uint32_t size, SECGInfo* info, bool isUnsigned,
                      double resolution, double samplingRate);
};
