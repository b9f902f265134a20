#pragma once

#include "records/ByteStreams.hpp"
#include "rot/Isotopologue.hpp"

#include <string>
#include <vector>

namespace tessen::rot {

// One molecule of a report: its titles and an isotopologue per mass-properties block (the
// molecule's own masses first, then each isotope set in order). A molecule without a
// block has none.
struct MoleculeAnalysis {
    std::string report;
    int number = 0; // its place in the report, from 1
    std::string title1;
    std::string title2;
    std::vector<Isotopologue> isotopologues;
};

// What a report gave: every molecule, and the warnings to show (blocks whose moments are
// asterisks, parts of the report that are not as tessen writes them).
struct ReportAnalysis {
    std::vector<MoleculeAnalysis> molecules;
    std::vector<std::string> warnings;
    int blocks = 0;
};

// Reads a report through the shared report reader and analyses each block; substitutions
// are worked out against the molecule's first block. Raises RunError when the source
// cannot be read.
ReportAnalysis analyse_report(ByteSource& source, const std::string& name);

} // namespace tessen::rot
