// How scpecg changes a file. By default the library works on a copy beside the file,
// which replaces the file in one rename once it is complete: a failure, a full disk or
// a kill leaves the old file or the whole new one. With --in-place the library rewrites
// the file itself (it still keeps the old bytes until the new ones fit, but a kill part
// way leaves a torn file); the file keeps its identity, hard links and ownership.
#pragma once

#include <cstdint>
#include <string>

#include <CLI/CLI.hpp>

#include "platform/file.h"

namespace scpecg {

// Size and hash of a file's bytes, to tell whether a failed rewrite changed it.
struct Fingerprint {
  bool Read = false;  // false when the file could not be read
  uint64_t Size = 0;
  uint64_t Hash = 0;  // 0 when unread
  // Two unreadable states count as the same: a missing file that stays missing.
  bool operator==(const Fingerprint& other) const {
    return Read == other.Read && Size == other.Size && Hash == other.Hash;
  }
};
Fingerprint FingerprintOf(const std::string& file);

class FileRewrite {
 public:
  enum class Kind {
    Change,  // the library reads the file and rewrites it: the copy starts as the file
    Create,  // the library writes a new file: the copy starts empty
  };
  FileRewrite(std::string file, bool inPlace, Kind kind = Kind::Change);
  ~FileRewrite();  // removes a copy that was not put in place
  FileRewrite(const FileRewrite&) = delete;
  FileRewrite& operator=(const FileRewrite&) = delete;

  // Makes the copy (or notes the file's fingerprint in place). False with the last
  // error; the file is untouched.
  bool Begin();
  // The name the library works on.
  const std::string& Target() const { return inPlace_ ? file_ : copy_; }
  bool InPlace() const { return inPlace_; }
  // In place: the file's state from here on is what "left as it was" refers to.
  void Checkpoint();
  // Whether the library changed the target since Begin.
  bool TargetChanged() const;
  // Puts the copy in the file's place (in place: nothing to do). False with the last
  // error; the file is untouched.
  bool Commit();
  // After a failure: whether the file is as it was (on a copy: unless it was put in
  // place; in place: the same size and hash as at the last checkpoint).
  bool LeftAsItWas() const;
  // " (file left as it was)" when it is, else a warning.
  std::string Note() const;

 private:
  void Release();

  std::string file_;
  bool inPlace_;
  Kind kind_;
  std::string real_;  // the file itself when file_ is a link
  std::string copy_;
  plat::FileHandle hold_ = plat::kClosedFile;
  bool committed_ = false;
  Fingerprint before_;
};

// The --in-place flag of the commands that change files.
CLI::Option* AddInPlaceFlag(CLI::App& command, bool& inPlace);

}  // namespace scpecg
