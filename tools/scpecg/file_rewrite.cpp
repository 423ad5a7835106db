#include "file_rewrite.h"

#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/file.h"
#include "platform/path.h"
#include "reader/reader.h"

namespace scpecg {

namespace {

// Hidden beside the file, so that the rename stays within one file system.
constexpr char kCopyPrefix[] = ".sc";

std::string FolderOf(const std::string& file) {
  const plat::PathParts parts = plat::SplitPath(file);
  const std::string folder = parts.Drive + parts.Folder;
  return folder.empty() ? "." : folder;
}

}  // namespace

Fingerprint FingerprintOf(const std::string& file) {
  plat::KeepLastError keep;
  Fingerprint print;
  const plat::FileHandle handle = plat::OpenForRead(file.c_str());
  if (handle == plat::kClosedFile) return print;
  // FNV-1a over every byte: a change of any byte changes it.
  uint64_t hash = 0xcbf29ce484222325ull;
  std::vector<unsigned char> buffer(64 * 1024);
  bool read = true;
  for (;;) {
    uint32_t got = 0;
    if (!plat::ReadFile(handle, buffer.data(), static_cast<uint32_t>(buffer.size()), &got)) {
      read = false;
      break;
    }
    if (got == 0) break;
    for (uint32_t i = 0; i < got; ++i) hash = (hash ^ buffer[i]) * 0x100000001b3ull;
    print.Size += got;
  }
  plat::CloseFile(handle);
  if (!read) return Fingerprint{};
  print.Read = true;
  print.Hash = hash;
  return print;
}

FileRewrite::FileRewrite(std::string file, bool inPlace, Kind kind)
    : file_(std::move(file)), inPlace_(inPlace), kind_(kind) {}

FileRewrite::~FileRewrite() {
  plat::KeepLastError keep;
  Release();
  if (!copy_.empty() && !committed_) plat::RemoveFile(copy_.c_str());
}

void FileRewrite::Release() {
  if (hold_ == plat::kClosedFile) return;
  plat::KeepLastError keep;
  plat::CloseFile(hold_);
  hold_ = plat::kClosedFile;
}

bool FileRewrite::Begin() {
  if (inPlace_) {
    before_ = FingerprintOf(file_);
    return true;
  }
  if (!plat::ResolveLinks(file_.c_str(), &real_)) return false;
  // Held while scpecg works on it: the copies of scpecg runs that were killed are
  // removed by the next one in the same folder, a live one's never.
  if (!plat::CreateHeldTempFile(FolderOf(real_).c_str(), kCopyPrefix, &copy_, &hold_)) {
    copy_.clear();
    return false;
  }
  if (kind_ == Kind::Change) {
    return plat::CopyFileOver(real_.c_str(), copy_.c_str()) &&
           plat::CopyPermissions(real_.c_str(), copy_.c_str());
  }
  // A new file replaces an existing one with the same permissions; a missing one is new.
  return plat::CopyPermissions(real_.c_str(), copy_.c_str()) ||
         plat::LastError() == plat::kErrFileNotFound;
}

void FileRewrite::Checkpoint() {
  if (inPlace_) before_ = FingerprintOf(file_);
}

bool FileRewrite::TargetChanged() const {
  const Fingerprint before = inPlace_ ? before_ : FingerprintOf(real_);
  return !(FingerprintOf(Target()) == before);
}

bool FileRewrite::Commit() {
  if (inPlace_) return true;
  if (!plat::RenameOver(copy_.c_str(), real_.c_str())) return false;
  committed_ = true;
  Release();
  return true;
}

bool FileRewrite::LeftAsItWas() const {
  return inPlace_ ? FingerprintOf(file_) == before_ : !committed_;
}

std::string FileRewrite::Note() const {
  if (LeftAsItWas()) return " (file left as it was)";
  plat::KeepLastError keep;
  bool valid = false;
  return CReader::CheckCrc(file_.c_str(), &valid) && valid
             ? " (file changed, and a valid record)"
             : " (file changed, and damaged: see scpecg check)";
}

CLI::Option* AddInPlaceFlag(CLI::App& command, bool& inPlace) {
  return command.add_flag(
      "--in-place", inPlace,
      "Rewrite the file itself rather than a copy renamed over it: keeps its hard links and "
      "owner, but a kill part way leaves it torn");
}

}  // namespace scpecg
