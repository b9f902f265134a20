#pragma once

#include "fit/VaryList.hpp"
#include "model/DeckMolecule.hpp"
#include "model/ValenceCoordinate.hpp"

#include <string>
#include <vector>

namespace tessen::fit {

// One coordinate of an atom record that a fitted value sets, with the sign it takes.
struct TiedCoordinate {
    model::CoordinateRef ref;
    int sign = 1;
};

// A fitted structural parameter: a group of the --vary list on the atom records.
struct StructureParameter {
    std::string name;              // its first name, "r4"
    std::vector<std::string> tied; // the others as written: "r5", "-d6"
    model::CoordinateKind kind = model::CoordinateKind::length;
    std::vector<TiedCoordinate> members; // the first one's value is the parameter's
};

// The --vary groups on the molecule's atom records: rK, aK and dK are R, A and T of the
// record whose atom number is K. A name whose atom no record places, a coordinate that its
// record does not use (r1, a2, d3) and an angle given as 0 (the tetrahedral default)
// raise CommandError (status 2).
std::vector<StructureParameter> map_parameters(const std::vector<ParameterGroup>& groups,
                                               const model::DeckMolecule& molecule);

// The parameters' values as the deck gives them (each group's first member).
std::vector<double> start_values(const std::vector<StructureParameter>& parameters,
                                 const model::DeckMolecule& molecule);

// The atom records with the parameters' values put in (each member with its sign).
std::vector<model::AtomRecord> records_with(const std::vector<StructureParameter>& parameters,
                                            const std::vector<double>& values,
                                            std::vector<model::AtomRecord> records);

// Every coordinate the parameters set, in order (the construction's derivatives).
std::vector<model::CoordinateRef> coordinates_of(const std::vector<StructureParameter>& parameters);

} // namespace tessen::fit
