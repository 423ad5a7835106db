// scpecg names itself as the application that writes a file (Section 1 tags 208-211).
#include "commands.h"
#include "platform/text.h"
#include "writer/writer.h"

#ifndef SCPECG_VERSION
#error "the build passes the project version as SCPECG_VERSION"
#endif

namespace scpecg {

bool SelectToolWriter(CWriter& writer) {
  plat::WideString name;
  plat::WideString version;
  if (!plat::AnsiToWide("scpecg", -1, &name) || !plat::AnsiToWide(SCPECG_VERSION, -1, &version)) {
    return false;
  }
  writer.SelectWriter(name.c_str(), version.c_str());
  return true;
}

}  // namespace scpecg
