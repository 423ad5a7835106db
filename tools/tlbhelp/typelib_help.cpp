// The MSFT type library as widl writes it: a fixed header, one offset per type, a
// directory of fifteen segments (types, names, strings, ...), and after them one block
// per type holding its function and variable records. Only the type table and the
// segment directory hold file positions; every other reference is relative to a segment
// or to its block, so growing a record or a segment means moving those positions only.
#include "tools/tlbhelp/typelib_help.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace ktx::tlbhelp {
namespace {

constexpr uint32_t kMagic = 0x5446534D;  // "MSFT"
constexpr size_t kHeaderSize = 0x54;
constexpr size_t kTypeCountField = 0x20;
constexpr size_t kFlagsField = 0x14;
constexpr uint32_t kHelpDllFlag = 0x100;  // one more word before the type offsets
constexpr size_t kSegmentCount = 15;
constexpr size_t kSegmentEntrySize = 16;
constexpr size_t kTypeSegment = 0;
constexpr size_t kNameSegment = 7;
constexpr size_t kStringSegment = 8;
constexpr uint32_t kAbsent = 0xFFFFFFFF;

constexpr size_t kTypeSize = 0x64;
constexpr size_t kTypeKindField = 0x00;
constexpr size_t kTypeBlockField = 0x04;
constexpr size_t kTypeElementsField = 0x18;  // variables high word, functions low word
constexpr size_t kTypeNameField = 0x34;
constexpr uint32_t kKindMask = 0xF;
constexpr uint32_t kEnumKind = 0;

constexpr size_t kNameLengthField = 8;  // low byte; the characters follow the header
constexpr size_t kNameHeaderSize = 12;

// A variable record: size in the low word of its first field, then four fields of the
// variable itself, then optional fields as far as the size reaches.
constexpr uint32_t kVarRecordMinimum = 0x14;
constexpr size_t kVarHelpStringField = 0x18;
constexpr uint32_t kVarRecordWithHelp = 0x1C;

[[noreturn]] void Fail(const std::string& message) {
  throw PatchError(message);
}

std::string Qualified(const std::string& enumeration, const std::string& member) {
  std::string name = enumeration;
  name += '.';
  return name += member;
}

std::string Hex(uint64_t value) {
  std::ostringstream text;
  text << "0x" << std::hex << value;
  return text.str();
}

class Library {
 public:
  explicit Library(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) { Validate(); }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  uint32_t Word(uint64_t at, const char* what) const {
    Within(at, 4, what);
    const size_t i = static_cast<size_t>(at);
    return static_cast<uint32_t>(bytes_[i]) | static_cast<uint32_t>(bytes_[i + 1]) << 8 |
           static_cast<uint32_t>(bytes_[i + 2]) << 16 | static_cast<uint32_t>(bytes_[i + 3]) << 24;
  }

  void SetWord(uint64_t at, uint32_t value) {
    Within(at, 4, "a patched field");
    for (size_t i = 0; i < 4; ++i) {
      bytes_[static_cast<size_t>(at) + i] = static_cast<uint8_t>(value >> (8 * i));
    }
  }

  size_t TypeCount() const { return type_count_; }
  uint64_t SegmentOffset(size_t segment) const {
    return Word(SegmentEntry(segment), "the segment directory");
  }
  uint64_t SegmentLength(size_t segment) const {
    return Word(SegmentEntry(segment) + 4, "the segment directory");
  }
  uint64_t TypeEntry(size_t type) const { return SegmentOffset(kTypeSegment) + type * kTypeSize; }

  std::string Name(uint32_t offset) const {
    const uint64_t length = SegmentLength(kNameSegment);
    if (offset == kAbsent) return {};
    if (offset + uint64_t{kNameHeaderSize} > length)
      Fail("name offset " + Hex(offset) + " out of the name table");
    const uint64_t at = SegmentOffset(kNameSegment) + offset;
    const size_t chars = Word(at + kNameLengthField, "a name") & 0xFF;
    if (offset + uint64_t{kNameHeaderSize} + chars > length)
      Fail("name at " + Hex(offset) + " runs past the name table");
    const auto* first = bytes_.data() + at + kNameHeaderSize;
    return std::string(first, first + chars);
  }

  // Every string of the string table with its offset, to reuse one that is there.
  std::map<std::string, uint32_t> Strings() const {
    std::map<std::string, uint32_t> strings;
    const uint64_t start = SegmentOffset(kStringSegment);
    const uint64_t length = SegmentLength(kStringSegment);
    for (uint64_t offset = 0; offset < length;) {
      if (offset + 2 > length) Fail("string table entry at " + Hex(offset) + " is cut off");
      const size_t chars = bytes_[start + offset] | static_cast<size_t>(bytes_[start + offset + 1])
                                                        << 8;
      const uint64_t size = EncodedStringSize(chars);
      if (offset + size > length) Fail("string at " + Hex(offset) + " runs past the string table");
      const auto* first = bytes_.data() + start + offset + 2;
      strings.emplace(std::string(first, first + chars), static_cast<uint32_t>(offset));
      offset += size;
    }
    return strings;
  }

  // A string table entry: 16-bit length, the characters, then 'W' up to a multiple of
  // four, at least eight bytes in all.
  static uint64_t EncodedStringSize(size_t chars) {
    return chars < 3 ? 8 : (chars + 5) & ~size_t{3};
  }
  static std::vector<uint8_t> EncodeString(const std::string& text) {
    if (text.size() > 0xFFFF) Fail("help string too long: " + text.substr(0, 40) + "...");
    std::vector<uint8_t> entry(static_cast<size_t>(EncodedStringSize(text.size())), 'W');
    entry[0] = static_cast<uint8_t>(text.size());
    entry[1] = static_cast<uint8_t>(text.size() >> 8);
    std::copy(text.begin(), text.end(), entry.begin() + 2);
    return entry;
  }

  // Puts `inserted` at `at` and moves every file position at or past it; `segment`, if
  // not kAbsent, is the segment that the bytes extend.
  void Insert(uint64_t at, const std::vector<uint8_t>& inserted, size_t segment) {
    if (at > bytes_.size()) Fail("insertion past the end of the library");
    const auto count = static_cast<uint32_t>(inserted.size());
    for (size_t s = 0; s < kSegmentCount; ++s) {
      const uint64_t entry = SegmentEntry(s);
      const uint32_t offset = Word(entry, "the segment directory");
      if (s == segment) {
        SetWord(entry + 4, Word(entry + 4, "the segment directory") + count);
      } else if (offset != kAbsent && offset >= at) {
        SetWord(entry, offset + count);
      }
    }
    for (size_t type = 0; type < type_count_; ++type) {
      const uint64_t field = TypeEntry(type) + kTypeBlockField;
      const uint32_t block = Word(field, "a type's block offset");
      if (block != kAbsent && block >= at) SetWord(field, block + count);
    }
    bytes_.insert(bytes_.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(),
                  inserted.end());
  }

 private:
  void Within(uint64_t at, uint64_t size, const char* what) const {
    if (at + size > bytes_.size()) {
      Fail(std::string(what) + " at " + Hex(at) + " lies past the end of the library (" +
           std::to_string(bytes_.size()) + " bytes)");
    }
  }

  uint64_t SegmentEntry(size_t segment) const { return directory_ + segment * kSegmentEntrySize; }

  void Validate() {
    if (bytes_.size() < kHeaderSize || Word(0, "the header") != kMagic) {
      Fail("not an MSFT type library");
    }
    const uint32_t count = Word(kTypeCountField, "the type count");
    if (count > bytes_.size() / kTypeSize)
      Fail("type count " + std::to_string(count) + " does not fit a library of " +
           std::to_string(bytes_.size()) + " bytes");
    type_count_ = count;
    directory_ =
        kHeaderSize + (Word(kFlagsField, "the flags") & kHelpDllFlag ? 4 : 0) + 4 * type_count_;
    Within(directory_, kSegmentCount * kSegmentEntrySize, "the segment directory");
    for (size_t s = 0; s < kSegmentCount; ++s) {
      const uint32_t offset = Word(SegmentEntry(s), "the segment directory");
      const uint32_t length = Word(SegmentEntry(s) + 4, "the segment directory");
      if (offset == kAbsent) continue;
      if (uint64_t{offset} + length > bytes_.size()) {
        Fail("segment " + std::to_string(s) + " (" + Hex(offset) + ", " + Hex(length) +
             " bytes) lies past the end of the library");
      }
    }
    for (size_t s : {kTypeSegment, kNameSegment, kStringSegment}) {
      if (Word(SegmentEntry(s), "the segment directory") == kAbsent) {
        Fail("segment " + std::to_string(s) + " is missing");
      }
    }
    if (SegmentLength(kTypeSegment) < type_count_ * kTypeSize)
      Fail("type table shorter than its types");
  }

  std::vector<uint8_t> bytes_;
  size_t type_count_ = 0;
  uint64_t directory_ = 0;
};

// The variables of one enumeration's block: records, then ids, names and record offsets.
struct Block {
  uint64_t start;  // the record length word; records follow it
  uint32_t records_length;
  size_t elements;

  uint64_t Names() const { return start + 4 + records_length + 4 * uint64_t{elements}; }
  uint64_t Offsets() const { return start + 4 + records_length + 8 * uint64_t{elements}; }
};

Block ReadBlock(const Library& library, size_t type) {
  const uint64_t entry = library.TypeEntry(type);
  const uint32_t elements = library.Word(entry + kTypeElementsField, "a type's element count");
  Block block{library.Word(entry + kTypeBlockField, "a type's block offset"), 0,
              (elements >> 16) + (elements & 0xFFFF)};
  block.records_length = library.Word(block.start, "a type's block");
  library.Word(block.Offsets() + 4 * uint64_t{block.elements} - 4, "a type's block");
  return block;
}

// The record of `member` in the block of `type`, as an offset from the first record.
uint32_t FindRecord(const Library& library, size_t type, const std::string& member,
                    const std::string& enumeration) {
  const Block block = ReadBlock(library, type);
  for (size_t i = 0; i < block.elements; ++i) {
    if (library.Name(library.Word(block.Names() + 4 * i, "a member name")) != member) continue;
    const uint32_t record = library.Word(block.Offsets() + 4 * i, "a record offset");
    const uint64_t size = library.Word(block.start + 4 + record, "a record") & 0xFFFF;
    if (size < kVarRecordMinimum || uint64_t{record} + size > block.records_length) {
      std::string message = "record of " + Qualified(enumeration, member);
      Fail(message += " does not fit its block");
    }
    return record;
  }
  Fail("enumeration " + enumeration + " has no member " + member);
}

// Gives the record at `record` in the block of `type` the help string at `string`,
// growing it by the optional fields it lacks (a missing help context reads as 0).
void SetHelpString(Library& library, size_t type, uint32_t record, uint32_t string) {
  const Block block = ReadBlock(library, type);
  const uint64_t at = block.start + 4 + record;
  const uint32_t info = library.Word(at, "a record");
  const uint32_t size = info & 0xFFFF;
  if (size < kVarRecordWithHelp) {
    const uint32_t grow = kVarRecordWithHelp - size;
    library.Insert(at + size, std::vector<uint8_t>(grow, 0), kAbsent);
    library.SetWord(block.start, block.records_length + grow);
    library.SetWord(at, (info & 0xFFFF0000) | kVarRecordWithHelp);
    for (size_t i = 0; i < block.elements; ++i) {
      const uint64_t field = block.Offsets() + grow + 4 * i;
      const uint32_t other = library.Word(field, "a record offset");
      if (other > record) library.SetWord(field, other + grow);
    }
  }
  library.SetWord(at + kVarHelpStringField, string);
}

}  // namespace

std::vector<MemberHelp> ParseHelpTable(const std::string& table) {
  std::vector<MemberHelp> help;
  std::istringstream lines(table);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
    std::istringstream fields(line);
    MemberHelp entry;
    fields >> entry.enumeration >> entry.member >> std::ws;
    std::getline(fields, entry.text);
    if (entry.text.empty()) {
      Fail("help table line " + std::to_string(number) +
           ": want <enumeration> <member> <help string>");
    }
    help.push_back(std::move(entry));
  }
  return help;
}

std::vector<uint8_t> AddEnumHelpStrings(const std::vector<uint8_t>& bytes,
                                        const std::vector<MemberHelp>& help) {
  Library library(bytes);

  // Each enumeration named, found by its name, with the members the table gives it.
  std::map<std::string, size_t> types;
  std::map<std::string, std::set<std::string>> listed;
  for (const MemberHelp& entry : help) {
    if (!listed[entry.enumeration].insert(entry.member).second) {
      Fail("help table lists " + Qualified(entry.enumeration, entry.member) + " twice");
    }
  }
  for (size_t type = 0; type < library.TypeCount(); ++type) {
    const uint64_t entry = library.TypeEntry(type);
    if ((library.Word(entry + kTypeKindField, "a type's kind") & kKindMask) != kEnumKind) continue;
    const std::string name = library.Name(library.Word(entry + kTypeNameField, "a type's name"));
    if (listed.count(name) != 0) types.emplace(name, type);
  }
  for (const auto& [enumeration, members] : listed) {
    const auto found = types.find(enumeration);
    if (found == types.end()) Fail("the library has no enumeration " + enumeration);
    const Block block = ReadBlock(library, found->second);
    for (size_t i = 0; i < block.elements; ++i) {
      const std::string member = library.Name(library.Word(block.Names() + 4 * i, "a member name"));
      if (members.count(member) == 0)
        Fail("help table has no help string for " + Qualified(enumeration, member));
    }
  }

  // The new strings go at the end of the string table; a text already there is reused.
  std::map<std::string, uint32_t> strings = library.Strings();
  std::vector<uint8_t> added;
  const uint64_t table_length = library.SegmentLength(kStringSegment);
  for (const MemberHelp& entry : help) {
    if (strings.count(entry.text) != 0) continue;
    strings.emplace(entry.text, static_cast<uint32_t>(table_length + added.size()));
    const std::vector<uint8_t> encoded = Library::EncodeString(entry.text);
    added.insert(added.end(), encoded.begin(), encoded.end());
  }
  library.Insert(library.SegmentOffset(kStringSegment) + table_length, added, kStringSegment);

  for (const MemberHelp& entry : help) {
    const size_t type = types.at(entry.enumeration);
    const uint32_t record = FindRecord(library, type, entry.member, entry.enumeration);
    SetHelpString(library, type, record, strings.at(entry.text));
  }
  return library.Bytes();
}

}  // namespace ktx::tlbhelp
