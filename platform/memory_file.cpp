#include "platform/memory_file.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/errors.h"

namespace plat {
namespace {

// Memory handles are kFirst + slot: above every descriptor (at most INT_MAX) and
// kernel handle value, below the pseudo handles near ~0, in 32 bits too.
constexpr FileHandle kFirst = 0xF0000000u;
constexpr size_t kSlots = 4096;

struct SMemoryFile {
  const uint8_t* Bytes;
  size_t Size;
  uint64_t Position;
};

std::mutex& SlotsMutex() {
  static std::mutex mutex;
  return mutex;
}

// Slot i holds the file of handle kFirst + i; null when free.
std::vector<std::unique_ptr<SMemoryFile>>& Slots() {
  static std::vector<std::unique_ptr<SMemoryFile>> slots;
  return slots;
}

// The open file behind a memory handle, or null with 6.
SMemoryFile* Find(FileHandle file) {
  const std::lock_guard<std::mutex> lock(SlotsMutex());
  const size_t slot = file - kFirst;
  if (slot < Slots().size() && Slots()[slot]) return Slots()[slot].get();
  return FailNull(kErrInvalidHandle);
}

}  // namespace

FileHandle OpenMemoryFile(const void* bytes, size_t size) {
  if (bytes == nullptr && size != 0) {
    SetLastError(kErrInvalidParameter);
    return kClosedFile;
  }
  return CatchOutOfMemory(kClosedFile, [&] {
    auto file =
        std::make_unique<SMemoryFile>(SMemoryFile{static_cast<const uint8_t*>(bytes), size, 0});
    const std::lock_guard<std::mutex> lock(SlotsMutex());
    std::vector<std::unique_ptr<SMemoryFile>>& slots = Slots();
    size_t slot = 0;
    while (slot < slots.size() && slots[slot]) ++slot;
    if (slot == kSlots) {
      SetLastError(kErrOutOfStructures);
      return kClosedFile;
    }
    if (slot == slots.size()) slots.emplace_back();
    slots[slot] = std::move(file);
    return kFirst + slot;
  });
}

namespace memory {

bool Owns(FileHandle file) {
  return file >= kFirst && file - kFirst < kSlots;
}

bool Read(FileHandle file, void* buffer, uint32_t count, uint32_t* done) {
  if (done) *done = 0;
  SMemoryFile* open = Find(file);
  if (open == nullptr) return false;
  if (!buffer && count) return FailWith(kErrInvalidParameter);
  // As with a file, reading at or past the end gives what is left, maybe nothing.
  const uint64_t left = open->Position < open->Size ? open->Size - open->Position : 0;
  const auto got = static_cast<uint32_t>(left < count ? left : count);
  if (got != 0) std::memcpy(buffer, open->Bytes + static_cast<size_t>(open->Position), got);
  open->Position += got;
  if (done) *done = got;
  return true;
}

bool Seek(FileHandle file, int64_t offset, SeekFrom from, uint64_t* position) {
  SMemoryFile* open = Find(file);
  if (open == nullptr) return false;
  const uint64_t origin = from == SeekFrom::Begin     ? 0
                          : from == SeekFrom::Current ? open->Position
                                                      : open->Size;
  // Past the end is allowed, as with a file; before the start is not.
  if (offset < 0 && static_cast<uint64_t>(-(offset + 1)) + 1 > origin) {
    return FailWith(kErrNegativeSeek);
  }
  open->Position = origin + static_cast<uint64_t>(offset);
  if (position) *position = open->Position;
  return true;
}

bool Size(FileHandle file, uint64_t* size) {
  SMemoryFile* open = Find(file);
  if (open == nullptr) return false;
  if (!size) return FailWith(kErrInvalidParameter);
  *size = open->Size;
  return true;
}

bool Close(FileHandle file) {
  const std::lock_guard<std::mutex> lock(SlotsMutex());
  const size_t slot = file - kFirst;
  if (slot >= Slots().size() || !Slots()[slot]) return FailWith(kErrInvalidHandle);
  Slots()[slot].reset();
  return true;
}

}  // namespace memory
}  // namespace plat
