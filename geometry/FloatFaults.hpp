#pragma once

#include "geometry/Precision.hpp"

#include <cmath>

namespace tessen {

// Ends the run with "floating-point error: invalid" for a NaN, "overflow" otherwise
// (an infinity).
[[noreturn]] void raise_float_fault(float stored);

// Rounds a double result to single precision where it is stored, like to_single, and
// ends the run with "floating-point error: overflow" when it does not fit (or "invalid"
// for a NaN), so that no undefined value is ever stored. Inline: it is called for every
// stored value, the distance check's N^2 distances included.
inline float store(double v) {
    const float f = to_single(v);
    if (!std::isfinite(f)) [[unlikely]]
        raise_float_fault(f);
    return f;
}

// num / den in double precision, ending the run with "floating-point error: invalid"
// for zero divided by zero and "divide by zero" for anything else divided by zero.
double quotient(double num, double den);

} // namespace tessen
