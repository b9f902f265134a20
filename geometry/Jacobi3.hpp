#pragma once

#include <array>
#include <cstdint>

namespace tessen {

// A symmetric matrix of order 3 stored column by column: element (i, j), counted
// from 1, is m[(i - 1) + 3 * (j - 1)].
using Matrix3 = std::array<float, 9>;

// The symmetric 3x3 eigen-solver by Jacobi rotations. On return the diagonal of a holds
// the eigenvalues (in the order the rotations leave them, not sorted) and, when flag is
// 0, column k of v is the unit eigenvector of a(k, k). Only the diagonal and the strict
// upper triangle of a are read or written. count is the number of rotations.
void JACOBI3(Matrix3& a, std::int32_t n, std::int32_t flag, Matrix3& v, std::int32_t& count);

} // namespace tessen
