// A fresh GUID as text, for hosts that name their records by one.
#include <cstdio>
#include <new>

#include "platform/errors.h"
#include "platform/time.h"
#include "writer/writer.h"

std::string CWriter::GenerateGuid() {
  plat::Guid guid{};
  if (!plat::NewGuid(&guid)) return std::string();
  char text[40];
  // Data3 in lower case, every other group in upper case.
  std::snprintf(text, sizeof(text), "{%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), unsigned{guid.Data2}, unsigned{guid.Data3},
                unsigned{guid.Data4[0]}, unsigned{guid.Data4[1]}, unsigned{guid.Data4[2]},
                unsigned{guid.Data4[3]}, unsigned{guid.Data4[4]}, unsigned{guid.Data4[5]},
                unsigned{guid.Data4[6]}, unsigned{guid.Data4[7]});
  return plat::CatchOutOfMemory(std::string(), [&] { return std::string(text); });
}
