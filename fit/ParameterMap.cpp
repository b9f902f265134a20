#include "fit/ParameterMap.hpp"

#include "companion/CommandError.hpp"

#include <optional>

namespace tessen::fit {

namespace {

using companion::CommandError;
using model::CoordinateKind;

CoordinateKind coordinate_kind(Kind kind) {
    switch (kind) {
    case Kind::length:
        return CoordinateKind::length;
    case Kind::angle:
        return CoordinateKind::angle;
    case Kind::dihedral:
        break;
    }
    return CoordinateKind::dihedral;
}

// The last record that places atom K (the one its position comes from).
std::size_t record_of(const Member& member, const model::DeckMolecule& molecule) {
    std::optional<std::size_t> found;
    for (std::size_t r = 0; r < molecule.records.size(); ++r)
        if (molecule.records[r].i == member.atom)
            found = r;
    if (!found)
        throw CommandError(2, "unknown parameter '" + member_name(member) +
                                  "': no atom record of atom " + std::to_string(member.atom));
    return *found;
}

TiedCoordinate tied_coordinate(const Member& member, const model::DeckMolecule& molecule) {
    const std::size_t r = record_of(member, molecule);
    const model::AtomRecord& rec = molecule.records[r];
    const CoordinateKind kind = coordinate_kind(member.kind);
    if (!model::record_uses(rec.index, kind))
        throw CommandError(2, "parameter '" + member_name(member) + "': atom record " +
                                  std::to_string(rec.index) + " (line " + std::to_string(rec.line) +
                                  ") does not use it");
    if (kind == CoordinateKind::angle && rec.a == 0.0)
        throw CommandError(2, "parameter '" + member_name(member) +
                                  "': the angle is given as 0, the tetrahedral default (give "
                                  "its value to vary it)");
    return {{r, kind}, member.sign < 0 ? -1 : 1};
}

} // namespace

std::vector<StructureParameter> map_parameters(const std::vector<ParameterGroup>& groups,
                                               const model::DeckMolecule& molecule) {
    std::vector<StructureParameter> parameters;
    for (const ParameterGroup& group : groups) {
        StructureParameter p;
        p.name = group.name;
        p.kind = coordinate_kind(group.members.front().kind);
        for (std::size_t m = 0; m < group.members.size(); ++m) {
            p.members.push_back(tied_coordinate(group.members[m], molecule));
            if (m != 0)
                p.tied.push_back(member_name(group.members[m]));
        }
        parameters.push_back(std::move(p));
    }
    return parameters;
}

std::vector<double> start_values(const std::vector<StructureParameter>& parameters,
                                 const model::DeckMolecule& molecule) {
    std::vector<double> values;
    for (const StructureParameter& p : parameters) {
        const TiedCoordinate& first = p.members.front();
        values.push_back(first.sign * model::coordinate_value(molecule.records, first.ref));
    }
    return values;
}

std::vector<model::AtomRecord> records_with(const std::vector<StructureParameter>& parameters,
                                            const std::vector<double>& values,
                                            std::vector<model::AtomRecord> records) {
    for (std::size_t k = 0; k < parameters.size(); ++k)
        for (const TiedCoordinate& member : parameters[k].members)
            model::set_coordinate(records, member.ref, member.sign * values[k]);
    return records;
}

std::vector<model::CoordinateRef>
coordinates_of(const std::vector<StructureParameter>& parameters) {
    std::vector<model::CoordinateRef> refs;
    for (const StructureParameter& p : parameters)
        for (const TiedCoordinate& member : p.members)
            refs.push_back(member.ref);
    return refs;
}

} // namespace tessen::fit
