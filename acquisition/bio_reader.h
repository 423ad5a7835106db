// Bio files: a block-structured acquisition file of one or more events of up to
// 12 leads each.
#pragma once

#include <cstddef>
#include <cstdint>

#include "acquisition/event.h"
#include "platform/export.h"
#include "platform/file.h"

class KTX_API CBioReader {
 public:
  CBioReader() = default;
  virtual ~CBioReader();
  // Copying is forbidden rather than deep: a copy constructor cannot report that
  // the events did not fit in memory, and a memberwise copy would share them.
  CBioReader(const CBioReader&) = delete;
  CBioReader& operator=(const CBioReader&) = delete;

  // Reads every event of the file; *eventCount receives how many (0 on failure,
  // when all events are released).
  bool ReadEvents(const char* fileName, int16_t* eventCount);
  // The same for a file held in memory (read through a memory file).
  bool ReadEventsMemory(const uint8_t* bytes, size_t size, int16_t* eventCount);
  // Copies event `index`'s header into *info and returns its leads.
  SLeadObj* GetEvent(SECGInfo* info, int16_t index);
  // `count` empty events, each with a cleared header record.
  bool AllocEvents(int16_t count);
  void ClearEvents();

  int16_t EventCount = 0;
  SEvent* Events = nullptr;

 private:
  bool ReadOpened(plat::FileHandle file, int16_t* eventCount);
};
