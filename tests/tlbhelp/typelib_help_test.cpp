// The help-string step on a library that widl made from sample.idl. The test reads the
// results with a reader of its own, written from the MSFT layout.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/tlbhelp/typelib_help.h"

namespace {

using ktx::tlbhelp::AddEnumHelpStrings;
using ktx::tlbhelp::MemberHelp;
using ktx::tlbhelp::ParseHelpTable;
using ktx::tlbhelp::PatchError;
using Bytes = std::vector<uint8_t>;

Bytes Sample() {
  std::ifstream in(KTX_SAMPLE_TLB, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Word(const Bytes& b, size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 |
         static_cast<uint32_t>(b.at(at + 3)) << 24;
}
void SetWord(Bytes& b, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

// Offsets of the header's parts and the segments, as the format lays them out.
size_t Directory(const Bytes& b) {
  return 0x54 + 4 * Word(b, 0x20);
}
size_t SegmentOffset(const Bytes& b, size_t s) {
  return Word(b, Directory(b) + 16 * s);
}
size_t SegmentLength(const Bytes& b, size_t s) {
  return Word(b, Directory(b) + 16 * s + 4);
}
size_t TypeEntry(const Bytes& b, size_t type) {
  return SegmentOffset(b, 0) + 0x64 * type;
}

std::string Name(const Bytes& b, uint32_t offset) {
  const size_t at = SegmentOffset(b, 7) + offset;
  return std::string(b.begin() + at + 12, b.begin() + at + 12 + b.at(at + 8));
}
std::string String(const Bytes& b, uint32_t offset) {
  const size_t at = SegmentOffset(b, 8) + offset;
  return std::string(b.begin() + at + 2, b.begin() + at + 2 + (b.at(at) | b.at(at + 1) << 8));
}

struct Member {
  std::string name;
  Bytes record;  // the first five fields: size, type, flags, kind, value
  std::string help;
};

// The variables of the type named `type`, in their order.
std::vector<Member> Members(const Bytes& b, const std::string& type) {
  for (size_t t = 0; t < Word(b, 0x20); ++t) {
    if (Name(b, Word(b, TypeEntry(b, t) + 0x34)) != type) continue;
    const size_t block = Word(b, TypeEntry(b, t) + 4);
    const size_t count = Word(b, TypeEntry(b, t) + 0x18) >> 16;
    const size_t tail = block + 4 + Word(b, block);
    std::vector<Member> members;
    for (size_t i = 0; i < count; ++i) {
      const size_t record = block + 4 + Word(b, tail + 8 * count + 4 * i);
      Member member{Name(b, Word(b, tail + 4 * count + 4 * i)),
                    Bytes(b.begin() + record + 4, b.begin() + record + 0x14), ""};
      const uint32_t size = Word(b, record) & 0xFFFF;
      if (size >= 0x1C) member.help = String(b, Word(b, record + 0x18));
      members.push_back(member);
    }
    return members;
  }
  return {};
}

const std::vector<MemberHelp> kHelp = ParseHelpTable(
    "# colours\n"
    "Colour Red Warm\n"
    "Colour Green   Go\r\n"
    "\n"
    "Colour Blue Deep sea, far out\n"
    "Size Small Sample class\n"  // already in the library: reused
    "Size Large Warm\n");        // the same text twice: stored once

TEST(TypelibHelp, HelpStringsLandOnTheirValuesAndNothingElseMoves) {
  const Bytes original = Sample();
  ASSERT_GT(original.size(), 0x200u) << "sample library missing: " << KTX_SAMPLE_TLB;
  const Bytes patched = AddEnumHelpStrings(original, kHelp);

  const std::vector<std::pair<std::string, std::vector<std::string>>> expected{
      {"Colour", {"Warm", "Go", "Deep sea, far out"}}, {"Size", {"Sample class", "Warm"}}};
  for (const auto& [type, helps] : expected) {
    const std::vector<Member> before = Members(original, type);
    const std::vector<Member> after = Members(patched, type);
    ASSERT_EQ(after.size(), helps.size()) << type;
    for (size_t i = 0; i < helps.size(); ++i) {
      EXPECT_EQ(after[i].help, helps[i]) << after[i].name;
      EXPECT_EQ(after[i].name, before[i].name);
      EXPECT_EQ(after[i].record, before[i].record) << after[i].name;
      EXPECT_EQ(before[i].help, "") << "widl wrote no help for " << before[i].name;
    }
  }

  // Eight bytes more per record; the new strings "Warm", "Go" (short: eight bytes) and
  // "Deep sea, far out" at the end of the string table; every other segment unchanged.
  const size_t strings = 8 + 8 + 20;
  EXPECT_EQ(patched.size(), original.size() + 5 * 8 + strings);
  EXPECT_EQ(SegmentLength(patched, 8), SegmentLength(original, 8) + strings);
  // The type table keeps all but the block positions: past the string table they move by
  // the strings; Size's block also by Colour's three records, the class's (past the end)
  // by all five.
  const std::vector<size_t> moved{strings, strings, strings + 3 * 8, strings + 5 * 8};
  for (size_t type = 0; type < moved.size(); ++type) {
    Bytes before(original.begin() + static_cast<long>(TypeEntry(original, type)),
                 original.begin() + static_cast<long>(TypeEntry(original, type) + 0x64));
    Bytes after(patched.begin() + static_cast<long>(TypeEntry(patched, type)),
                patched.begin() + static_cast<long>(TypeEntry(patched, type) + 0x64));
    SetWord(before, 4, static_cast<uint32_t>(Word(before, 4) + moved[type]));
    EXPECT_EQ(after, before) << "type " << type;
  }
  for (size_t s = 1; s < 15; ++s) {
    if (s == 8 || SegmentOffset(original, s) == 0xFFFFFFFF) continue;
    const auto first = original.begin() + static_cast<long>(SegmentOffset(original, s));
    EXPECT_TRUE(std::equal(first, first + static_cast<long>(SegmentLength(original, s)),
                           patched.begin() + static_cast<long>(SegmentOffset(patched, s))))
        << "segment " << s;
  }
  EXPECT_EQ(Name(patched, Word(patched, TypeEntry(patched, 0) + 0x34)), "ISample");
  EXPECT_EQ(String(patched, Word(patched, TypeEntry(patched, 0) + 0x3C)), "Sample interface");

  // A second pass finds the fields and the strings there and changes nothing.
  EXPECT_EQ(AddEnumHelpStrings(patched, kHelp), patched);
}

TEST(TypelibHelp, TableFaultsNameWhatIsWrong) {
  const Bytes original = Sample();
  const std::vector<std::pair<std::string, std::string>> cases{
      {"Colour Red a\nColour Green b\n", "no help string for Colour.Blue"},
      {"Colour Red a\nColour Green b\nColour Blue c\nColour Pink d\n", "has no member Pink"},
      {"Shape Round a\n", "no enumeration Shape"},
      {"ISample Run a\n", "no enumeration ISample"},
      {"Size Small a\nSize Large b\nSize Small c\n", "Size.Small twice"},
  };
  for (const auto& [table, message] : cases) {
    try {
      AddEnumHelpStrings(original, ParseHelpTable(table));
      ADD_FAILURE() << "accepted: " << table;
    } catch (const PatchError& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
    }
  }
  EXPECT_THROW(ParseHelpTable("Colour Red a\nColour Green\n"), PatchError);
  try {
    ParseHelpTable("# x\nColour\n");
    ADD_FAILURE() << "a line without member and help accepted";
  } catch (const PatchError& error) {
    EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
  }
}

TEST(TypelibHelp, DamagedLibrariesFailCleanly) {
  const Bytes original = Sample();
  ASSERT_GT(original.size(), 0x200u);
  // Every cut of the file loses at least the end of the last enumeration's block.
  for (size_t size = 0; size < original.size(); ++size) {
    EXPECT_THROW(AddEnumHelpStrings(
                     Bytes(original.begin(), original.begin() + static_cast<long>(size)), kHelp),
                 PatchError)
        << "cut at " << size;
  }
  const size_t colour = TypeEntry(original, 1);
  const size_t colour_block = Word(original, colour + 4);
  const std::vector<std::pair<size_t, uint32_t>> damage{
      {0, 0x5446534E},                              // not "MSFT"
      {0x20, 0x7FFFFFFF},                           // type count
      {Directory(original) + 16 * 7, 0xFFFFFF00},   // name table offset
      {Directory(original) + 16 * 8 + 4, 0x10000},  // string table length
      {colour + 4, 0xFFFFFFF0},                     // block offset
      {colour + 0x18, 0xFFFF0000},                  // element count
      {colour + 0x34, 0x7FFFFFF0},                  // type name
      {colour_block, 0x7FFFFFF0},                   // records length
      {colour_block + 4, 0x0000FFFF},               // first record's size
      {colour_block + 4, 0x00000004},               // a record too short for its fields
  };
  for (const auto& [at, value] : damage) {
    Bytes damaged = original;
    SetWord(damaged, at, value);
    EXPECT_THROW(AddEnumHelpStrings(damaged, kHelp), PatchError) << "word at " << at;
  }
}

}  // namespace
