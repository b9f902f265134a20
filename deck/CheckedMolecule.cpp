#include "deck/CheckedMolecule.hpp"

#include "companion/CommandError.hpp"
#include "companion/CompanionCommand.hpp"
#include "driver/JobLoop.hpp"
#include "geometry/AtomTable.hpp"
#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "records/InputDeck.hpp"

#include <cmath>
#include <cstdio>
#include <span>

namespace tessen::deck {

namespace {

[[noreturn]] void refuse(const std::string& why) {
    throw companion::CommandError(companion::kExitFailed, why);
}

constexpr const char* kAxisNames[] = {"x", "y", "z"};

std::string atom_name(int atom) {
    return "atom " + std::to_string(atom);
}

// A length as the messages show it: six decimals, or an exponent for a huge one.
std::string length_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, std::fabs(value) < 1e9 ? "%.6f" : "%.6g", value);
    return text;
}

void refuse_too_many(int atoms, const char* which) {
    if (atoms > kMaxAtoms)
        refuse(std::to_string(atoms) + " atoms" + which + ", more than a deck holds (" +
               std::to_string(kMaxAtoms) + ")");
}

} // namespace

void refuse_unplaceable(const Structure& structure) {
    if (structure.atoms.empty())
        refuse("no atoms");
    refuse_too_many(static_cast<int>(structure.atoms.size()), "");
    const double farthest = kMaxAtoms * kWidestField; // a chain of the longest bonds
    for (std::size_t a = 0; a < structure.atoms.size(); ++a) {
        const Vec3& p = structure.atoms[a].position;
        const Vec3& first = structure.atoms.front().position;
        for (int axis = 0; axis < 3; ++axis) {
            const std::string where = atom_name(static_cast<int>(a) + 1) + ": its " +
                                      kAxisNames[axis] + " coordinate is ";
            if (!std::isfinite(p[axis]))
                refuse(where + length_text(p[axis]) + ", not a finite number");
            if (std::fabs(p[axis] - first[axis]) >= farthest)
                refuse(where + length_text(p[axis]) + ", farther from atom 1 than a deck reaches");
        }
    }
}

namespace {

// Every record places its atom at a distance that its field shows (neither 0.000000 nor
// asterisks), and every mass fits its field.
void refuse_unwritable(const DeckMolecule& m) {
    refuse_too_many(m.coordinates.real_atoms + m.coordinates.dummy_atoms, " with the dummy atoms");
    const std::vector<AtomRecord>& records = m.coordinates.records;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const AtomRecord& record = records[r];
        if (!(record.r >= kSamePlace && std::isfinite(record.a) && std::isfinite(record.t)))
            refuse(atom_name(record.i) + " stands where " + atom_name(record.j) + " stands");
        if (record.r >= kWidestField)
            refuse(atom_name(record.i) + " lies " + length_text(record.r) + " from " +
                   atom_name(record.j) + ", more than a deck field holds");
    }
    for (std::size_t a = 0; a < m.masses.size(); ++a)
        if (!(std::fabs(m.masses[a]) < kWidestField))
            refuse(atom_name(static_cast<int>(a) + 1) + " has a mass that no deck field holds");
}

// The report of a trial run: every record thrown away.
class DiscardedReport : public RecordSink {
  public:
    void put_record(std::string_view /*record*/, bool /*hold*/) override {}
};

} // namespace

std::optional<std::string> tessen_stop(const std::string& deck_text) {
    MemorySource source(deck_text);
    InputDeck deck(source, "DECK");
    DiscardedReport report;
    try {
        run_job_loop(deck, report);
    } catch (const RunError& error) {
        return error.what();
    }
    return std::nullopt;
}

DeckMolecule checked_deck_molecule(const Structure& structure, const std::string& file,
                                   std::vector<IsotopeSet> isotope_sets) {
    refuse_unplaceable(structure);
    DeckMolecule m = deck_molecule(structure, file, std::move(isotope_sets));
    refuse_unwritable(m);
    if (std::optional<std::string> stop = tessen_stop(deck_text(std::span(&m, 1))))
        refuse("tessen would stop on it: " + *stop);
    return m;
}

} // namespace tessen::deck
