#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/TitleSet.hpp"
#include "records/RecordSink.hpp"

#include <cstddef>
#include <cstdint>

namespace tessen {

// A mass-properties block as a section of the report (RecordSink::write_section): the
// molecule's rows 1 to n and its titles are copied, so that the block may be computed and
// written on another thread while the deck is read on. A floating-point fault of the
// block names the deck line that was the last one read when the block was handed over,
// as it would when raised at once.
RecordSink::Section mass_block_section(const AtomTable& atoms, const TitleSet& titles,
                                       std::int32_t n, std::size_t deck_line);

// About how many records the block of n atoms writes: its fixed lines, the listing and
// the compact list.
std::size_t mass_block_records(std::int32_t n);

} // namespace tessen
