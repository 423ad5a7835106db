// Section 1 tags that no header record takes, kept byte for byte so that a
// rewritten Section 1 carries them on.
#pragma once

#include <cstdint>

#include "platform/export.h"

struct KTX_API SUnknownTags {
  static constexpr unsigned kSlots = 256;

  // Slot t: the data bytes of the last tag numbered t; empty is length 0, null data.
  uint16_t Length[kSlots] = {};
  uint8_t* Data[kSlots] = {};

  SUnknownTags() = default;
  ~SUnknownTags();
  SUnknownTags(const SUnknownTags&) = delete;
  SUnknownTags& operator=(const SUnknownTags&) = delete;

  void KillTag(uint8_t tag);
  void KillData();
  // Replaces whatever the slot held by a buffer of `length` bytes.
  bool Allocate(uint8_t tag, uint16_t length);
};
