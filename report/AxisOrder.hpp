#pragma once

#include "report/ReportModel.hpp"

#include <array>
#include <optional>

namespace tessen::report {

// The principal axes a, b, c of a mass-properties block as columns of its listing (0 to 2,
// in report order): sorted by moment, Ia <= Ib <= Ic, equal moments keeping the report's
// order. Nothing when a moment is not shown.
std::optional<std::array<int, 3>> axis_order(const ShownTriple& principal_moments);

// Whether putting the columns in this order mirrors the frame (an odd permutation).
bool mirrors(const std::array<int, 3>& order);

} // namespace tessen::report
