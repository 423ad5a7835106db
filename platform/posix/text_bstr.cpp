// BSTRs laid out as Windows lays them out: a 4-byte byte count, the UTF-16 characters
// and a 2-byte zero; the pointer handed out points at the first character.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/errors.h"
#include "platform/text.h"

namespace plat {
namespace {

constexpr size_t kPrefix = sizeof(uint32_t);
constexpr uint32_t kMaxLength = (UINT32_MAX - kPrefix - sizeof(OleChar)) / sizeof(OleChar);

}  // namespace

Bstr SysAllocString(const OleChar* text) {
  if (!text) return nullptr;
  const size_t length = std::char_traits<OleChar>::length(text);
  if (length > kMaxLength) return nullptr;
  return SysAllocStringLen(text, static_cast<uint32_t>(length));
}

Bstr SysAllocStringLen(const OleChar* text, uint32_t length) {
  if (length > kMaxLength) return nullptr;
  const uint32_t bytes = length * static_cast<uint32_t>(sizeof(OleChar));
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(OleChar)));
  if (!block) {
    return FailNull(kErrOutOfMemory);
  }
  std::memcpy(block, &bytes, kPrefix);
  auto* chars = reinterpret_cast<OleChar*>(block + kPrefix);
  // Windows leaves a string without source text uninitialised; zeros are kinder.
  if (text) {
    std::memcpy(chars, text, bytes);
  } else {
    std::memset(chars, 0, bytes);
  }
  chars[length] = 0;
  return chars;
}

void SysFreeString(Bstr text) {
  if (text) std::free(reinterpret_cast<unsigned char*>(text) - kPrefix);
}

uint32_t SysStringLen(const OleChar* text) {
  if (!text) return 0;
  uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(text) - kPrefix, kPrefix);
  return bytes / static_cast<uint32_t>(sizeof(OleChar));
}

}  // namespace plat
