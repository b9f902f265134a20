// Precision and floating-point faults: the one place where a computed value becomes a
// stored real, and where a floating-point fault ends the run.
//
// The rounding rule. Every stored real of tessen is a float. A formula is evaluated in
// double precision from float operands, and its result is rounded to float exactly once,
// where it is stored: each such rounding point calls store(). A value that a formula uses
// before it is rounded stays a double and does not pass through here; where the rules
// say that a value is stored but used unrounded (the length of w in the construction),
// check_store() raises the fault that storing it would raise.
//
// The faults. No NaN or infinity is ever stored, printed or used: the first fault, in
// the order of evaluation, ends the run at the rounding point where it happens, with
//   "floating-point error: overflow"        a result that does not fit a float,
//   "floating-point error: invalid"         a NaN (for one, zero divided by zero),
//   "floating-point error: divide by zero"  anything else divided by zero.
// Divisions that could meet a zero divisor go through quotient() or check_divisor(), so
// that the fault is named by its cause rather than by the infinity it would leave.

#pragma once

#include <cmath>

namespace tessen {

// The bare rounding of a double result to single precision. Only store() calls it.
inline float to_single(double v) {
    return static_cast<float>(v);
}

// Ends the run with "floating-point error: invalid" for a NaN, "overflow" otherwise (an
// infinity).
[[noreturn]] void raise_float_fault(float stored);

// Rounds a double result to single precision where it is stored, and ends the run when
// it does not fit (overflow) or is not a number (invalid). Inline: it is called for every
// stored value, the distance check's N^2 distances included.
inline float store(double v) {
    const float f = to_single(v);
    if (!std::isfinite(f)) [[unlikely]]
        raise_float_fault(f);
    return f;
}

// For a value that is stored but used unrounded: raises the fault that store(v) would.
inline void check_store(double v) {
    static_cast<void>(store(v));
}

// num / den in double precision, ending the run with "floating-point error: invalid" for
// zero divided by zero and "divide by zero" for anything else divided by zero.
double quotient(double num, double den);

// Ends the run with "floating-point error: divide by zero" when den is zero, whatever
// the numerators will be: used where a whole block must not start with a zero divisor.
void check_divisor(double den);

} // namespace tessen
