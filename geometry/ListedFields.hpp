#pragma once

#include "geometry/AtomTable.hpp"
#include "records/LayoutWriter.hpp"

#include <array>
#include <bit>
#include <cstdint>

namespace tessen {

// The coordinate fields of a listing as LISTXYZ edited them (F12.6), kept by whoever
// wrote the listing for the compact list that follows it: that list shows the same values
// in the same fields and copies them rather than editing them again.
struct ListedFields {
    static constexpr int kWidth = 12;
    static constexpr int kDecimals = 6;

    std::int32_t rows = 0; // rows 1 to rows hold the listing's fields
    std::array<std::array<std::uint32_t, 3>, kMaxAtoms + 1> bits{};
    std::array<std::array<EditedField, 3>, kMaxAtoms + 1> fields{};

    // The field of row and axis (1, 2, 3), or null unless the listing had that row and
    // showed there a value with the very bits of value.
    const EditedField* find(std::int32_t row, std::int32_t axis, float value) const {
        if (row < 1 || row > rows || axis < 1 || axis > 3 ||
            bits[row][axis - 1] != std::bit_cast<std::uint32_t>(value))
            return nullptr;
        return &fields[row][axis - 1];
    }
};

} // namespace tessen
