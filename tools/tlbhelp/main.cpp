// ktx_tlbhelp <library.tlb> <help table> <output.tlb>: the build step that gives the
// enumeration values of the type library their help strings.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tools/tlbhelp/typelib_help.h"

namespace {

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ktx::tlbhelp::PatchError(std::string("cannot read ") + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: ktx_tlbhelp <library.tlb> <help table> <output.tlb>\n");
    return 2;
  }
  try {
    const std::string library = ReadFile(argv[1]);
    const std::vector<uint8_t> patched =
        ktx::tlbhelp::AddEnumHelpStrings(std::vector<uint8_t>(library.begin(), library.end()),
                                         ktx::tlbhelp::ParseHelpTable(ReadFile(argv[2])));
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(patched.data()),
              static_cast<std::streamsize>(patched.size()));
    if (!out.flush()) throw ktx::tlbhelp::PatchError(std::string("cannot write ") + argv[3]);
  } catch (const ktx::tlbhelp::PatchError& error) {
    std::fprintf(stderr, "ktx_tlbhelp: %s: %s\n", argv[1], error.what());
    std::remove(argv[3]);
    return 1;
  }
  return 0;
}
