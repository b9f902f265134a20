#pragma once

#include "xyz/CoordinateSets.hpp"

#include <string>

namespace tessen::xyz {

// The per-atom columns of the files, in extended XYZ notation: the element symbol, the
// three coordinates and the mass. Readers of plain XYZ take the first four columns.
inline constexpr const char* kXyzProperties = "species:S:1:pos:R:3:masses:R:1";

// The element symbol of an atomic mass in u, from Open Babel's tables: the element of an
// isotope whose mass it is (within 1e-4 u; deuterium and tritium are H), or else of the
// nearest main isotope or standard atomic weight within 0.1 u (a rounded mass); otherwise,
// and for a dummy atom's mass (0), X.
std::string element_symbol(double mass);

// A coordinate or a mass as an XYZ file shows it: the report's own six-decimal text of
// the value, with a zero before the decimal point ("-0.239987", "0.000000").
std::string xyz_number(float value);

// The description of a listing: title 1, the third title and the frame ("input axis
// frame" or "principal axes, block k"), the empty ones left out, joined by " | ".
// Control characters become blanks and bytes outside ASCII "?", so the description
// stays one line of plain text.
std::string xyz_description(const CoordinateSet& set);

// The comment line: comment="description" (its backslashes and double quotes escaped with a
// backslash), then Properties=..., so that a viewer showing the line as a title shows the
// description first.
std::string xyz_comment(const CoordinateSet& set);

// The whole XYZ file: the atom count, the comment, then one line per atom with its
// element symbol (from its mass), x, y, z and its mass; every line ends with LF. A mass
// shown as asterisks in the report is unknown: its symbol is X and its mass "nan".
std::string xyz_text(const CoordinateSet& set);

} // namespace tessen::xyz
