#pragma once

#include "xyz/CoordinateSets.hpp"

#include <string>

namespace tessen::xyz {

// A coordinate as an XYZ file shows it: the report's own six-decimal text of the value,
// with a zero before the decimal point ("-0.239987", "0.000000").
std::string xyz_number(float value);

// The comment line: title 1, the third title and the frame ("input axis frame" or
// "principal axes, block k"), the empty ones left out, joined by " | ". Control
// characters become blanks and bytes outside ASCII "?", so the comment stays one line of
// plain text.
std::string xyz_comment(const CoordinateSet& set);

// The whole XYZ file: the atom count, the comment, then one line per atom with its
// element symbol (from its mass) and x, y, z; every line ends with LF.
std::string xyz_text(const CoordinateSet& set);

} // namespace tessen::xyz
