#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessen::xyz {

// One atom of a coordinate listing: its three coordinates and its mass. The mass is
// absent where the report shows asterisks (a value too wide for its field).
struct ListedAtom {
    float x = 0;
    float y = 0;
    float z = 0;
    std::optional<float> mass;
};

// Whether the report line is the listing line of atom number row: the layout
// "(4X,I3,3X,3F12.6,F13.6)" fills exactly 59 columns, with the number in columns 5-7.
bool is_listing_line(std::string_view line, std::int32_t row);

// Reads a listing line by its layout; nothing when a coordinate field cannot be read as a
// number (asterisks: the value was too wide for its field).
std::optional<ListedAtom> read_listing_line(std::string_view line);

} // namespace tessen::xyz
