#pragma once

#include "xyz/ListingLine.hpp"

#include <string>
#include <vector>

namespace tessen::xyz {

// One coordinate listing of a report: the input axis frame of a molecule, or the
// principal-axis frame of one of its mass-properties blocks.
struct CoordinateSet {
    int molecule = 0;     // the molecule's place in the report, from 1
    int block = 0;        // 0: input axis frame; k: the k-th mass-properties block
    std::string title;    // title 1 of the molecule, less trailing blanks
    std::string subtitle; // the third title over the listing, less trailing blanks
    std::vector<ListedAtom> atoms;
};

// What a report holds: its usable listings in report order, and a line for each listing
// that could not be used.
struct ReportContents {
    std::vector<CoordinateSet> sets;
    std::vector<std::string> problems;
};

// Finds every coordinate listing in the lines of a report. Molecules are counted at each
// molecule header ("  PROGRAM TESSEN"), so a molecule of fewer than three atoms, which has
// no listing, still takes its number; blocks are counted within their molecule.
ReportContents scan_report(const std::vector<std::string>& lines);

} // namespace tessen::xyz
