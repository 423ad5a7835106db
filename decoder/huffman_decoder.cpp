#include <array>

#include "decoder/bit_reader.h"
#include "decoder/waveform_steps.h"
#include "platform/errors.h"

namespace {

// The codes of one table grouped by prefix length, so that each bit read narrows the
// search to the codes of exactly that length.
struct CodesByLength {
  std::array<std::vector<const SHuffmanCode*>, 33> Codes;
  unsigned Longest = 0;
};

std::vector<CodesByLength> Index(const SHuffmanTables& tables) {
  std::vector<CodesByLength> index(tables.Tables.size());
  for (size_t t = 0; t < tables.Tables.size(); ++t) {
    for (const SHuffmanCode& code : tables.Tables[t]) {
      index[t].Codes[code.PrefixBits].push_back(&code);
      if (code.PrefixBits > index[t].Longest) index[t].Longest = code.PrefixBits;
    }
  }
  return index;
}

int16_t SignExtend(uint32_t raw, unsigned bits) {
  if (bits == 0) return 0;
  const uint32_t sign = 1u << (bits - 1);
  const int32_t value = static_cast<int32_t>(raw ^ sign) - static_cast<int32_t>(sign);
  return static_cast<int16_t>(value);
}

}  // namespace

bool DecodeHuffman(const uint8_t* bytes, size_t size, const SHuffmanTables& tables, size_t count,
                   std::vector<int16_t>* out) {
  out->clear();
  if (tables.Tables.empty()) return plat::FailWith(plat::kErrInvalidData);
  const std::vector<CodesByLength> index = Index(tables);
  CBitReader bits(bytes, size);
  out->reserve(count);
  size_t table = 0;
  // Only switches consume bits without giving a value; a table switching to itself
  // forever still ends with the input.
  while (out->size() < count) {
    const SHuffmanCode* found = nullptr;
    uint32_t read = 0;
    for (unsigned length = 1; found == nullptr; ++length) {
      if (length > index[table].Longest || bits.Remaining() == 0) {
        return plat::FailWith(plat::kErrInvalidData);
      }
      if (bits.Bit()) read |= 1u << (length - 1);
      for (const SHuffmanCode* code : index[table].Codes[length]) {
        if (code->Code == read) {
          found = code;
          break;
        }
      }
    }
    if (found->Mode == 0) {
      if (found->Value < 1 || static_cast<size_t>(found->Value) > tables.Tables.size()) {
        return plat::FailWith(plat::kErrInvalidData);
      }
      table = static_cast<size_t>(found->Value) - 1;
      continue;
    }
    const unsigned extra = static_cast<unsigned>(found->TotalBits - found->PrefixBits);
    if (extra == 0) {
      out->push_back(found->Value);
    } else {
      if (bits.Remaining() < extra) return plat::FailWith(plat::kErrInvalidData);
      out->push_back(SignExtend(bits.Bits(extra), extra));
    }
  }
  return true;
}
