#pragma once

#include <map>
#include <string>
#include <vector>

namespace tessen::test {

// d(i, j) of one molecule, row i - 1 holding the distances from atom i to atoms 1..N.
using DistanceMatrix = std::vector<std::vector<double>>;

// The interatomic distance check of every molecule of a report, by the molecule's place
// in the report (from 1). A distance shown as asterisks is NaN.
std::map<int, DistanceMatrix> distance_checks(const std::vector<std::string>& report_lines);

} // namespace tessen::test
