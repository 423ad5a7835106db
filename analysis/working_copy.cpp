#include "analysis/working_copy.h"

#include "platform/errors.h"
#include "platform/path.h"

WorkingCopy::~WorkingCopy() {
  plat::KeepLastError keep;
  if (hold_ != plat::kClosedFile) plat::CloseFile(hold_);
  if (!name_.empty()) plat::RemoveFile(name_.c_str());
}

bool WorkingCopy::Make() {
  std::string folder;
  return plat::DocumentsFolder(&folder) &&
         plat::CreateHeldTempFile(folder.c_str(), "~KT", &name_, &hold_);
}
