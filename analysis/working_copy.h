// The analysis working copy: "~KTxxxx.tmp" in the user's documents folder, held for as
// long as the analysis runs, so that the next analysis can tell a copy left behind by
// one that died (and remove it) from the copy of one still running.
#pragma once

#include <string>

#include "platform/file.h"

class WorkingCopy {
 public:
  WorkingCopy() = default;
  ~WorkingCopy();  // releases the hold and deletes the copy
  WorkingCopy(const WorkingCopy&) = delete;
  WorkingCopy& operator=(const WorkingCopy&) = delete;

  // Removes the stale copies of the documents folder, then creates and holds a new empty
  // copy. False with the platform's error when no copy could be made.
  bool Make();
  const char* Name() const { return name_.c_str(); }

 private:
  std::string name_;
  plat::FileHandle hold_ = plat::kClosedFile;
};
