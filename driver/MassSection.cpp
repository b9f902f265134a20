#include "driver/MassSection.hpp"

#include "geometry/MassProps.hpp"
#include "records/Diagnostic.hpp"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace tessen {

namespace {

// What a block is computed from: the molecule's rows, its titles, and the deck line to
// name in a fault. The source of a report section.
struct MassSection {
    AtomTable atoms;
    TitleSet titles;
    std::int32_t n = 0;
    std::size_t deck_line = 0;

    void write(RecordSink& out) const {
        // Per thread: the block and its list are large and rewritten by every block.
        thread_local auto block = std::make_unique<MassBlock>();
        thread_local auto list = std::make_unique<SparseCoordList>();
        try {
            MASSPROPS(out, atoms, titles, n, *block, *list);
        } catch (RunError& error) {
            if (is_record_fault(error.kind()))
                error.locate(deck_line);
            throw;
        }
    }
    void give_back();
};

// Sections going round between the thread that reads the deck, which takes one for each
// block, and the thread that writes it, which gives it back: a section is large, and one
// made for every block would be allocated in one thread and freed in the other, which
// costs more than the block's copy. A section comes back once written, or dropped
// unwritten (RecordSink::Section gives its source back either way).
class MassSectionPool {
  public:
    MassSection* take() {
        std::lock_guard lock(mutex_);
        if (free_.empty()) {
            made_.push_back(std::make_unique<MassSection>());
            return made_.back().get();
        }
        MassSection* section = free_.back();
        free_.pop_back();
        return section;
    }
    void give_back(MassSection* section) {
        std::lock_guard lock(mutex_);
        free_.push_back(section);
    }

  private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<MassSection>> made_;
    std::vector<MassSection*> free_;
};

MassSectionPool& mass_sections() {
    static MassSectionPool pool;
    return pool;
}

void MassSection::give_back() {
    mass_sections().give_back(this);
}

} // namespace

std::size_t mass_block_records(std::int32_t n) {
    constexpr std::size_t kFixedLines = 28;
    const auto atoms = static_cast<std::size_t>(n < 0 ? 0 : n);
    return kFixedLines + atoms + (3 * atoms + 1 + 3) / 4; // a listing line, 4 slots a line
}

RecordSink::Section mass_block_section(const AtomTable& atoms, const TitleSet& titles,
                                       std::int32_t n, std::size_t deck_line) {
    MassSection* section = mass_sections().take();
    // Rows 1 to n are the molecule in hand; a count outside 0..500 never reaches here.
    const auto rows = static_cast<std::size_t>(n < 0 ? 0 : n) + 1;
    std::copy_n(atoms.pos.begin(), rows, section->atoms.pos.begin());
    std::copy_n(atoms.mass.begin(), rows, section->atoms.mass.begin());
    section->titles = titles;
    section->n = n;
    section->deck_line = deck_line;
    return RecordSink::Section(section);
}

} // namespace tessen
