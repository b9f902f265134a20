#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/TitleSet.hpp"
#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"

#include <cstdint>

namespace tessen {

// One atom record: the atom I, its reference atoms J, K, L, the bond length R, the bond
// angle A and the dihedral T in degrees, and the mass M.
struct ValenceRecord {
    std::int32_t i = 0, j = 0, k = 0, l = 0;
    float r = 0, a = 0, t = 0, m = 0;
};

// Reads, echoes and places the atom records of one molecule (three records whatever n
// is, n records when n is 3 or more) and, when n is 3 or more, writes the input axis
// frame section. Returns whether the molecule goes on (n of 3 or more).
bool BUILDXYZ(InputDeck& deck, RecordSink& report, AtomTable& atoms, const TitleSet& titles,
              std::int32_t n);

// Places atom record number `index` (1, 2, 3, or 4 and up) in the table.
void place_atom(std::int32_t index, const ValenceRecord& rec, AtomTable& atoms);

} // namespace tessen
