// The report's vocabulary: every heading, fixed text and record layout that tessen writes,
// and the deck records it reads, each defined once. The writers of geometry/ write
// through these definitions, and the programs that read reports back (tessen-xyz and the
// other companions) look for the same texts and read with the same layouts, so the two
// sides cannot drift apart.
//
// Headings are free-form texts: the record layer writes a blank in front of each, so in
// the report a heading stands one column further right than its text here
// (report_line() gives the line as it stands in the report).
//
// In the order a molecule's report is written:
//   molecule header      kProgramLine, title 1, title 2, a blank line, kValenceHeading
//   atom echo            kAtomRecord, one line per atom record as read
//   input axis frame     kInputFrameHeading, kIndependentOfIsotope, title 3, listing
//   its sparse listing   kInputFrameHeading, kKoftFormat, kIndependentOfIsotope, slots
//   distance check       kDistanceHeading, then kDistanceBlock per atom
//   mass block           kTotalMass; kTensorHeading with kMatrixRow; kMomentsHeading,
//                        kMomentsRow, kTransformHeading with kMatrixRow; kPrincipalHeading,
//                        kDifferByIsotope, listing; kPrincipalSparseHeading, kKoftFormat,
//                        kDifferByIsotope, title 3, slots
//   each isotope set     two blank lines, kNextIsotope, the mass block again
//   trailer              kTrailerLines blank lines
// A listing is kListingHeader followed by one kListingRow per atom.

#pragma once

#include "records/Layout.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessen::report {

// ---- Deck records ------------------------------------------------------------------------

// Control codes, in columns 1-3 of a control record or an isotope header record.
inline constexpr std::int32_t kEndCode = 999;     // end of the deck
inline constexpr std::int32_t kMoleculeCode = -9; // a molecule follows
inline constexpr std::int32_t kIsotopeCode = -6;  // an isotope mass set follows

// The control record (only its code is read) and the counts record (code, N, isotope
// flag).
inline const Layout kControlRecord{"(I3,3I4)"};
// An atom record: I, J, K, L, R, A, T, M. The report echoes each record by the same layout.
inline const Layout kAtomRecord{"(4I3,4F12.6)"};
// An isotope header record: the code, then the new third title (columns 4-63).
inline const Layout kIsotopeHeader{"(I3,A)"};
// The masses of an isotope mass set, six to a record.
inline const Layout kMassRecords{"(6F12.6)"};

// Title lengths: titles 1 and 2 head the molecule, the third heads its sections.
inline constexpr std::size_t kTitleLength = 80;
inline constexpr std::size_t kThirdTitleLength = 60;

// ---- Molecule header ---------------------------------------------------------------------

inline constexpr std::string_view kProgramLine = " PROGRAM TESSEN";
// Written whole as one record: ten blanks, then the heading.
inline constexpr std::string_view kValenceHeading = "          INPUT VALENCE COORDINATES";

// ---- Coordinate listings -----------------------------------------------------------------

inline constexpr std::string_view kInputFrameHeading =
    "  CARTESIAN COORDINATES IN INPUT AXIS FRAME";
inline constexpr std::string_view kIndependentOfIsotope =
    "  NOTE THAT THESE ARE INDEPENDENT OF ISOTOPE";
inline constexpr std::string_view kKoftFormat = "  IN FORMAT FOR INPUT TO KOFT";

// The column header line of a listing, written whole, and one row per atom: the row
// number in columns 5-7, x, y, z in 11-46 and the mass in 47-59.
inline constexpr std::string_view kListingHeader =
    " ATOM NO.       X           Y          Z          MASS";
inline const Layout kListingRow{"(4X,I3,3X,3F12.6,F13.6)"};
inline constexpr std::size_t kListingRowWidth = 59;

// The compact (axis, atom, value) listing that KOFT reads, four slots to a line.
inline const Layout kSparseSlots{"(4(2I3,F12.6))"};

// ---- Distance check ----------------------------------------------------------------------

inline constexpr std::string_view kDistanceHeading = " INTERATOMIC DISTANCES CHECK";
// Per atom: its number, then its distances to every atom, eight to a line.
inline const Layout kDistanceBlock{"(1X,'ATOM',I3,/,(1X,8(F9.6,1X)))"};
// The first line of that block. The distance lines are written ten columns to a field,
// "1X,F9.6", as the block lays them out (geometry/DistCheck.cpp, held to kDistanceBlock
// by the tests).
inline const Layout kDistanceAtomLine{"(1X,'ATOM',I3)"};

// ---- Mass-properties block ---------------------------------------------------------------

inline const Layout kTotalMass{"('  TOTAL MASS=',F12.6,/,2X,'CENTER OF MASS=',3(F10.6,2X))"};
inline constexpr std::string_view kTensorHeading = "   MOMENT OF INERTIA TENSOR";
// One row of a 3x3 matrix (the tensor, the transformation).
inline const Layout kMatrixRow{"(3F12.6)"};
inline constexpr std::string_view kMomentsHeading = "  PRINCIPAL MOMENT OF INERTIA";
inline const Layout kMomentsRow{"(3X,3F12.6)"};
inline constexpr std::string_view kTransformHeading = " AND TRANSFORMATION TENSOR";
inline constexpr std::string_view kPrincipalHeading = "   PRINCIPAL CARTESIAN COORDINATES";
inline constexpr std::string_view kDifferByIsotope =
    "  NOTE THAT THESE DIFFER FOR DIFFERENT ISOTOPES";
inline constexpr std::string_view kPrincipalSparseHeading = "  PRINCIPAL CARTESIAN COORDINATES";

// ---- Isotope sets and the end of a molecule ----------------------------------------------

inline constexpr std::string_view kNextIsotope = "   NEXT ISOTOPE";
// Blank lines written before the heading of an isotope mass set.
inline constexpr int kIsotopeSetBlankLines = 2;
// Blank lines that end every molecule (and every mass set begun by a control record).
inline constexpr int kTrailerLines = 4;

// A free-form text as it stands in the report: behind the blank that the record layer
// puts in front of every free-form line.
inline std::string report_line(std::string_view free_form_text) {
    return " " + std::string(free_form_text);
}

// Whether a line of the report is the free-form text as report_line() gives it.
inline bool is_report_line(std::string_view line, std::string_view free_form_text) {
    return line.size() == free_form_text.size() + 1 && line.front() == ' ' &&
           line.substr(1) == free_form_text;
}

} // namespace tessen::report
