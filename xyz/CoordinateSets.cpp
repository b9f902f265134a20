#include "xyz/CoordinateSets.hpp"

#include "records/FileStreams.hpp"
#include "report/ReportReader.hpp"

#include <algorithm>
#include <utility>

namespace tessen::xyz {

namespace {

using report::Problem;

// Problems with their lines, put in report order at the end.
using Problems = std::vector<std::pair<std::size_t, std::string>>;

std::string describe(const CoordinateSet& set) {
    std::string frame = set.block == 0 ? "input axis frame"
                                       : "principal axes of block " + std::to_string(set.block);
    return "molecule " + std::to_string(set.molecule) + ", " + frame;
}

// A listing is written only when every coordinate of it can be read.
void take_listing(const report::Molecule& molecule, int block, const report::Listing& listing,
                  ReportContents& contents, Problems& problems) {
    CoordinateSet set{molecule.number, block, molecule.title1, listing.title, {}};
    for (std::size_t i = 0; i < listing.rows.size(); ++i) {
        const report::ListingRow& row = listing.rows[i];
        if (!row.coordinates_shown()) {
            problems.emplace_back(row.line, "line " + std::to_string(row.line) + ": " +
                                                describe(set) + ": atom " + std::to_string(i + 1) +
                                                " has a coordinate too wide for its field; "
                                                "no file written");
            return;
        }
        // The report's values are floats printed with six decimals: the nearest float to
        // each printed number is the value that prints the same again.
        std::optional<float> mass;
        if (row.mass)
            mass = static_cast<float>(*row.mass);
        set.atoms.push_back({static_cast<float>(*row.x), static_cast<float>(*row.y),
                             static_cast<float>(*row.z), mass});
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
    problems.emplace_back(problem.line, problem.message() + consequence);
}

} // namespace

ReportContents read_coordinate_sets(const std::string& report_path) {
    FileSource source(report_path);
    report::ReportReader reader(source, report_path);
    ReportContents contents;
    Problems problems;
    while (std::optional<report::Molecule> molecule = reader.next_molecule()) {
        if (molecule->input_frame)
            take_listing(*molecule, 0, *molecule->input_frame, contents, problems);
        for (std::size_t k = 0; k < molecule->blocks.size(); ++k)
            if (molecule->blocks[k].principal)
                take_listing(*molecule, static_cast<int>(k + 1), *molecule->blocks[k].principal,
                             contents, problems);
    }
    for (const Problem& problem : reader.take_problems())
        take_problem(problem, problems);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& problem : problems)
        contents.problems.push_back(std::move(problem.second));
    return contents;
}

} // namespace tessen::xyz
