#include "analysis/working_copy.h"

#include <vector>

#include "platform/errors.h"
#include "platform/path.h"

namespace {

constexpr char kPrefix[] = "~KT";
constexpr char kSuffix[] = ".tmp";
constexpr int kAttempts = 3;

// A copy nobody holds belongs to an analysis that ended without deleting it.
void RemoveStaleCopies(const std::string& folder) {
  plat::KeepLastError keep;
  std::vector<std::string> copies;
  if (!plat::ListFiles(folder.c_str(), kPrefix, kSuffix, &copies)) return;
  for (const std::string& copy : copies) plat::RemoveUnheldFile(copy.c_str());
}

}  // namespace

WorkingCopy::~WorkingCopy() {
  plat::KeepLastError keep;
  if (hold_ != plat::kClosedFile) plat::CloseFile(hold_);
  if (!name_.empty()) plat::RemoveFile(name_.c_str());
}

bool WorkingCopy::Make() {
  std::string folder;
  if (!plat::DocumentsFolder(&folder)) return false;
  RemoveStaleCopies(folder);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string name;
    if (!plat::CreateTempFile(folder.c_str(), kPrefix, &name)) return false;
    hold_ = plat::HoldFile(name.c_str());
    if (hold_ != plat::kClosedFile) {
      name_ = std::move(name);
      return true;
    }
    // Another analysis's clean-up took the new file before it was held (gone, or the
    // name already reused and held): not ours any more, so a new name.
    const uint32_t refusal = plat::LastError();
    if (refusal != plat::kErrFileNotFound && refusal != plat::kErrSharingViolation) {
      plat::KeepLastError keep;
      plat::RemoveFile(name.c_str());
      return false;
    }
  }
  return false;
}
