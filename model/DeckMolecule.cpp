// A deck's molecules in double precision: tessen's job loop reads the deck (its grammar,
// its field rules, its faults) and a listener takes each atom record and isotope mass as
// it is read, reading the same fields again into double.

#include "model/DeckMolecule.hpp"

#include "companion/CommandError.hpp"
#include "driver/JobLoop.hpp"
#include "records/Diagnostic.hpp"
#include "records/FieldWalker.hpp"
#include "records/InputDeck.hpp"
#include "report/ReportVocabulary.hpp"

#include <memory>
#include <optional>

namespace tessen::model {

namespace {

using companion::CommandError;

constexpr int kTitleRecords = 3;
constexpr std::size_t kHeaderTitleStart = 3; // the isotope header's title: columns 4-63
constexpr int kMassDecimals = 6;

// A report nobody reads: the records are dropped.
class DroppedReport : public RecordSink {
  public:
    void put_record(std::string_view, bool) override {}
};

// Trailing blanks cut off.
std::string trimmed(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view()
                                                     : text.substr(0, end + 1));
}

// The atom record's fields read again, the reals into double.
AtomRecord reread_atom_record(std::string_view text, int index, std::size_t line) {
    AtomRecord rec;
    rec.index = index;
    rec.line = line;
    FieldWalker walker(report::kAtomRecord, text);
    std::int32_t number = 0;
    for (int* field : {&rec.i, &rec.j, &rec.k, &rec.l}) {
        walker.get_int(number);
        *field = number;
    }
    for (double* field : {&rec.r, &rec.a, &rec.t, &rec.m})
        walker.get_real(*field);
    return rec;
}

class MoleculeCollector : public JobListener, public RecordObserver {
  public:
    explicit MoleculeCollector(std::string name) : name_(std::move(name)) {}

    std::vector<DeckMolecule> take() { return std::move(molecules_); }

    void record_read(std::size_t line, std::string_view text, std::optional<std::size_t>) override {
        line_ = line;
        text_ = std::string(text);
        if (titles_left_ > 0) {
            --titles_left_;
            titles_.push_back(trimmed(text_));
        }
    }

    void counts_read(std::int32_t n, std::int32_t) override {
        DeckMolecule molecule;
        molecule.number = static_cast<int>(molecules_.size()) + 1;
        molecule.line = line_;
        molecule.n = n;
        molecules_.push_back(std::move(molecule));
        titles_.clear();
        titles_left_ = kTitleRecords;
    }

    void atom_record_read(std::int32_t index, const ValenceRecord&) override {
        molecules_.back().records.push_back(reread_atom_record(text_, index, line_));
    }

    void molecule_built(const AtomTable&, std::int32_t n) override {
        DeckMolecule& molecule = molecules_.back();
        molecule.title1 = titles_.size() > 0 ? titles_[0] : "";
        molecule.title2 = titles_.size() > 1 ? titles_[1] : "";
        third_title_ = titles_.size() > 2 ? titles_[2] : "";
        if (n < 3)
            return;
        own_masses(molecule);
    }

    void isotope_header_read(std::int32_t) override {
        third_title_ = trimmed(text_.size() > kHeaderTitleStart
                                   ? std::string_view(text_).substr(kHeaderTitleStart, 60)
                                   : std::string_view());
    }

    void mass_set_begun(std::int32_t n) override {
        if (molecules_.empty() || molecules_.back().n < 3)
            return; // a mass set before any molecule: tessen's own business
        MassSet set;
        set.line = line_;
        set.title = third_title_;
        set.masses.assign(static_cast<std::size_t>(n), 0.0);
        molecules_.back().mass_sets.push_back(std::move(set));
    }

    void mass_read(std::int32_t atom, std::size_t, std::size_t, std::size_t, std::string_view text,
                   float) override {
        if (molecules_.empty() || molecules_.back().mass_sets.size() < 2)
            return;
        double mass = 0;
        std::size_t pos = 0;
        read_real_field(text, pos, static_cast<int>(text.size()), kMassDecimals, mass);
        molecules_.back().mass_sets.back().masses[static_cast<std::size_t>(atom) - 1] = mass;
    }

  private:
    std::string name_;
    std::vector<DeckMolecule> molecules_;
    std::size_t line_ = 0;
    std::string text_;
    int titles_left_ = 0;
    std::vector<std::string> titles_;
    std::string third_title_;

    // Set 1: the mass of each atom 1 to N from the record that placed it last; an atom that
    // no record placed has no place in the model.
    void own_masses(DeckMolecule& molecule) {
        MassSet set;
        set.line = molecule.records.front().line;
        set.title = third_title_;
        const auto n = static_cast<std::size_t>(molecule.n);
        std::vector<bool> placed(n, false);
        set.masses.assign(n, 0.0);
        for (const AtomRecord& rec : molecule.records) {
            if (rec.i < 1 || static_cast<std::size_t>(rec.i) > n)
                continue; // a row beyond N takes part in the construction only
            placed[static_cast<std::size_t>(rec.i) - 1] = true;
            set.masses[static_cast<std::size_t>(rec.i) - 1] = rec.m;
        }
        for (std::size_t atom = 0; atom < n; ++atom)
            if (!placed[atom])
                throw CommandError(2,
                                   "atom " + std::to_string(atom + 1) +
                                       " is placed by no atom record of the molecule",
                                   name_, molecule.line);
        molecule.mass_sets.push_back(std::move(set));
    }
};

} // namespace

std::vector<DeckMolecule> read_deck_molecules(ByteSource& source, const std::string& name) {
    InputDeck deck(source, name);
    MoleculeCollector collector(name);
    deck.observe(&collector);
    DroppedReport report;
    // On the heap: the job loop holds tessen's whole atom table.
    auto loop = std::make_unique<JobLoop>(deck, report, &collector);
    try {
        loop->run();
    } catch (const RunError& error) {
        throw CommandError(2, error.base_message(), name, error.line());
    }
    return collector.take();
}

} // namespace tessen::model
