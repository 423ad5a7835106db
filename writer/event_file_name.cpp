// File names for the events of a multi-event Bio file: rec.scp becomes rec.a.scp,
// rec.b.scp, ... rec.z.scp, rec.ab.scp, ...
#include <cstring>
#include <new>
#include <string>

#include "platform/path.h"
#include "platform/text.h"
#include "writer/writer.h"

namespace {

// Longest base name that still leaves room for the suffix within 255 characters.
constexpr size_t kMaxBaseName = 255;

std::string EventSuffix(unsigned index) {
  std::string suffix = ".";
  suffix += static_cast<char>('a' + index % 26);
  if (index >= 26) suffix += static_cast<char>('a' + (index / 26) % 26);
  if (index > 676) suffix += static_cast<char>('a' + (index / 676) % 26);
  return suffix;
}

}  // namespace

void CWriter::CreateEventFileName(char* out, const char* ScpFilename, int16_t index) {
  // Event numbers start at 0; a negative one names no event.
  if (out == nullptr || ScpFilename == nullptr || index < 0) return;
  try {
    const std::string suffix = EventSuffix(static_cast<unsigned>(index));
    plat::PathParts parts = plat::SplitPath(ScpFilename);
    const size_t room = kMaxBaseName - suffix.size();
    if (parts.Name.size() >= room) parts.Name.resize(room);
    const std::string name = parts.Drive + parts.Folder + parts.Name + suffix + parts.Extension;
    // `out` holds kMaxPath bytes: a longer path is cut rather than overrun.
    const size_t length = name.size() < plat::kMaxPath ? name.size() : plat::kMaxPath - 1;
    std::memcpy(out, name.data(), length);
    out[length] = '\0';
  } catch (const std::bad_alloc&) {
    out[0] = '\0';
  }
}
