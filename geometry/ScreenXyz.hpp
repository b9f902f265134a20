#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/SparseCoordList.hpp"
#include "records/RecordSink.hpp"

namespace tessen {

// Coordinates of magnitude below this are negligible (single precision: 4.99999987e-06).
constexpr float kScreenThreshold = 5e-06f;

// Sets every coordinate of rows 1 to n below the threshold to +0.0 in the table and
// rebuilds the list from the others, atom by atom, x, y, z, with the sentinel last.
void SCREENXYZ(CoordinateTable& coords, std::int32_t n, SparseCoordList& list);

// Writes every entry of the list, sentinel included, four (axis, atom, value) slots to
// a line.
void LISTSPARSE(RecordSink& report, const SparseCoordList& list);

} // namespace tessen
