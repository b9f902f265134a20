#include "geometry/FloatFaults.hpp"

#include "records/Diagnostic.hpp"

#include <cmath>

namespace tessen {

float store(double v) {
    float f = to_single(v);
    if (std::isnan(f))
        throw RunError(ErrorKind::fp_invalid);
    if (std::isinf(f))
        throw RunError(ErrorKind::fp_overflow);
    return f;
}

double quotient(double num, double den) {
    if (den == 0.0)
        throw RunError(num == 0.0 ? ErrorKind::fp_invalid : ErrorKind::fp_divide_by_zero);
    return num / den;
}

} // namespace tessen
