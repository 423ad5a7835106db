#include "interchange/mat_v4.h"

#include <algorithm>
#include <cstring>

#include "platform/little_endian.h"

namespace {

constexpr size_t kHeaderBytes = 20;  // type, rows, columns, imaginary flag, name length

uint32_t Word(const uint8_t* p, bool bigEndian) {
  return bigEndian ? (uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3])
                   : plat::GetLE32(p);
}

// One element of precision `precision` (the P digit of the type) as a double.
double Element(const uint8_t* p, unsigned precision, bool bigEndian) {
  uint8_t b[8];
  const size_t size = precision == 0 ? 8 : precision <= 2 ? 4 : precision <= 4 ? 2 : 1;
  for (size_t i = 0; i < size; ++i) b[i] = bigEndian ? p[size - 1 - i] : p[i];
  switch (precision) {
    case 0: {
      double value = 0;
      std::memcpy(&value, b, 8);
      return value;
    }
    case 1: {
      float value = 0;
      std::memcpy(&value, b, 4);
      return value;
    }
    case 2:
      return static_cast<int32_t>(plat::GetLE32(b));
    case 3:
      return static_cast<int16_t>(plat::GetLE16(b));
    case 4:
      return plat::GetLE16(b);
    default:
      return b[0];
  }
}

}  // namespace

bool ParseMatV4(const uint8_t* bytes, size_t size, SMatMatrix* matrix, std::string* why) {
  if (size < kHeaderBytes) {
    *why = "shorter than a MAT v4 matrix header";
    return false;
  }
  // The type is M*1000 + O*100 + P*10 + T: M the byte order, O 0, P the precision,
  // T 0 for a full numeric matrix. Read little-endian, it is small only when it is so.
  bool bigEndian = false;
  uint32_t type = Word(bytes, false);
  if (type >= 1000) {
    bigEndian = true;
    type = Word(bytes, true);
    if (type / 1000 != 1) {
      *why = "not a MAT v4 file (no matrix type in its first bytes)";
      return false;
    }
    type -= 1000;
  }
  const unsigned precision = type / 10 % 10;
  if (type / 100 != 0 || type % 10 != 0 || precision > 5) {
    *why =
        "a MAT v4 matrix of type " + std::to_string(type) + ": only full numeric matrices are read";
    return false;
  }
  const uint32_t rows = Word(bytes + 4, bigEndian);
  const uint32_t columns = Word(bytes + 8, bigEndian);
  const uint32_t imaginary = Word(bytes + 12, bigEndian);
  const uint32_t nameLength = Word(bytes + 16, bigEndian);
  if (imaginary != 0) {
    *why = "a complex MAT v4 matrix";
    return false;
  }
  if (nameLength == 0 || nameLength > size - kHeaderBytes) {
    *why = "a MAT v4 matrix name longer than the file";
    return false;
  }
  const size_t elementSize = precision == 0 ? 8 : precision <= 2 ? 4 : precision <= 4 ? 2 : 1;
  const size_t dataAt = kHeaderBytes + nameLength;
  const uint64_t count = uint64_t{rows} * columns;
  if (count > (size - dataAt) / elementSize) {
    *why = "a MAT v4 matrix of " + std::to_string(rows) + " x " + std::to_string(columns) +
           " elements, more than the file holds";
    return false;
  }
  SMatMatrix parsed;
  const char* name = reinterpret_cast<const char*>(bytes + kHeaderBytes);
  parsed.Name.assign(name, std::find(name, name + nameLength, '\0'));
  parsed.Rows = rows;
  parsed.Columns = columns;
  parsed.Values.resize(static_cast<size_t>(count));
  for (size_t i = 0; i < parsed.Values.size(); ++i) {
    parsed.Values[i] = Element(bytes + dataAt + i * elementSize, precision, bigEndian);
  }
  *matrix = std::move(parsed);
  return true;
}
