// Adds help strings to the values of enumerations in a type library that widl wrote.
// widl cannot attach a help string to an enumeration member, so the build writes the
// library first and then gives each listed value its text here.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ktx::tlbhelp {

struct MemberHelp {
  std::string enumeration;  // the enumeration's type name
  std::string member;       // the value's name
  std::string text;         // its help string
};

// Any fault of the table or of the library, with a message that says where.
class PatchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the help table: one value per line, "<enumeration> <member> <help string>", the
// help string running to the end of the line; blank lines and lines starting with '#'
// are skipped.
std::vector<MemberHelp> ParseHelpTable(const std::string& table);

// Returns `library` (an MSFT type library) with the help strings of `help` on the
// enumeration values they name. Every value of each named enumeration must be listed
// once; all else in the library is kept as it was.
std::vector<uint8_t> AddEnumHelpStrings(const std::vector<uint8_t>& library,
                                        const std::vector<MemberHelp>& help);

}  // namespace ktx::tlbhelp
