#pragma once

#include "xyz/CoordinateSets.hpp"

#include <cstddef>
#include <string>

namespace tessen::xyz {

// The longest species part of a file name, in characters.
inline constexpr std::size_t kSpeciesNameLength = 40;

// The stem of the files made from a report: the report's file name less its folder and
// its last extension (reports/WATER.OUT gives WATER).
std::string report_stem(const std::string& report_path);

// A title as a part of a file name: ASCII letters, digits and '-' kept, every run of
// other characters (underscores included) one '_', none at either end, at most
// kSpeciesNameLength characters. "D2(16)O" gives "D2_16_O"; a blank title gives "".
std::string species_name(const std::string& title);

// The file name of a listing: STEM_m_input.xyz for the input axis frame of molecule m
// (which the report gives independent of isotope), STEM_m_principal_k_SPECIES.xyz for
// the principal axes of its k-th mass-properties block, SPECIES being the species name
// of the listing's title, left out with its '_' when empty.
std::string xyz_file_name(const std::string& stem, const CoordinateSet& set);

} // namespace tessen::xyz
