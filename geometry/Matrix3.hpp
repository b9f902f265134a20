#pragma once

#include <array>
#include <cstddef>

namespace tessen {

// A matrix of order 3 stored column by column: element (i, j), counted from 1, is the
// (i + 3(j - 1))-th value. Printed one row per line.
using Matrix3 = std::array<float, 9>;

// Element (i, j) of m, i and j counted from 1.
inline float& element(Matrix3& m, int i, int j) {
    return m[static_cast<std::size_t>((i - 1) + 3 * (j - 1))];
}
inline float element(const Matrix3& m, int i, int j) {
    return m[static_cast<std::size_t>((i - 1) + 3 * (j - 1))];
}

} // namespace tessen
