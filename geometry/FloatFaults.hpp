#pragma once

#include "geometry/Precision.hpp"

namespace tessen {

// Rounds a double result to single precision where it is stored, like to_single, and
// ends the run with "floating-point error: overflow" when it does not fit (or "invalid"
// for a NaN), so that no undefined value is ever stored.
float store(double v);

// num / den in double precision, ending the run with "floating-point error: invalid"
// for zero divided by zero and "divide by zero" for anything else divided by zero.
double quotient(double num, double den);

} // namespace tessen
