#pragma once

#include "records/ByteStreams.hpp"
#include "report/ReportModel.hpp"
#include "rot/Analysis.hpp"

#include <string>

namespace tessen::rot {

// The rotational analysis of one mass-properties block: the moments as printed, sorted
// Ia <= Ib <= Ic by report::axis_order, each with half a unit of its last printed digit and
// the single-precision rounding of the computation (2^-23 Ic) as its uncertainty and
// spread (a moment printed below 0 is 0); the coordinates and masses with half a unit of
// their last printed digit.
Isotopologue analyse_block(const report::MassBlock& block);

// Reads a report through the shared report reader and analyses each block; substitutions
// are worked out against the molecule's first block. A warning that every block of a
// molecule repeats is given once, with their count. Raises RunError when the source cannot
// be read.
Analysis analyse_report(ByteSource& source, const std::string& name);

} // namespace tessen::rot
