// The lead counts the table objects accept from automation callers.
#pragma once

namespace ktx_com {

// A count is taken as an unsigned 16-bit number, so every negative count is too large.
inline bool TooManyLeads(short count) {
  return static_cast<unsigned short>(count) > 254;
}

}  // namespace ktx_com
