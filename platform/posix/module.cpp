// Modules off Windows: shared objects through dlopen. A Windows name "X.dll" stands
// for libX.so, looked for beside the code that loads it first.
#include "platform/module.h"

#include <dlfcn.h>
#include <iconv.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/module_strings.h"

namespace plat {
namespace {

// Folder (with its trailing '/') of the file that holds this code: our shared library,
// or the executable when the core is linked statically.
std::string OwnFolder() {
  Dl_info info{};
  link_map* map = nullptr;
  if (!dladdr1(reinterpret_cast<void*>(&OwnFolder), &info, reinterpret_cast<void**>(&map),
               RTLD_DL_LINKMAP) ||
      !map) {
    return std::string();
  }
  std::string file = map->l_name ? map->l_name : "";
  if (file.empty()) {
    // The main program has no name in its link map; ask the kernel where it lives.
    std::vector<char> buffer(4096);
    const ssize_t size = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (size <= 0 || static_cast<size_t>(size) >= buffer.size()) return std::string();
    file.assign(buffer.data(), static_cast<size_t>(size));
  }
  const std::string::size_type slash = file.rfind('/');
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

bool EndsWithDll(const std::string& name) {
  if (name.size() < 4) return false;
  const char* tail = name.c_str() + name.size() - 4;
  return tail[0] == '.' && (tail[1] | 0x20) == 'd' && (tail[2] | 0x20) == 'l' &&
         (tail[3] | 0x20) == 'l';
}

ModuleHandle Open(const std::string& file) {
  return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

std::string CodePageName(uint32_t codePage) {
  return codePage == kKtxCodePageUtf8 ? std::string("UTF-8") : "CP" + std::to_string(codePage);
}

// `text` from code page `codePage` into `to`, or 1113 when `to` cannot hold it: a '?' in
// its place would be a different statement.
bool Convert(const char* text, uint32_t codePage, const char* to, std::string* out) {
  iconv_t converter = iconv_open(to, CodePageName(codePage).c_str());
  if (reinterpret_cast<intptr_t>(converter) == -1) return FailWith(kErrInvalidParameter);
  std::string input = text;
  // Windows-1252 is never longer than its source; UTF-8 at most three bytes per byte.
  std::string result(input.size() * 3, '\0');
  char* in = &input[0];
  char* outPointer = &result[0];
  size_t inLeft = input.size();
  size_t outLeft = result.size();
  const size_t status = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
  iconv_close(converter);
  if (status == static_cast<size_t>(-1)) return FailWith(kErrNoUnicodeTranslation);
  result.resize(result.size() - outLeft);
  *out = std::move(result);
  return true;
}

}  // namespace

ModuleHandle LoadModule(const char* name) {
  if (!name || !*name) {
    return FailNull(kErrInvalidParameter);
  }
  try {
    std::string given = name;
    ModuleHandle module = nullptr;
    if (!EndsWithDll(given)) {
      module = Open(given);
    } else {
      const std::string::size_type slash = given.rfind('/');
      const std::string folder = slash == std::string::npos ? "" : given.substr(0, slash + 1);
      const std::string stem = given.substr(folder.size(), given.size() - folder.size() - 4);
      const std::string file = "lib" + stem + ".so";
      if (!folder.empty()) {
        module = Open(folder + file);
      } else {
        const std::string own = OwnFolder();
        if (!own.empty()) module = Open(own + file);
        if (!module) module = Open(file);
      }
    }
    if (!module) SetLastError(kErrModNotFound);
    return module;
  } catch (const std::bad_alloc&) {
    return FailNull(kErrOutOfMemory);
  }
}

void* FindEntry(ModuleHandle module, const char* entry) {
  if (!module || !entry) {
    return FailNull(!module ? kErrInvalidHandle : kErrInvalidParameter);
  }
  dlerror();
  void* address = dlsym(module, entry);
  if (!address) SetLastError(kErrProcNotFound);
  return address;
}

void UnloadModule(ModuleHandle module) {
  if (module) dlclose(module);
}

int LoadStringResource(ModuleHandle module, uint32_t id, char* buffer, int size) {
  if (!module || !buffer || size <= 0) {
    SetLastError(!module ? kErrInvalidHandle : kErrInvalidParameter);
    return 0;
  }
  buffer[0] = '\0';
  const auto* table = static_cast<const KtxModuleString*>(dlsym(module, KTX_MODULE_STRINGS_SYMBOL));
  const auto* codePage = static_cast<const uint32_t*>(dlsym(module, KTX_MODULE_CODE_PAGE_SYMBOL));
  for (; table && table->Text; ++table) {
    if (table->Id != id) continue;
    try {
      std::string text = table->Text;
      if (codePage && *codePage != kKtxCodePageAnsi &&
          !Convert(table->Text, *codePage, "WINDOWS-1252", &text)) {
        return 0;
      }
      // As LoadStringA: as much as fits with the terminator, and the count without it.
      const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
      std::memcpy(buffer, text.data(), length);
      buffer[length] = '\0';
      return static_cast<int>(length);
    } catch (const std::bad_alloc&) {
      SetLastError(kErrOutOfMemory);
      return 0;
    }
  }
  SetLastError(kErrResourceNameNotFound);
  return 0;
}

bool LoadStringResourceUtf8(ModuleHandle module, uint32_t id, std::string* text) {
  if (!module || !text) return FailWith(!module ? kErrInvalidHandle : kErrInvalidParameter);
  const auto* table = static_cast<const KtxModuleString*>(dlsym(module, KTX_MODULE_STRINGS_SYMBOL));
  const auto* codePage = static_cast<const uint32_t*>(dlsym(module, KTX_MODULE_CODE_PAGE_SYMBOL));
  for (; table && table->Text; ++table) {
    if (table->Id != id) continue;
    try {
      const uint32_t from = codePage ? *codePage : kKtxCodePageAnsi;
      if (from == kKtxCodePageUtf8) {
        *text = table->Text;
        return true;
      }
      return Convert(table->Text, from, "UTF-8", text);
    } catch (const std::bad_alloc&) {
      return FailWith(kErrOutOfMemory);
    }
  }
  return FailWith(kErrResourceNameNotFound);
}

}  // namespace plat
