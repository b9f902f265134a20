#pragma once

#include "geometry/AtomTable.hpp"
#include "records/ReportPipeline.hpp"

namespace tessen {

// Writes the interatomic distance check section for rows 1 to n: one block per atom,
// its "ATOM" line and its distances to atoms 1 to n, eight to a line.
void DISTCHECK(ReportPipeline& report, const AtomTable& atoms, std::int32_t n);

// The distance between two rows, summed and rooted in double precision and stored once.
float distance(const Triple& from, const Triple& to);

} // namespace tessen
