#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/ListedFields.hpp"
#include "records/RecordSink.hpp"

namespace tessen {

// Writes the column header line and one line per row 1 to n: the row number, the three
// coordinates of the given table and the row's mass from the atom table. The coordinate
// fields are left in listed, for the compact list written after the listing.
void LISTXYZ(RecordSink& report, const CoordinateTable& coords, const AtomTable& atoms,
             std::int32_t n, ListedFields& listed);

} // namespace tessen
