#pragma once

#include <cstdint>

namespace tessen {

// One atom record: the atom I, its reference atoms J, K, L, the bond length R, the bond
// angle A and the dihedral T in degrees, and the mass M.
struct ValenceRecord {
    std::int32_t i = 0, j = 0, k = 0, l = 0;
    float r = 0, a = 0, t = 0, m = 0;
};

} // namespace tessen
