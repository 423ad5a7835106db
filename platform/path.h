// Path splitting and joining, and well-known folders.
#pragma once

#include <string>

#include "platform/export.h"

namespace plat {

// The parts of a path as _splitpath gives them: drive "C:" (always empty off
// Windows), folder with its trailing separator, base name, extension with its dot.
struct PathParts {
  std::string Drive;
  std::string Folder;
  std::string Name;
  std::string Extension;
};

KTX_API PathParts SplitPath(const std::string& path);
// Joins the parts again, adding a separator after the folder and a dot before the
// extension where they are missing.
KTX_API std::string JoinPath(const PathParts& parts);

// The current user's documents folder, without a trailing separator.
KTX_API bool DocumentsFolder(std::string* folder);

}  // namespace plat
