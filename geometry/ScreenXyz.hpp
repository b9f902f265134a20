#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/ListedFields.hpp"
#include "geometry/SparseCoordList.hpp"
#include "records/RecordSink.hpp"

#include <optional>
#include <string_view>

namespace tessen {

// Coordinates of magnitude below this are negligible (single precision: 4.99999987e-06).
constexpr float kScreenThreshold = 5e-06f;

// Sets every coordinate of rows 1 to n below the threshold to +0.0 in the table and
// rebuilds the list from the others, atom by atom, x, y, z, with the sentinel last.
void SCREENXYZ(CoordinateTable& coords, std::int32_t n, SparseCoordList& list);

// Writes every entry of the list, sentinel included, four (axis, atom, value) slots to
// a line; a value that the listing before showed in the same place is copied from its
// fields.
void LISTSPARSE(RecordSink& report, const SparseCoordList& list, const ListedFields& listed);

// A sparse listing section: a blank line, the heading, "IN FORMAT FOR INPUT TO KOFT", the
// note, the title when one is given (the principal-axis frame has one, the input axis
// frame none), then the list by LISTSPARSE.
void write_sparse_section(RecordSink& report, std::string_view heading, std::string_view note,
                          std::optional<std::string_view> title, const SparseCoordList& list,
                          const ListedFields& listed);

} // namespace tessen
