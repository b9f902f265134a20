#pragma once

#include "geometry/AtomTable.hpp"
#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"

namespace tessen {

// Reads the n masses of an isotope mass set, six to a record, into the masses of rows 1
// to n, then writes the two blank lines and the heading that open the set.
void READMASSES(InputDeck& deck, RecordSink& report, AtomTable& atoms, std::int32_t n);

} // namespace tessen
