#pragma once

#include <array>
#include <cstdint>

namespace tessen {

// The table holds atoms 1 to 500; the atom number is the row.
constexpr std::int32_t kMaxAtoms = 500;

// x, y and z of one row.
using Triple = std::array<float, 3>;

// Coordinates of rows 1 to 500 (row 0 is never used).
using CoordinateTable = std::array<Triple, kMaxAtoms + 1>;

// The atoms of the molecule in hand: coordinates and masses, single precision, zero at
// the start of the run and never cleared; each record overwrites only its own row.
struct AtomTable {
    CoordinateTable pos{};
    std::array<float, kMaxAtoms + 1> mass{};
};

// Raises the atom-number diagnostic unless 1 <= number <= 500.
void check_atom_number(std::int32_t number);

// Raises the atom-count diagnostic when n is above 500.
void check_atom_count(std::int32_t n);

} // namespace tessen
