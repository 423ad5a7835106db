// Splitting and joining paths the way _splitpath and _makepath do. Windows paths have
// a drive and accept both separators; elsewhere there is no drive and only '/'.
#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/path.h"

namespace plat {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}
#else
constexpr char kSeparator = '/';
bool IsSeparator(char c) {
  return c == '/';
}
#endif

}  // namespace

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  try {
    std::string::size_type start = 0;
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':') {
      parts.Drive = path.substr(0, 2);
      start = 2;
    }
#endif
    std::string::size_type name_start = start;
    for (std::string::size_type i = start; i < path.size(); ++i) {
      if (IsSeparator(path[i])) name_start = i + 1;
    }
    parts.Folder = path.substr(start, name_start - start);
    // As _splitpath: the extension runs from the last dot of the last component, so
    // ".bashrc" is all extension and has an empty name.
    const std::string::size_type dot = path.rfind('.');
    const std::string::size_type name_end =
        dot != std::string::npos && dot >= name_start ? dot : path.size();
    parts.Name = path.substr(name_start, name_end - name_start);
    parts.Extension = path.substr(name_end);
  } catch (const std::bad_alloc&) {
    SetLastError(kErrOutOfMemory);
    return PathParts();
  }
  return parts;
}

std::string JoinPath(const PathParts& parts) {
  return CatchOutOfMemory(std::string(), [&] {
    std::string path;
#ifdef _WIN32
    if (!parts.Drive.empty()) {
      path = parts.Drive;
      if (path.back() != ':') path += ':';
    }
#endif  // no drives elsewhere: a drive given there is ignored
    path += parts.Folder;
    if (!parts.Folder.empty() && !IsSeparator(parts.Folder.back())) path += kSeparator;
    path += parts.Name;
    if (!parts.Extension.empty() && parts.Extension.front() != '.') path += '.';
    path += parts.Extension;
    return path;
  });
}

}  // namespace plat
