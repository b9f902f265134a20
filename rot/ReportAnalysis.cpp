#include "rot/ReportAnalysis.hpp"

#include "companion/CompanionCommand.hpp"
#include "report/AxisOrder.hpp"
#include "report/PrintedDigits.hpp"
#include "report/ReportReader.hpp"
#include "report/ReportVocabulary.hpp"
#include "rot/Kraitchman.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace tessen::rot {

namespace {

using companion::CommandError;
using companion::kExitOk;

// tessen's moments are the eigenvalues of a single-precision tensor: good to a few units of
// the last bit of its norm (Ic), which can exceed the printed digits' half unit (the Ia of
// a linear molecule prints as .000003 beside an Ic of 85). Two units of 2^-24, times Ic.
constexpr double kSingleRounding = 0x1p-23;

// A printed number with half a unit of its last digit.
Value printed(const report::Shown& shown, const Layout& layout) {
    if (!shown)
        return std::nullopt;
    return Quantity{*shown, report::half_unit(*shown, layout)};
}

// The principal coordinates of every atom relabelled: a is the column of Ia, and so on.
void relabel_coordinates(const report::MassBlock& block, Isotopologue& s) {
    if (!block.principal)
        return;
    for (const report::ListingRow& row : block.principal->rows) {
        const std::array<report::Shown, 3> xyz = {row.x, row.y, row.z};
        Axes abc;
        for (std::size_t k = 0; k < 3; ++k)
            abc[k] = printed(xyz[static_cast<std::size_t>(s.columns[k] - 1)], report::kListingRow);
        s.coordinates.push_back(abc);
    }
}

// A warning, and what tells it apart from others of its kind: the same key in several
// blocks of one molecule makes one warning with a count.
struct Warning {
    std::size_t line = 0;
    std::string key; // empty: never merged
    std::string text;
};

// The warnings in line order, each repeated one given once with the count of the others.
std::vector<CommandError> merged(std::vector<Warning> warnings, const std::string& name) {
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const Warning& x, const Warning& y) { return x.line < y.line; });
    std::map<std::string, std::size_t> repeats;
    for (const Warning& w : warnings)
        if (!w.key.empty())
            ++repeats[w.key];
    std::vector<CommandError> out;
    for (const Warning& w : warnings) {
        if (w.key.empty()) {
            out.emplace_back(kExitOk, w.text, name, w.line);
            continue;
        }
        const auto found = repeats.find(w.key);
        if (found->second == 0)
            continue; // told with the first
        std::string text = w.text;
        if (found->second > 1)
            text += " (and so in " + std::to_string(found->second - 1) +
                    " more blocks of the molecule)";
        found->second = 0;
        out.emplace_back(kExitOk, text, name, w.line);
    }
    return out;
}

MoleculeAnalysis analyse_molecule(const report::Molecule& molecule, const std::string& name,
                                  Analysis& analysis, std::vector<Warning>& warnings) {
    MoleculeAnalysis m{name, false, molecule.number, molecule.title1, molecule.title2, {}};
    for (const report::MassBlock& block : molecule.blocks) {
        Isotopologue species = analyse_block(block);
        if (has_moments(species))
            ++analysis.with_moments;
        else
            warnings.push_back(
                {block.line, "asterisks " + std::to_string(molecule.number),
                 "molecule " + std::to_string(molecule.number) + ", block " +
                     std::to_string(m.isotopologues.size() + 1) + " (" + block.title +
                     "): the principal moments are not all printed (asterisks); its values "
                     "are null"});
        m.isotopologues.push_back(std::move(species));
        ++analysis.isotopologues;
    }
    substitute_against_parent(m.isotopologues);
    return m;
}

// A problem of the reader; those of the blocks of one molecule merge by kind.
Warning warning_of(const report::Problem& problem) {
    std::string key;
    if (problem.block > 0)
        key = "problem " + std::to_string(static_cast<int>(problem.kind)) + " " +
              std::to_string(problem.molecule);
    return {problem.line, key, problem.text};
}

} // namespace

Isotopologue analyse_block(const report::MassBlock& block) {
    Isotopologue s;
    s.title = block.title;
    s.total_mass = printed(block.total_mass, report::kTotalMass);
    if (block.principal)
        for (const report::ListingRow& row : block.principal->rows)
            s.masses.push_back(printed(row.mass, report::kListingRow));
    const std::optional<std::array<int, 3>> order = report::axis_order(block.principal_moments);
    if (!order)
        return s;
    const double ic = *block.principal_moments[static_cast<std::size_t>((*order)[2])];
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t column = static_cast<std::size_t>((*order)[k]);
        Quantity moment = *printed(block.principal_moments[column], report::kMomentsRow);
        moment.value = std::max(moment.value, 0.0); // below 0 only by rounding
        moment.sigma = std::hypot(moment.sigma, kSingleRounding * ic);
        s.moments[k] = moment;
        s.spread[k] = moment.sigma;
        s.columns[k] = (*order)[k] + 1;
    }
    relabel_coordinates(block, s);
    derive_from_moments(s);
    return s;
}

Analysis analyse_report(ByteSource& source, const std::string& name) {
    Analysis analysis;
    std::vector<Warning> warnings;
    report::ReportReader reader(source, name);
    while (std::optional<report::Molecule> molecule = reader.next_molecule())
        analysis.molecules.push_back(analyse_molecule(*molecule, name, analysis, warnings));
    for (const report::Problem& problem : reader.take_problems())
        warnings.push_back(warning_of(problem));
    analysis.warnings = merged(std::move(warnings), name);
    return analysis;
}

} // namespace tessen::rot
