#include "interchange/file_bytes.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/file.h"
#include "platform/scoped_file.h"

namespace {

constexpr uint32_t kChunk = 1u << 24;

}  // namespace

bool ReadFileBytes(const std::string& name, std::vector<uint8_t>* bytes) {
  bytes->clear();
  const plat::ScopedFile file(name.c_str());
  if (!file.IsOpen()) return false;
  uint64_t size = 0;
  if (!plat::FileSize(file.Handle(), &size)) return false;
  if (size > kMaxInputBytes) return plat::FailWith(plat::kErrInvalidData);
  return plat::CatchOutOfMemory(false, [&] {
    bytes->resize(static_cast<size_t>(size));
    size_t at = 0;
    while (at < bytes->size()) {
      const auto count = static_cast<uint32_t>(std::min<size_t>(kChunk, bytes->size() - at));
      uint32_t done = 0;
      if (!plat::ReadFile(file.Handle(), bytes->data() + at, count, &done)) return false;
      if (done == 0) break;  // the file shrank while it was read
      at += done;
    }
    bytes->resize(at);
    return true;
  });
}

bool WriteFileBytes(const std::string& name, const void* data, size_t size) {
  const plat::FileHandle file = plat::CreateAlways(name.c_str());
  if (file == plat::kClosedFile) return false;
  const auto* at = static_cast<const uint8_t*>(data);
  bool written = true;
  while (written && size > 0) {
    const auto count = static_cast<uint32_t>(std::min<size_t>(kChunk, size));
    uint32_t done = 0;
    written = plat::WriteFile(file, at, count, &done) &&
              (done == count || plat::FailWith(plat::kErrDiskFull));
    at += count;
    size -= count;
  }
  if (!written) {
    const plat::KeepLastError keep;
    plat::CloseFile(file);
    return false;
  }
  return plat::CloseFile(file);
}
