// Temporary files that live only while their process uses them: created and held in one
// call, after the files of the same pattern left by processes that died are removed.
#include <cctype>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file.h"

namespace plat {
namespace {

constexpr char kSuffix[] = ".tmp";
constexpr int kAttempts = 3;

// "<prefix>XXXX.tmp" as CreateTempFile names them (Windows: one to four hex digits and
// ".TMP"): nothing else in the folder is touched.
bool IsTempName(const std::string& path, const std::string& prefix) {
  const std::string::size_type slash = path.find_last_of("/\\");
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  const size_t digits = name.size() - prefix.size() - (sizeof kSuffix - 1);
  if (name.size() <= prefix.size() + (sizeof kSuffix - 1) || digits > 4) return false;
  for (size_t i = 0; i < digits; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(name[prefix.size() + i]))) return false;
  }
  return true;
}

void RemoveStale(const char* folder, const char* prefix) {
  KeepLastError keep;
  std::vector<std::string> paths;
  if (!ListFiles(folder, prefix, kSuffix, &paths)) return;
  for (const std::string& path : paths) {
    if (IsTempName(path, prefix)) RemoveUnheldFile(path.c_str());
  }
}

}  // namespace

bool CreateHeldTempFile(const char* folder, const char* prefix, std::string* path,
                        FileHandle* hold) {
  if (!folder || !*folder || !prefix || !path || !hold) return FailWith(kErrInvalidParameter);
  *hold = kClosedFile;
  return CatchOutOfMemory(false, [&] {
    RemoveStale(folder, prefix);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      std::string name;
      if (!CreateTempFile(folder, prefix, &name)) return false;
      const FileHandle held = HoldFile(name.c_str());
      if (held != kClosedFile) {
        *path = std::move(name);
        *hold = held;
        return true;
      }
      // Another process's clean-up took the new file before it was held (gone, or the
      // name reused and held): not ours any more, so a new name.
      const uint32_t refusal = LastError();
      if (refusal != kErrFileNotFound && refusal != kErrSharingViolation) {
        KeepLastError keep;
        RemoveFile(name.c_str());
        return false;
      }
    }
    return false;
  });
}

}  // namespace plat
