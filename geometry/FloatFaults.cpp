#include "geometry/FloatFaults.hpp"

#include "records/Diagnostic.hpp"

namespace tessen {

void raise_float_fault(float stored) {
    if (std::isnan(stored))
        throw RunError(ErrorKind::fp_invalid);
    throw RunError(ErrorKind::fp_overflow);
}

double quotient(double num, double den) {
    if (den == 0.0)
        throw RunError(num == 0.0 ? ErrorKind::fp_invalid : ErrorKind::fp_divide_by_zero);
    return num / den;
}

} // namespace tessen
