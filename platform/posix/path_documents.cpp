// The user's documents folder: the XDG documents folder when it exists, else home.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/path.h"

namespace plat {
namespace {

bool IsFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<size_t>(hint) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir) {
    return found->pw_dir;
  }
  return std::string();
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" (or an absolute path) from user-dirs.dirs.
std::string XdgDocumentsFolder(const std::string& home) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string file =
      (config && *config ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
  std::ifstream in(file);
  const std::string key = "XDG_DOCUMENTS_DIR=";
  std::string line;
  std::string folder;
  while (std::getline(in, line)) {
    const std::string::size_type start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    if (value.size() >= 2 && value.front() == '"') {
      const std::string::size_type end = value.find('"', 1);
      value = value.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    }
    if (value.compare(0, 5, "$HOME") == 0) value.replace(0, 5, home);
    folder = value;  // the last assignment wins, as in a shell
  }
  return folder;
}

void DropTrailingSeparators(std::string* path) {
  while (path->size() > 1 && path->back() == '/') path->pop_back();
}

}  // namespace

bool DocumentsFolder(std::string* folder) {
  if (!folder) {
    return FailWith(kErrInvalidParameter);
  }
  return CatchOutOfMemory(false, [&] {
    std::string home = HomeFolder();
    std::string documents = XdgDocumentsFolder(home);
    DropTrailingSeparators(&documents);
    DropTrailingSeparators(&home);
    if (IsFolder(documents)) {
      *folder = std::move(documents);
      return true;
    }
    if (IsFolder(home)) {
      *folder = std::move(home);
      return true;
    }
    return FailWith(kErrPathNotFound);
  });
}

}  // namespace plat
