#pragma once

#include "geometry/AtomTable.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tessen {

// One (axis, atom, value) entry: axis 1, 2, 3 for x, y, z.
struct SparseEntry {
    std::int32_t axis;
    std::int32_t atom;
    float value;
};

// The coordinates that survived the last screening, atom by atom and within an atom x,
// y, z, always ended by the sentinel (-1, 0, 0.0), which the count includes.
struct SparseCoordList {
    static constexpr std::size_t kCapacity = 3 * kMaxAtoms + 1;
    std::array<SparseEntry, kCapacity> entries{};
    std::size_t count = 0;
};

} // namespace tessen
