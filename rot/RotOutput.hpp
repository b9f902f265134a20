#pragma once

#include "rot/ReportAnalysis.hpp"

#include <string>
#include <vector>

namespace tessen::rot {

// An aligned, labelled table for a person: per molecule one row per isotopologue with A,
// B, C in MHz, kappa and the inertial defect, then the substitution table.
std::string text_tables(const std::vector<MoleculeAnalysis>& molecules);

// {"molecules": [...]}, every value a JSON number (17 significant digits) or null.
std::string json_document(const std::vector<MoleculeAnalysis>& molecules);

// One row per isotopologue, with a header row, for spreadsheets.
std::string csv_table(const std::vector<MoleculeAnalysis>& molecules);

} // namespace tessen::rot
