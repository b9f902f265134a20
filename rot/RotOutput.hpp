#pragma once

#include "rot/Analysis.hpp"

#include <string>
#include <vector>

namespace tessen::rot {

// An aligned, labelled table for a person: per molecule one row per isotopologue with A,
// B, C in MHz, kappa and the inertial defect, then the substitution table. Each derived
// value has the digits its uncertainty leaves it, with that uncertainty in units of its
// last digits, "822482.02(67)"; a value whose uncertainty lies beyond ten significant
// digits (a deck's) has ten. Numbers that were read (the parent's coordinates) are shown
// as read.
std::string text_tables(const std::vector<MoleculeAnalysis>& molecules);

// {"molecules": [...]}, every value a JSON number (17 significant digits) or null, each
// derived value with its uncertainty beside it ("constants_mhz_sigma").
std::string json_document(const std::vector<MoleculeAnalysis>& molecules);

// One row per isotopologue, with a header row, for spreadsheets: each derived value
// rounded where its uncertainty leaves it, the uncertainties in columns of their own at the
// end.
std::string csv_table(const std::vector<MoleculeAnalysis>& molecules);

} // namespace tessen::rot
