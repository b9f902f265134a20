#pragma once

#include "records/Layout.hpp"

namespace tessen::report {

// Half a unit of the last digit that the report shows of a number it printed by a real
// field of this layout (every real field of it has the same decimals): the field's d-th
// decimal, or the seventh significant digit when that comes first, as tessen's real
// fields edit a single-precision value. The printed number lies within this of the value
// tessen computed; 1.154915 gives 5e-7, 15.99492 gives 5e-6.
double half_unit(double printed, const Layout& layout);

// The decimals of the layout's real fields (every real field of it has the same).
int real_decimals(const Layout& layout);

} // namespace tessen::report
