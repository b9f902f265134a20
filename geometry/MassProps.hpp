#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/Jacobi3.hpp"
#include "geometry/ListedFields.hpp"
#include "geometry/SparseCoordList.hpp"
#include "geometry/TitleSet.hpp"
#include "records/RecordSink.hpp"

namespace tessen {

// The values of one mass-properties block, recomputed by every call.
struct MassValues {
    float total_mass = 0;
    Triple centre{};
    CoordinateTable centred{};             // u(i, a) = x(i, a) - c(a)
    std::array<float, kMaxAtoms + 1> r2{}; // squared distance from the centre of mass
    Matrix3 tensor{};                      // the inertia tensor before diagonalisation
    Matrix3 moments{};                     // the tensor after JACOBI3: moments on the diagonal
    Matrix3 axes{};                        // V: column k is principal axis k
    CoordinateTable principal{};           // p(i, k)
    ListedFields listed;                   // p as the block's listing edited it
};

// Computes the whole mass-properties block for rows 1 to n with the masses in hand,
// ending the run with a floating-point diagnostic before anything is written when a value
// is undefined (a total mass of zero: divide by zero).
void compute_mass_block(const AtomTable& atoms, std::int32_t n, MassValues& block);

// Computes and writes the mass-properties block under the third title, and leaves the
// screened principal coordinates' list as the current sparse list.
void MASSPROPS(RecordSink& report, const AtomTable& atoms, const TitleSet& titles, std::int32_t n,
               MassValues& block, SparseCoordList& list);

} // namespace tessen
