#pragma once

namespace tessen {

// The one place where a double result is stored to single precision.
//
// Every stored real of the program is a float. A formula is evaluated in double
// precision from float operands, and its result is rounded to float exactly once, when
// it is stored; each such rounding point goes through this function so that it can be
// seen in the code. Values that a formula uses before rounding stay double and do not
// pass through here.
inline float to_single(double v) {
    return static_cast<float>(v);
}

} // namespace tessen
