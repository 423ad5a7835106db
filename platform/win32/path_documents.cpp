// The user's documents folder from the shell.
#include <windows.h>

#include <shlobj.h>

#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/path.h"
#include "platform/win32/hresult_code.h"

namespace plat {

bool DocumentsFolder(std::string* folder) {
  if (!folder) {
    return FailWith(kErrInvalidParameter);
  }
  char path[MAX_PATH];
  const HRESULT result =
      ::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
  if (FAILED(result)) {
    return FailWith(win32::CodeFromHresult(result, kErrPathNotFound));
  }
  return CatchOutOfMemory(false, [&] {
    std::string found = path;
    while (found.size() > 3 && (found.back() == '\\' || found.back() == '/')) found.pop_back();
    *folder = std::move(found);
    return true;
  });
}

}  // namespace plat
