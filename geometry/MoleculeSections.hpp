#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/ListedFields.hpp"
#include "geometry/SparseCoordList.hpp"
#include "geometry/TitleSet.hpp"
#include "records/RecordSink.hpp"
#include "records/ReportPipeline.hpp"

#include <cstdint>

namespace tessen {

// The sections that frame a molecule's report, around the ones that BUILDXYZ, DISTCHECK
// and MASSPROPS write.

// The molecule header: " PROGRAM TESSEN", titles 1 and 2, a blank line and the heading
// over the atom records.
void write_molecule_header(RecordSink& report, const TitleSet& titles);

// The listings of the input axis frame, once the molecule is built: SCREENXYZ on the atom
// table, the sparse listing section (copying the fields that BUILDXYZ's listing left in
// listed), and the distance check.
void write_input_frame_listings(ReportPipeline& report, AtomTable& atoms, std::int32_t n,
                                const ListedFields& listed, SparseCoordList& sparse);

// The trailer that ends a molecule (and a mass set begun by a control record): four blank
// lines.
void write_trailer(RecordSink& report);

} // namespace tessen
