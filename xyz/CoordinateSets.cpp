#include "xyz/CoordinateSets.hpp"

#include "records/FileStreams.hpp"
#include "report/AxisOrder.hpp"
#include "report/ReportReader.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace tessen::xyz {

namespace {

using report::Problem;
using Problems = std::vector<ListingProblem>;
using AxisOrder = std::optional<std::array<int, 3>>;

std::string describe(const CoordinateSet& set) {
    std::string frame = set.block == 0 ? "input axis frame"
                                       : "principal axes of block " + std::to_string(set.block);
    return "molecule " + std::to_string(set.molecule) + ", " + frame;
}

// The report's values are floats printed with six decimals: the nearest float to each
// printed number is the value that prints the same again. Principal coordinates are put in
// a, b, c order; where that reorders an odd number of columns, the c axis is turned round
// as well, so that the molecule is not mirrored (a chiral one would become its enantiomer).
ListedAtom listed_atom(const report::ListingRow& row, const AxisOrder& order) {
    const std::array<float, 3> shown = {static_cast<float>(*row.x), static_cast<float>(*row.y),
                                        static_cast<float>(*row.z)};
    std::array<float, 3> xyz = shown;
    if (order) {
        for (int k = 0; k < 3; ++k)
            xyz[k] = shown[(*order)[k]];
        if (report::mirrors(*order))
            xyz[2] = -xyz[2];
    }
    std::optional<float> mass;
    if (row.mass)
        mass = static_cast<float>(*row.mass);
    return {xyz[0], xyz[1], xyz[2], mass};
}

// A listing is written only when every coordinate of it can be read.
void take_listing(const report::Molecule& molecule, int block, const report::Listing& listing,
                  const AxisOrder& order, ReportContents& contents, Problems& problems) {
    CoordinateSet set{molecule.number, block, molecule.title1, listing.title, {}};
    for (std::size_t i = 0; i < listing.rows.size(); ++i) {
        const report::ListingRow& row = listing.rows[i];
        if (!row.coordinates_shown()) {
            problems.push_back({row.line, describe(set) + ": atom " + std::to_string(i + 1) +
                                              " has a coordinate too wide for its field; "
                                              "no file written"});
            return;
        }
        set.atoms.push_back(listed_atom(row, order));
    }
    if (!set.atoms.empty()) // a listing without atoms is among the reader's problems
        contents.sets.push_back(std::move(set));
}

// The reader's problems that cost a listing, with what becomes of it.
void take_problem(const Problem& problem, Problems& problems) {
    const char* consequence = nullptr;
    switch (problem.kind) {
    case Problem::Kind::listing_before_molecule:
        consequence = "; skipped";
        break;
    case Problem::Kind::column_header_missing:
        consequence = "; listing skipped";
        break;
    case Problem::Kind::listing_without_rows:
        consequence = "; no file written";
        break;
    case Problem::Kind::block_before_molecule:
    case Problem::Kind::block_incomplete:
        return; // the listings are taken where they stand
    }
    problems.push_back({problem.line, problem.text + consequence});
}

} // namespace

ReportContents read_coordinate_sets(ByteSource& source, const std::string& name) {
    report::ReportReader reader(source, name);
    ReportContents contents;
    while (std::optional<report::Molecule> molecule = reader.next_molecule()) {
        if (molecule->input_frame)
            take_listing(*molecule, 0, *molecule->input_frame, std::nullopt, contents,
                         contents.problems);
        for (std::size_t k = 0; k < molecule->blocks.size(); ++k) {
            const report::MassBlock& block = molecule->blocks[k];
            if (block.principal)
                take_listing(*molecule, static_cast<int>(k + 1), *block.principal,
                             report::axis_order(block.principal_moments), contents,
                             contents.problems);
        }
    }
    for (const Problem& problem : reader.take_problems())
        take_problem(problem, contents.problems);
    std::stable_sort(contents.problems.begin(), contents.problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    return contents;
}

ReportContents read_coordinate_sets(const std::string& report_path) {
    FileSource source(report_path);
    return read_coordinate_sets(source, report_path);
}

} // namespace tessen::xyz
