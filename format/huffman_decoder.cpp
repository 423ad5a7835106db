#include "format/huffman_decoder.h"

#include <algorithm>

#include "format/bit_reader.h"
#include "platform/errors.h"

namespace {

// Lookup entries per code at most, so that many tiny tables stay small, and for all
// tables together (4 MiB); tables beyond that are walked bit by bit.
constexpr size_t kEntriesPerCode = 64;
constexpr size_t kEntriesInAll = size_t{1} << 20;

int16_t SignExtend(uint32_t raw, unsigned bits) {
  const uint32_t sign = 1u << (bits - 1);
  const int32_t value = static_cast<int32_t>(raw ^ sign) - static_cast<int32_t>(sign);
  return static_cast<int16_t>(value);
}

// The stored code (first stream bit in bit 0) with its first bit highest.
uint32_t InStreamOrder(uint32_t code, unsigned length) {
  uint32_t reversed = 0;
  for (unsigned i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
  return reversed;
}

}  // namespace

CHuffmanDecoder::CHuffmanDecoder(const SHuffmanTables& tables, unsigned lookupBits)
    : index_(tables.Tables.size()) {
  lookupBits = std::min(lookupBits, kLookupBits);
  size_t budget = kEntriesInAll;
  for (size_t t = 0; t < tables.Tables.size(); ++t) {
    const std::vector<SHuffmanCode>& codes = tables.Tables[t];
    STable& table = index_[t];
    // Longer codes than the parser lets through could never be read: left out.
    for (const SHuffmanCode& code : codes) {
      if (code.PrefixBits <= 32) ++table.Start[code.PrefixBits + 1u];
    }
    for (size_t n = 1; n < table.Start.size(); ++n) table.Start[n] += table.Start[n - 1];
    std::array<uint32_t, 34> next = table.Start;
    table.ByLength.resize(table.Start.back());
    for (const SHuffmanCode& code : codes) {
      if (code.PrefixBits <= 32) table.ByLength[next[code.PrefixBits]++] = &code;
    }
    BuildLookup(&table, lookupBits, &budget);
  }
}

void CHuffmanDecoder::BuildLookup(STable* table, unsigned maxBits, size_t* budget) const {
  unsigned longest = 0;
  for (const SHuffmanCode* code : table->ByLength)
    longest = std::max<unsigned>(longest, code->PrefixBits);
  unsigned width = std::min(maxBits, longest);
  while (width > 0 && ((size_t{1} << width) > kEntriesPerCode * table->ByLength.size() ||
                       (size_t{1} << width) > *budget)) {
    --width;
  }
  table->Bits = width;
  if (width == 0) return;
  *budget -= size_t{1} << width;
  table->Lookup.assign(size_t{1} << width, SEntry{});
  // Shortest codes first, in table order: a code whose first entry is taken lies wholly
  // inside the range of a code that wins over it, so every entry is written once.
  for (unsigned length = 1; length <= width; ++length) {
    for (uint32_t i = table->Start[length]; i < table->Start[length + 1]; ++i) {
      const SHuffmanCode& code = *table->ByLength[i];
      if (code.Code >> length != 0) continue;  // bits beyond its length: it never matches
      const size_t first = size_t{InStreamOrder(code.Code, length)} << (width - length);
      if (table->Lookup[first].Length != 0) continue;
      SEntry entry;
      entry.Value = code.Value;
      entry.Length = static_cast<uint8_t>(length);
      entry.Extra = code.Mode == 0 ? kSwitch : static_cast<uint8_t>(code.TotalBits - length);
      std::fill_n(table->Lookup.begin() + static_cast<std::ptrdiff_t>(first),
                  size_t{1} << (width - length), entry);
    }
  }
}

const SHuffmanCode* CHuffmanDecoder::Walk(const STable& table, CBitReader* bits) const {
  uint32_t read = 0;
  for (unsigned length = 1; length <= 32 && bits->Remaining() > 0; ++length) {
    if (bits->Bit()) read |= 1u << (length - 1);
    for (uint32_t i = table.Start[length]; i < table.Start[length + 1]; ++i) {
      if (table.ByLength[i]->Code == read) return table.ByLength[i];
    }
    if (table.Start[length + 1] == table.ByLength.size()) break;  // no longer codes
  }
  return nullptr;
}

bool CHuffmanDecoder::Decode(const uint8_t* bytes, size_t size, size_t count,
                             std::vector<int16_t>* out, size_t* unused) const {
  out->clear();
  if (index_.empty()) return plat::FailWith(plat::kErrInvalidData);
  out->resize(count);
  int16_t* values = out->data();
  size_t done = 0;
  CBitReader bits(bytes, size);
  const STable* table = index_.data();
  const SEntry* lookup = table->Lookup.data();
  unsigned width = table->Bits;
  // Only switches consume bits without giving a value; a table switching to itself
  // forever still ends with the input.
  while (done < count) {
    SEntry entry;
    if (width != 0) entry = lookup[bits.Peek(width)];
    if (entry.Length != 0) {
      // Past the end the lookup saw 0 bits: a code it found there is cut off.
      if (entry.Length > bits.Remaining()) break;
      bits.Skip(entry.Length);
    } else {
      const SHuffmanCode* code = Walk(*table, &bits);
      if (code == nullptr) break;
      entry.Value = code->Value;
      entry.Extra =
          code->Mode == 0 ? kSwitch : static_cast<uint8_t>(code->TotalBits - code->PrefixBits);
    }
    if (entry.Extra == kSwitch) {
      if (entry.Value < 1 || static_cast<size_t>(entry.Value) > index_.size()) break;
      table = &index_[static_cast<size_t>(entry.Value) - 1];
      lookup = table->Lookup.data();
      width = table->Bits;
    } else if (entry.Extra == 0) {
      values[done++] = entry.Value;
    } else {
      if (bits.Remaining() < entry.Extra) break;
      values[done++] = SignExtend(bits.Bits(entry.Extra), entry.Extra);
    }
  }
  if (unused != nullptr) *unused = bits.Remaining();
  if (done == count) return true;
  out->resize(done);
  return plat::FailWith(plat::kErrInvalidData);
}
