// A file opened for one read, closed on every way out without touching the
// caller's last-error code.
#pragma once

#include "platform/errors.h"
#include "platform/file.h"

namespace ktx::acq {

class ScopedFile {
 public:
  explicit ScopedFile(const char* name) : file_(plat::OpenForRead(name)) {}
  ~ScopedFile() {
    plat::KeepLastError keep;
    if (file_ != plat::kClosedFile) plat::CloseFile(file_);
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;

  bool IsOpen() const { return file_ != plat::kClosedFile; }
  plat::FileHandle Handle() const { return file_; }

 private:
  plat::FileHandle file_;
};

}  // namespace ktx::acq
