#pragma once

#include "geometry/AtomRecordObserver.hpp"
#include "geometry/AtomTable.hpp"
#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"

namespace tessen {

// Reads the n masses of an isotope mass set, six to a record, into the masses of rows 1
// to n, then writes the two blank lines and the heading that open the set. An observer, if
// given, is told of each mass as it is read.
void READMASSES(InputDeck& deck, RecordSink& report, AtomTable& atoms, std::int32_t n,
                AtomRecordObserver* observer = nullptr);

} // namespace tessen
