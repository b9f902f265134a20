#include "driver/MassSection.hpp"

#include "geometry/MassProps.hpp"
#include "records/Diagnostic.hpp"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace tessen {

namespace {

// Atom tables going round between the sections in flight: a table is large, and a
// section needs one each, so they are kept for reuse rather than allocated and cleared
// for every block. Taken by the thread that reads the deck, given back by the one that
// writes the section.
class AtomTablePool {
  public:
    std::unique_ptr<AtomTable> take() {
        std::lock_guard lock(mutex_);
        if (free_.empty())
            return std::make_unique<AtomTable>();
        std::unique_ptr<AtomTable> table = std::move(free_.back());
        free_.pop_back();
        return table;
    }
    void give_back(std::unique_ptr<AtomTable> table) {
        std::lock_guard lock(mutex_);
        free_.push_back(std::move(table));
    }

  private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<AtomTable>> free_;
};

AtomTablePool& atom_tables() {
    static AtomTablePool pool;
    return pool;
}

// What a block is computed from, and the scratch it is computed in.
struct MassSection {
    std::unique_ptr<AtomTable> atoms;
    TitleSet titles;
    std::int32_t n;
    std::size_t deck_line;

    ~MassSection() {
        if (atoms)
            atom_tables().give_back(std::move(atoms));
    }

    void write(RecordSink& out) const {
        // Per thread: the block and its list are large and rewritten by every block.
        thread_local auto block = std::make_unique<MassBlock>();
        thread_local auto list = std::make_unique<SparseCoordList>();
        try {
            MASSPROPS(out, *atoms, titles, n, *block, *list);
        } catch (RunError& error) {
            if (is_record_fault(error.kind()))
                error.locate(deck_line);
            throw;
        }
    }
};

} // namespace

std::size_t mass_block_records(std::int32_t n) {
    constexpr std::size_t kFixedLines = 28;
    const auto atoms = static_cast<std::size_t>(n < 0 ? 0 : n);
    return kFixedLines + atoms + (3 * atoms + 1 + 3) / 4; // a listing line, 4 slots a line
}

RecordSink::Section mass_block_section(const AtomTable& atoms, const TitleSet& titles,
                                       std::int32_t n, std::size_t deck_line) {
    auto section = std::make_shared<MassSection>();
    section->atoms = atom_tables().take();
    // Rows 1 to n are the molecule in hand; a count outside 0..500 never reaches here.
    const auto rows = static_cast<std::size_t>(n < 0 ? 0 : n) + 1;
    std::copy_n(atoms.pos.begin(), rows, section->atoms->pos.begin());
    std::copy_n(atoms.mass.begin(), rows, section->atoms->mass.begin());
    section->titles = titles;
    section->n = n;
    section->deck_line = deck_line;
    return [section](RecordSink& out) { section->write(out); };
}

} // namespace tessen
