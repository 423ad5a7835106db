// A file opened for one read, closed on every way out without touching the
// caller's last-error code.
#pragma once

#include "platform/errors.h"
#include "platform/file.h"

namespace plat {

class ScopedFile {
 public:
  explicit ScopedFile(const char* name) : file_(OpenForRead(name)) {}
  ~ScopedFile() {
    KeepLastError keep;
    if (file_ != kClosedFile) CloseFile(file_);
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;

  bool IsOpen() const { return file_ != kClosedFile; }
  FileHandle Handle() const { return file_; }

 private:
  FileHandle file_;
};

}  // namespace plat
