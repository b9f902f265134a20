#pragma once

#include "geometry/AtomTable.hpp"
#include "records/LayoutWriter.hpp"
#include "records/RecordSink.hpp"

#include <optional>

namespace tessen {

// Writes the column header line and one line per row 1 to n: the row number, the three
// coordinates of the given table and the row's mass from the atom table.
void LISTXYZ(RecordSink& report, const CoordinateTable& coords, const AtomTable& atoms,
             std::int32_t n);

// A coordinate as the last listing of this thread showed it: the compact list that
// follows a listing shows the same values in the same fields, and copies them rather
// than editing them again. None unless that listing had this row and axis (1, 2, 3) and
// showed there a value with the very bits of value. The field is Fw.d with w and d
// kListedWidth and kListedDecimals.
std::optional<EditedField> listed_coordinate(std::int32_t row, std::int32_t axis, float value);
inline constexpr int kListedWidth = 12;
inline constexpr int kListedDecimals = 6;

} // namespace tessen
