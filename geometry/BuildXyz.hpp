#pragma once

#include "geometry/AtomRecordObserver.hpp"
#include "geometry/AtomTable.hpp"
#include "geometry/ListedFields.hpp"
#include "geometry/TitleSet.hpp"
#include "geometry/ValenceRecord.hpp"
#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"

#include <cstdint>

namespace tessen {

// Reads, echoes and places the atom records of one molecule (three records whatever n
// is, n records when n is 3 or more) and, when n is 3 or more, writes the input axis
// frame section, whose coordinate fields it leaves in listed. Returns whether the molecule
// goes on (n of 3 or more). An observer, if given, is told of each record as it is read
// and placed.
bool BUILDXYZ(InputDeck& deck, RecordSink& report, AtomTable& atoms, const TitleSet& titles,
              std::int32_t n, ListedFields& listed, AtomRecordObserver* observer = nullptr);

// Places atom record number `index` (1, 2, 3, or 4 and up) in the table.
void place_atom(std::int32_t index, const ValenceRecord& rec, AtomTable& atoms);

} // namespace tessen
