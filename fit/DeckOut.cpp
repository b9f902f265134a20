#include "fit/DeckOut.hpp"

#include "companion/CommandError.hpp"

#include <cstdio>
#include <map>
#include <set>

namespace tessen::fit {

namespace {

constexpr std::size_t kFieldWidth = 12;
constexpr std::size_t kFirstReal = 12; // R begins in column 13
constexpr std::size_t kLastVaried = kFirstReal + 3 * kFieldWidth;

std::string real_field(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%12.6f", value);
    if (std::string(text).size() != kFieldWidth)
        throw companion::CommandError(1, "the fitted value " + std::string(text) +
                                             " does not fit the deck's 12 columns");
    return text;
}

double value_of(const model::AtomRecord& rec, model::CoordinateKind kind) {
    return model::coordinate_value({rec}, {0, kind});
}

// A value read from the deck, again in 12 columns with as many decimals as fit behind a
// blank (at least six), so that rewriting its record loses none of the digits typed and
// no number runs into the one before it.
std::string kept_field(double value) {
    for (int decimals = 10; decimals > 6; --decimals) {
        char text[64];
        std::snprintf(text, sizeof text, "%12.*f", decimals, value);
        if (text[0] == ' ' && std::string(text).size() == kFieldWidth)
            return text;
    }
    return real_field(value);
}

// The whole record in the atom record's layout (4I3, 4F12): the varied fields with six
// decimals, the others with the digits they had.
std::string whole_record(const model::AtomRecord& rec,
                         const std::set<model::CoordinateKind>& kinds) {
    char numbers[16];
    std::snprintf(numbers, sizeof numbers, "%3d%3d%3d%3d", rec.i, rec.j, rec.k, rec.l);
    std::string text = numbers;
    for (model::CoordinateKind kind : {model::CoordinateKind::length, model::CoordinateKind::angle,
                                       model::CoordinateKind::dihedral}) {
        const double value = value_of(rec, kind);
        text += kinds.count(kind) ? real_field(value) : kept_field(value);
    }
    return text + kept_field(rec.m);
}

// The record's text (up to a carriage return) with its varied fields replaced.
std::string edited_record(std::string text, const model::AtomRecord& rec,
                          const std::set<model::CoordinateKind>& kinds) {
    if (text.substr(0, kLastVaried).find_first_of(",\t") != std::string::npos)
        return whole_record(rec, kinds);
    if (text.size() < kLastVaried)
        text.resize(kLastVaried, ' ');
    for (model::CoordinateKind kind : kinds)
        text.replace(kFirstReal + kFieldWidth * static_cast<std::size_t>(kind), kFieldWidth,
                     real_field(value_of(rec, kind)));
    return text;
}

} // namespace

std::string deck_with_values(const std::string& deck, const model::DeckMolecule& molecule,
                             const std::vector<StructureParameter>& parameters,
                             const std::vector<model::AtomRecord>& fitted) {
    std::map<std::size_t, std::pair<std::size_t, std::set<model::CoordinateKind>>> by_line;
    for (const StructureParameter& p : parameters)
        for (const TiedCoordinate& member : p.members) {
            auto& entry = by_line[molecule.records[member.ref.record].line];
            entry.first = member.ref.record;
            entry.second.insert(member.ref.kind);
        }
    std::string out;
    std::size_t line = 0, start = 0;
    while (start < deck.size()) {
        std::size_t end = deck.find('\n', start);
        end = end == std::string::npos ? deck.size() : end + 1;
        const std::string whole = deck.substr(start, end - start);
        start = end;
        const auto found = by_line.find(++line);
        if (found == by_line.end()) {
            out += whole;
            continue;
        }
        const std::size_t stop = whole.find_first_of("\r\n");
        const std::string text = whole.substr(0, stop);
        const std::string ending = stop == std::string::npos ? "" : whole.substr(stop);
        out += edited_record(text, fitted[found->second.first], found->second.second) + ending;
    }
    return out;
}

} // namespace tessen::fit
