#pragma once

#include "xyz/CoordinateSets.hpp"

#include <string>

namespace tessen::xyz {

// The stem of the files made from a report: the report's file name less its folder and
// its last extension (reports/WATER.OUT gives WATER).
std::string report_stem(const std::string& report_path);

// The file name of a listing: STEM_m_input.xyz for the input axis frame of molecule m,
// STEM_m_principal_k.xyz for the principal axes of its k-th mass-properties block.
std::string xyz_file_name(const std::string& stem, const CoordinateSet& set);

} // namespace tessen::xyz
