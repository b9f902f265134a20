#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/TitleSet.hpp"
#include "records/ReportPipeline.hpp"

#include <cstddef>
#include <cstdint>

namespace tessen {

// Submits a mass-properties block as a job of the report: the molecule's rows 1 to n and
// its titles are copied, so that the block may be computed and written on another thread
// while the deck is read on. A floating-point fault of the block names deck_line, the
// deck line read last when the block was submitted, as it would when raised at once.
void submit_mass_block(ReportPipeline& report, const AtomTable& atoms, const TitleSet& titles,
                       std::int32_t n, std::size_t deck_line);

} // namespace tessen
