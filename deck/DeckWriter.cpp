#include "deck/DeckWriter.hpp"

#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"

#include <filesystem>

namespace tessen::deck {

namespace {

// The deck as text: every record followed by a line feed.
class DeckText : public RecordSink {
  public:
    void put_record(std::string_view record, bool /*hold*/) override {
        text_.append(record);
        text_ += '\n';
    }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

// A title as one record: control characters become blanks, cut to the title's length.
std::string title_text(std::string text, std::size_t length) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    text.erase(text.find_last_not_of(' ') + 1);
    return text.substr(0, length);
}

void write_atom_records(RecordSink& deck, const DeckMolecule& m) {
    for (const AtomRecord& r : m.coordinates.records)
        write_record(deck, report::kAtomRecord, r.i, r.j, r.k, r.l, static_cast<float>(r.r),
                     static_cast<float>(r.a), static_cast<float>(r.t),
                     static_cast<float>(m.masses[static_cast<std::size_t>(r.i) - 1]));
}

void write_isotope_set(RecordSink& deck, const DeckMolecule& m, const IsotopeSet& set) {
    write_record(deck, report::kIsotopeHeader, report::kIsotopeCode,
                 std::string_view(title_text(set.title, report::kThirdTitleLength)));
    std::vector<double> masses = m.masses;
    for (const IsotopeChange& change : set.changes)
        masses[static_cast<std::size_t>(change.atom) - 1] = change.mass;
    LayoutWriter out(deck, report::kMassRecords);
    for (double mass : masses)
        out.put(static_cast<float>(mass));
    out.finish();
}

void write_molecule(RecordSink& deck, const DeckMolecule& m) {
    const int n = m.coordinates.real_atoms + m.coordinates.dummy_atoms;
    const int isotope_flag = m.isotope_sets.empty() ? 0 : 1;
    write_record(deck, report::kControlRecord, report::kMoleculeCode);
    write_record(deck, report::kControlRecord, 0, n, isotope_flag);
    write_text_record(deck, title_text(m.title1, report::kTitleLength));
    write_text_record(deck, title_text(m.title2, report::kTitleLength));
    write_text_record(deck, title_text(m.species, report::kThirdTitleLength));
    write_atom_records(deck, m);
    for (const IsotopeSet& set : m.isotope_sets)
        write_isotope_set(deck, m, set);
    // The isotope sets end at the next molecule's control record, or at the end record.
}

} // namespace

DeckMolecule deck_molecule(const Structure& structure, const std::string& file,
                           std::vector<IsotopeSet> isotope_sets) {
    DeckMolecule m;
    const std::string name = std::filesystem::path(file).filename().string();
    m.title1 = structure.title.empty() ? name : structure.title;
    m.title2 = structure.formula + "  " + name;
    m.species = structure.formula;
    std::vector<Vec3> positions;
    for (const InputAtom& a : structure.atoms) {
        positions.push_back(a.position);
        m.masses.push_back(a.mass);
    }
    m.coordinates = valence_coordinates(positions, structure.bonded);
    m.masses.resize(static_cast<std::size_t>(m.coordinates.real_atoms + m.coordinates.dummy_atoms),
                    0.0);
    m.isotope_sets = std::move(isotope_sets);
    return m;
}

std::string deck_text(std::span<const DeckMolecule> molecules) {
    DeckText deck;
    for (const DeckMolecule& m : molecules)
        write_molecule(deck, m);
    write_record(deck, report::kControlRecord, report::kEndCode);
    return deck.take();
}

} // namespace tessen::deck
