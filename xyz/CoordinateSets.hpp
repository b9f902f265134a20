#pragma once

#include "records/ByteStreams.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tessen::xyz {

// One atom of a coordinate listing: its three coordinates and its mass. The mass is
// absent where the report shows asterisks (a value too wide for its field).
struct ListedAtom {
    float x = 0;
    float y = 0;
    float z = 0;
    std::optional<float> mass;
};

// One coordinate listing of a report: the input axis frame of a molecule, or the
// principal-axis frame of one of its mass-properties blocks.
struct CoordinateSet {
    int molecule = 0;     // the molecule's place in the report, from 1
    int block = 0;        // 0: input axis frame; k: the k-th mass-properties block
    std::string title;    // title 1 of the molecule, less trailing blanks
    std::string subtitle; // the third title over the listing, less trailing blanks
    std::vector<ListedAtom> atoms;
};

// A listing that could not be used: the report line where that shows, and what became of it.
struct ListingProblem {
    std::size_t line = 0;
    std::string text;
};

// What a report holds for tessen-xyz: its usable listings in report order, and a problem
// for each listing that could not be used, in report order.
struct ReportContents {
    std::vector<CoordinateSet> sets;
    std::vector<ListingProblem> problems;
};

// Reads the coordinate listings of a report; name is the one its diagnostics give.
// Molecules are counted at each molecule header, so a molecule of fewer than three atoms,
// which has no listing, still takes its number; blocks are counted within their molecule.
// Principal-axis coordinates come in a, b, c order (Ia <= Ib <= Ic) without mirroring the
// molecule; where a moment is not shown they keep the report's order. Raises the record
// layer's diagnostic (RunError) when the source cannot be read.
ReportContents read_coordinate_sets(ByteSource& source, const std::string& name);
// The same for a report file by name.
ReportContents read_coordinate_sets(const std::string& report_path);

} // namespace tessen::xyz
