#include "geometry/Precision.hpp"

#include "records/Diagnostic.hpp"

namespace tessen {

void raise_float_fault(float stored) {
    throw RunError(std::isnan(stored) ? ErrorKind::fp_invalid : ErrorKind::fp_overflow);
}

double quotient(double num, double den) {
    if (den == 0.0)
        throw RunError(num == 0.0 ? ErrorKind::fp_invalid : ErrorKind::fp_divide_by_zero);
    return num / den;
}

void check_divisor(double den) {
    if (den == 0.0)
        throw RunError(ErrorKind::fp_divide_by_zero);
}

} // namespace tessen
