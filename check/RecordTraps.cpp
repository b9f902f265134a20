// The traps of a single record of fixed layout: what the record's own text shows, apart
// from the molecule it belongs to.

#include "check/RecordTraps.hpp"

#include "check/FindingFormat.hpp"
#include "check/MassIdentity.hpp"
#include "report/ReportVocabulary.hpp"

#include <algorithm>
#include <array>

namespace tessen::check {

namespace {

// The fields of an atom record in layout order, as the messages name them.
enum AtomField { kI, kJ, kK, kL, kR, kA, kT, kM };
const std::array<std::string, 8> kAtomFieldNames = {"atom number I", "reference J", "reference K",
                                                    "reference L",   "bond length", "angle",
                                                    "dihedral",      "mass"};
const std::array<std::string, 3> kCountsFieldNames = {"columns 1-3", "atom count", "isotope flag"};

// How the first three atoms are placed, for a field they do not use.
const std::array<std::string, 3> kPlacement = {
    "the first atom is placed at the origin",
    "the second atom is placed on the x axis, at its bond length from the first",
    "the third atom is placed in the xy plane by its bond length and angle"};

// The fields that atom record `index` holds but does not use: every field but I and M of
// the first; J (unless it names the first atom), K, L, A and T of the second; L and T of the
// third. K of the third is the other atom of its angle, as a reader expects it.
std::vector<AtomField> unused_fields(std::int32_t index, std::int32_t j, std::int32_t first_atom) {
    switch (index) {
    case 1:
        return {kJ, kK, kL, kR, kA, kT};
    case 2:
        if (j == first_atom)
            return {kK, kL, kA, kT};
        return {kJ, kK, kL, kA, kT};
    case 3:
        return {kL, kT};
    default:
        return {};
    }
}

// Numbers that run on into the next real field (reported once, where the run begins) and
// numbers holding a blank.
template <std::size_t N>
void add_number_traps(const TypedRecord& typed, const std::array<std::string, N>& names,
                      std::vector<FieldTrap>& traps) {
    bool run_into = false;
    for (std::size_t k = 0; k < typed.fields.size() && k < N; ++k) {
        const TypedField& field = typed.fields[k];
        if (std::optional<FieldTrap> trap = blank_in_number(field, names[k]))
            traps.push_back(*trap);
        std::optional<FieldTrap> run_on;
        if (k + 1 < typed.fields.size() && field.real && typed.fields[k + 1].real)
            run_on = number_run_on(field, names[k], typed.fields[k + 1], names[k + 1]);
        if (run_on && !run_into)
            traps.push_back(*run_on);
        run_into = run_on.has_value();
    }
}

void sort_by_column(std::vector<FieldTrap>& traps) {
    std::stable_sort(traps.begin(), traps.end(),
                     [](const FieldTrap& a, const FieldTrap& b) { return a.column < b.column; });
}

} // namespace

std::vector<FieldTrap> atom_record_traps(std::string_view record, std::int32_t index,
                                         std::int32_t first_atom, bool mass_reported) {
    const TypedRecord typed = typed_record(report::kAtomRecord, record);
    std::vector<FieldTrap> traps;
    if (typed.fields.size() != kAtomFieldNames.size())
        return traps;
    add_number_traps(typed, kAtomFieldNames, traps);
    const auto j = static_cast<std::int32_t>(typed.fields[kJ].value);
    for (AtomField unused : unused_fields(index, j, first_atom)) {
        if (typed.fields[unused].value != 0.0)
            traps.push_back(unused_field(typed.fields[unused], kAtomFieldNames[unused],
                                         kPlacement[static_cast<std::size_t>(index - 1)]));
    }
    if (!mass_reported) {
        if (std::optional<std::string> unknown = unknown_mass(typed.fields[kM].value))
            traps.push_back({text_column(typed.fields[kM]), "unknown-mass", *unknown});
    }
    if (std::optional<FieldTrap> trap =
            text_past_end(record, typed.end, "where an atom record's fields end", &typed.fields[kM],
                          kAtomFieldNames[kM]))
        traps.push_back(*trap);
    sort_by_column(traps);
    return traps;
}

std::vector<FieldTrap> counts_record_traps(std::string_view record) {
    const TypedRecord typed =
        typed_record(report::kControlRecord, record, kCountsFieldNames.size());
    std::vector<FieldTrap> traps;
    add_number_traps(typed, kCountsFieldNames, traps);
    if (std::optional<FieldTrap> trap =
            text_past_end(record, typed.end, "where the counts record's fields end"))
        traps.push_back(*trap);
    return traps;
}

} // namespace tessen::check
