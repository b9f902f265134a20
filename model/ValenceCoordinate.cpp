#include "model/ValenceCoordinate.hpp"

namespace tessen::model {

namespace {

// R, A or T of a record (const or not).
template <typename Record> auto& field(Record& rec, CoordinateKind kind) {
    switch (kind) {
    case CoordinateKind::length:
        return rec.r;
    case CoordinateKind::angle:
        return rec.a;
    case CoordinateKind::dihedral:
        break;
    }
    return rec.t;
}

} // namespace

double coordinate_value(const std::vector<AtomRecord>& records, const CoordinateRef& ref) {
    return field(records.at(ref.record), ref.kind);
}

void set_coordinate(std::vector<AtomRecord>& records, const CoordinateRef& ref, double value) {
    field(records.at(ref.record), ref.kind) = value;
}

bool record_uses(int index, CoordinateKind kind) {
    switch (kind) {
    case CoordinateKind::length:
        return index >= 2;
    case CoordinateKind::angle:
        return index >= 3;
    case CoordinateKind::dihedral:
        break;
    }
    return index >= 4;
}

const char* coordinate_unit(CoordinateKind kind) {
    return kind == CoordinateKind::length ? "A" : "degrees";
}

} // namespace tessen::model
