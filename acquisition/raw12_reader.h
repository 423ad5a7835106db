// Raw 12-lead acquisitions: headerless fixed-size sample records of 1, 2 or 8
// leads, from a file (C12LReader) or from memory (C12LMemReader).
#pragma once

#include <cstdint>

#include "acquisition/event.h"
#include "platform/export.h"

class KTX_API C12LReader {
 public:
  C12LReader();
  virtual ~C12LReader();
  // Copying is forbidden rather than deep: a copy constructor cannot report that
  // the lead buffers did not fit in memory, and no caller needs a second reader
  // holding the same event. Consumers copy the samples they keep.
  C12LReader(const C12LReader&) = delete;
  C12LReader& operator=(const C12LReader&) = delete;

  // Lead configuration 1 (one lead), 2 or 6 (I, II), 8 or 12 (I, II, V1-V6). Returns
  // the event's leads, valid until the next read, or null with the last-error code.
  SLeadObj* ReadEvent(const char* fileName, SECGInfo* info, int16_t leadConfig, double samplingRate,
                      double resolution);

 protected:
  void ClearEvent();

  SEvent Event;
};

class KTX_API C12LMemReader : public C12LReader {
 public:
  C12LMemReader();
  ~C12LMemReader() override;

  SLeadObj* ReadEvent(const uint8_t* buffer, uint32_t size, SECGInfo* info, int16_t leadConfig,
                      double samplingRate, double resolution);
};
