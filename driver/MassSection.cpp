#include "driver/MassSection.hpp"

#include "geometry/MassProps.hpp"
#include "records/Diagnostic.hpp"

#include <algorithm>
#include <memory>

namespace tessen {

namespace {

// What a block is computed from: the molecule's rows, its titles, and the deck line to
// name in a fault. Large (a whole atom table), so the pipeline keeps it for the next
// block rather than one being made and freed for each.
struct MassSection : ReportJob {
    AtomTable atoms;
    TitleSet titles;
    std::int32_t n = 0;
    std::size_t deck_line = 0;

    void write(RecordSink& out) override {
        // Per thread: the block's values and its list are large and rewritten by every
        // block.
        thread_local auto values = std::make_unique<MassValues>();
        thread_local auto list = std::make_unique<SparseCoordList>();
        try {
            MASSPROPS(out, atoms, titles, n, *values, *list);
        } catch (RunError& error) {
            if (is_record_fault(error.kind()))
                error.locate(deck_line);
            throw;
        }
    }
};

// About how many records the block of n atoms writes: its fixed lines, the listing and
// the compact list.
std::size_t mass_block_records(std::int32_t n) {
    constexpr std::size_t kFixedLines = 28;
    const auto atoms = static_cast<std::size_t>(n < 0 ? 0 : n);
    return kFixedLines + atoms + (3 * atoms + 1 + 3) / 4; // a listing line, 4 slots a line
}

} // namespace

void submit_mass_block(ReportPipeline& report, const AtomTable& atoms, const TitleSet& titles,
                       std::int32_t n, std::size_t deck_line) {
    MassSection& section = report.take_job<MassSection>(mass_block_records(n), sizeof(MassSection));
    // Rows 1 to n are the molecule in hand; a count outside 0..500 never reaches here.
    const auto rows = static_cast<std::size_t>(n < 0 ? 0 : n) + 1;
    std::copy_n(atoms.pos.begin(), rows, section.atoms.pos.begin());
    std::copy_n(atoms.mass.begin(), rows, section.atoms.mass.begin());
    section.titles = titles;
    section.n = n;
    section.deck_line = deck_line;
    report.submit(section);
}

} // namespace tessen
