// MATLAB version 4 .mat files, as the 12-lead challenge sets ship their signals (a
// .hea beside a .mat holding one matrix "val", a row per signal): the first matrix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SMatMatrix {
  std::string Name;
  uint32_t Rows = 0;
  uint32_t Columns = 0;
  std::vector<double> Values;  // column after column, as the file holds them

  double At(uint32_t row, uint32_t column) const {
    return Values[static_cast<size_t>(column) * Rows + row];
  }
};

// The first matrix of the file: little- or big-endian, full (not sparse, not text),
// real, of doubles, singles, 32- or 16-bit integers, unsigned 16-bit or bytes. False
// with `why` for anything else or a matrix larger than the file.
bool ParseMatV4(const uint8_t* bytes, size_t size, SMatMatrix* matrix, std::string* why);
