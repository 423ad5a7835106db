// Loading modules (the analysis engine and the language modules) and their strings.
#pragma once

#include <cstdint>
#include <string>

#include "platform/export.h"

namespace plat {

using ModuleHandle = void*;

// "X.dll" is looked up as libX.so beside this library first, then on the default
// search path, off Windows; on Windows by the system's default search.
KTX_API ModuleHandle LoadModule(const char* name);
KTX_API void* FindEntry(ModuleHandle module, const char* entry);
KTX_API void UnloadModule(ModuleHandle module);

// String resource `id` of a module (STRINGTABLE on Windows; elsewhere the module's
// exported string table, see module_strings.h). Copies at most size-1 bytes and a
// terminator, returns the number of bytes copied; 0 when there is no such string.
KTX_API int LoadStringResource(ModuleHandle module, uint32_t id, char* buffer, int size);

// String resource `id` whole, in UTF-8, without going through the ANSI code page: for
// texts that code page cannot hold. False with 1814 when there is no such string.
KTX_API bool LoadStringResourceUtf8(ModuleHandle module, uint32_t id, std::string* text);

}  // namespace plat
