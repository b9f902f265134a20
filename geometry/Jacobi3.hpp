#pragma once

#include "geometry/Matrix3.hpp"

#include <cstdint>

namespace tessen {

// The symmetric 3x3 eigen-solver by Jacobi rotations. On return the diagonal of a holds
// the eigenvalues (in the order the rotations leave them, not sorted) and, when flag is
// 0, column k of v is the unit eigenvector of a(k, k). Only the diagonal and the strict
// upper triangle of a are read or written. count is the number of rotations. Every value
// is stored through the checked store, so the first floating-point fault ends the run
// where it happens and no NaN or infinity is ever used.
void JACOBI3(Matrix3& a, std::int32_t n, std::int32_t flag, Matrix3& v, std::int32_t& count);

} // namespace tessen
