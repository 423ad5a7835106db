#include <new>

#include "acquisition/bio_reader.h"
#include "platform/errors.h"

CBioReader::~CBioReader() {
  ClearEvents();
}

SLeadObj* CBioReader::GetEvent(SECGInfo* info, int16_t index) {
  uint32_t code = plat::kErrSuccess;
  if (info == nullptr) {
    code = plat::kErrInvalidParameter;
  } else if (Events == nullptr || EventCount <= 0) {
    code = plat::kErrNoData;
  } else if (index < 0 || index >= EventCount) {
    code = plat::kErrOutOfStructures;
  }
  plat::SetLastError(code);
  if (code != plat::kErrSuccess) return nullptr;
  info->Set(Events[index].Info);
  return &Events[index];
}

bool CBioReader::AllocEvents(int16_t count) {
  if (count <= 0) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  ClearEvents();
  Events = new (std::nothrow) SEvent[static_cast<size_t>(count)];
  if (Events == nullptr) {
    return plat::FailWith(plat::kErrOutOfMemory);
  }
  EventCount = count;
  return true;
}

void CBioReader::ClearEvents() {
  delete[] Events;  // each event releases its leads
  Events = nullptr;
  EventCount = 0;
}
