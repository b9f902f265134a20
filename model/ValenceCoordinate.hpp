#pragma once

#include "model/DeckMolecule.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace tessen::model {

// A valence coordinate of an atom record: its bond length R, bond angle A or dihedral T.
enum class CoordinateKind { length, angle, dihedral };

struct CoordinateRef {
    std::size_t record = 0; // the record's place in DeckMolecule::records, from 0
    CoordinateKind kind = CoordinateKind::length;
};

double coordinate_value(const std::vector<AtomRecord>& records, const CoordinateRef& ref);
void set_coordinate(std::vector<AtomRecord>& records, const CoordinateRef& ref, double value);

// Whether a record at this place (from 1) reads the coordinate: R from the second record
// on, A from the third, T from the fourth.
bool record_uses(int index, CoordinateKind kind);

// "A" for a length, "degrees" for an angle or a dihedral.
const char* coordinate_unit(CoordinateKind kind);

} // namespace tessen::model
