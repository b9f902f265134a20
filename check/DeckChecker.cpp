// The deck checker: tessen's job loop, run with a listener that looks at every record as
// tessen reads it. The checks are grouped by the record they look at: every record (tabs,
// carriage returns, a byte-order mark), the counts record, each atom record (fields,
// references, geometry), the molecule once built (rows, close atoms), the records that
// follow a molecule (too few atoms declared) and the masses of isotope sets.

#include "check/DeckChecker.hpp"

#include "check/FindingFormat.hpp"
#include "check/MassSetTraps.hpp"
#include "check/RecordTraps.hpp"
#include "check/TypedFields.hpp"
#include "driver/JobLoop.hpp"
#include "geometry/Precision.hpp"
#include "records/Diagnostic.hpp"
#include "records/FieldWalker.hpp"
#include "records/InputDeck.hpp"
#include "report/ReportVocabulary.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <numbers>

namespace tessen::check {

namespace {

// Limits of what a real molecule holds (lengths in angstrom, masses in u).
constexpr double kLongestBond = 20.0;
constexpr double kClosestAtoms = 0.5;
constexpr double kHeaviestAtom = 300.0;
constexpr double kCollinearDegrees = 1.0;

// The title records after a counts record.
constexpr std::size_t kTitleCount = 3;

constexpr std::array<const char*, 4> kAtomRealNames = {"bond length", "angle", "dihedral", "mass"};

std::string columns_text(std::size_t start, std::size_t width) {
    return "columns " + std::to_string(start + 1) + "-" + std::to_string(start + width);
}

std::string code_of(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::end_of_file:
        return "end-of-file";
    case ErrorKind::bad_field:
        return "bad-character";
    case ErrorKind::input_overflow:
        return "numeric-overflow";
    case ErrorKind::atom_count:
        return "atom-count";
    case ErrorKind::atom_number:
        return "atom-number";
    case ErrorKind::fp_invalid:
        return "floating-point-invalid";
    case ErrorKind::fp_divide_by_zero:
        return "floating-point-divide-by-zero";
    case ErrorKind::fp_overflow:
        return "floating-point-overflow";
    default:
        return "io";
    }
}

// A report that nobody reads.
class DiscardedReport : public RecordSink {
  public:
    void put_record(std::string_view, bool) override {}
};

class Checker : public JobListener, public RecordObserver {
  public:
    Checker(std::string name, const MoleculeHook& hook) : name_(std::move(name)), hook_(hook) {}

    std::vector<Finding> take_findings() {
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(findings_);
    }

    // An error that tessen would stop at, and what may have led to it.
    void fault(const RunError& error) {
        if (in_atom_records_) {
            // The record at fault is the last one told of, or the next one, whose read failed.
            const std::int32_t index = line_ == atom_line_ ? atom_index_ : atom_index_ + 1;
            if (std::optional<int> code = control_code_in(text_))
                warn(line_, {}, "atom-count-too-large",
                     "control code " + std::to_string(*code) + " read as atom record " +
                         std::to_string(index) + " of the " + std::to_string(n_) +
                         " declared at line " + std::to_string(counts_line_) +
                         ": the molecule has fewer atom records than its count");
        }
        std::string message = error.base_message();
        if (error.first_column() != 0)
            message += " '" + shown_field_text(error.field_text()) + "'";
        std::optional<std::size_t> column;
        if (error.first_column() != 0)
            column = error.first_column();
        add(error.line(), column, Severity::error, code_of(error.kind()), message);
        titles_left_ = 0;
        in_atom_records_ = false;
        after_atoms_ = false;
    }

    // ---- every record ----------------------------------------------------------------

    void record_read(std::size_t line, std::string_view text,
                     std::optional<std::size_t> stray_cr) override {
        line_ = line;
        text_ = std::string(text);
        if (line == 1 && text.substr(0, 3) == "\xEF\xBB\xBF")
            warn(line, 1, "byte-order-mark",
                 "the deck begins with a byte-order mark: the columns of this record are "
                 "shifted by three bytes");
        if (const std::size_t tab = text.find('\t'); tab != std::string_view::npos)
            warn(line, tab + 1, "tab",
                 "tab in the record: it counts as one column, so the fields after it are not "
                 "where they look");
        if (stray_cr)
            warn(line, *stray_cr + 1, "carriage-return",
                 "carriage return inside the line: the rest of the line is never read");
        if (titles_left_ > 0)
            check_title(kTitleCount + 1 - titles_left_--);
    }

    // ---- control records, counts, what follows a molecule ------------------------------

    void control_read(std::int32_t code) override {
        check_after_atoms();
        if (code == report::kIsotopeCode)
            warn_all(line_, text_past_end(text_, typed_record(report::kControlRecord, text_, 1).end,
                                          "where a -6 control record's code ends (the set keeps "
                                          "the third title in hand)"));
    }

    void isotope_header_read(std::int32_t code) override {
        check_after_atoms();
        if (code == report::kIsotopeCode)
            warn_all(line_, text_past_end(text_,
                                          typed_record(report::kIsotopeHeader, text_, 1).end +
                                              report::kThirdTitleLength,
                                          "where an isotope header's title ends"));
    }

    void counts_read(std::int32_t n, std::int32_t) override {
        counts_line_ = line_;
        n_ = n;
        placed_.clear();
        atom_index_ = 0;
        in_atom_records_ = true;
        titles_left_ = kTitleCount;
        warn_all(line_, counts_record_traps(text_));
        std::int32_t first = 0;
        FieldWalker walker(report::kControlRecord, text_);
        const bool first_typed = walker.get_int(first) == FieldStatus::ok && first != 0;
        if (n == 0 && first_typed)
            warn(line_, 1, "atom-count-columns",
                 "atom count (columns 4-7) is " +
                     std::string(is_blank(text_.substr(std::min<std::size_t>(3, text_.size()), 4))
                                     ? "blank"
                                     : "0") +
                     " while columns 1-3 hold " + std::to_string(first) +
                     ": the count may be typed in the wrong columns");
    }

    // ---- atom records ------------------------------------------------------------------

    void atom_record_read(std::int32_t index, const ValenceRecord& rec) override {
        atom_index_ = index;
        atom_line_ = line_;
        if (control_code_in(text_))
            return; // the count is too large: said with the error that follows
        if (index == 1)
            first_atom_ = rec.i;
        const bool mass_reported = check_typed_fields(rec);
        warn_all(line_, atom_record_traps(text_, index, first_atom_, mass_reported));
        check_references(index, rec);
        check_ranges(index, rec);
    }

    void atom_placed(std::int32_t index, const ValenceRecord& rec,
                     const AtomTable& atoms) override {
        if (index >= 4)
            check_frame(rec, atoms);
        if (auto earlier = placed_.find(rec.i); earlier != placed_.end())
            warn(line_, {}, "duplicate-atom",
                 "atom " + std::to_string(rec.i) + " is placed again (first at line " +
                     std::to_string(earlier->second) + "): this record replaces it");
        placed_[rec.i] = line_;
        last_atom_line_ = line_;
    }

    void molecule_built(const AtomTable& atoms, std::int32_t n) override {
        in_atom_records_ = false;
        after_atoms_ = true;
        check_unfilled_rows(n);
        check_close_atoms(atoms);
        own_masses_.assign(atoms.mass.begin() + 1,
                           atoms.mass.begin() + 1 + std::clamp(n, 0, kMaxAtoms));
        if (hook_)
            hook_(atoms, n);
    }

    // ---- isotope mass sets -------------------------------------------------------------

    void mass_set_begun(std::int32_t n) override {
        set_n_ = n;
        mass_set_.begin(n, own_masses_);
    }

    void mass_read(std::int32_t atom, std::size_t line, std::size_t start, std::size_t width,
                   std::string_view text, float mass) override {
        const std::string where = "mass of atom " + std::to_string(atom);
        if (line == control_code_line_)
            return; // the rest of a control record read as masses says nothing more
        if (start == 0) {
            if (std::optional<int> code = control_code_in(text_)) {
                control_code_line_ = line;
                warn(line, 1, "control-code-as-mass",
                     "control record " + std::to_string(*code) + " is read as the " + where +
                         ": the mass set is shorter than the " + std::to_string(set_n_) +
                         " atoms of the molecule");
                return;
            }
        }
        const bool reported = check_mass_value(atom, line, start, width, text, mass);
        const TypedField field{start, width, std::string(text), true, FieldStatus::ok, mass};
        for (const LocatedTrap& located : mass_set_.field_read(atom, line, text_, field, reported))
            warn_all(located.line, located.trap);
    }

  private:
    std::string name_;
    const MoleculeHook& hook_;
    std::vector<Finding> findings_;
    // The record read last.
    std::size_t line_ = 0;
    std::string text_;
    // The molecule in hand.
    std::size_t counts_line_ = 0;
    std::int32_t n_ = 0;
    std::int32_t set_n_ = 0;
    std::int32_t atom_index_ = 0; // the atom record read last, and its line
    std::size_t atom_line_ = 0;
    std::map<std::int32_t, std::size_t> placed_; // atom number -> line of its record
    std::size_t last_atom_line_ = 0;
    bool in_atom_records_ = false;
    bool after_atoms_ = false;
    std::size_t control_code_line_ = 0; // a control record read as masses
    std::size_t titles_left_ = 0;       // title records still to come after a counts record
    std::int32_t first_atom_ = 0;       // the atom of the molecule's first atom record
    std::vector<float> own_masses_;     // the masses of the molecule's atom records
    MassSetTraps mass_set_;

    void add(std::size_t line, std::optional<std::size_t> column, Severity severity,
             std::string code, std::string message) {
        findings_.push_back({name_, line, column, severity, std::move(code), std::move(message)});
    }
    void warn(std::size_t line, std::optional<std::size_t> column, std::string code,
              std::string message) {
        add(line, column, Severity::warning, std::move(code), std::move(message));
    }
    void warn_all(std::size_t line, const std::optional<FieldTrap>& trap) {
        if (trap)
            warn(line, trap->column, trap->code, trap->message);
    }
    void warn_all(std::size_t line, const std::vector<FieldTrap>& traps) {
        for (const FieldTrap& trap : traps)
            warn(line, trap.column, trap.code, trap.message);
    }

    // Title k (1 to 3) in the record read last: text past its 80 or 60 columns.
    void check_title(std::size_t k) {
        const std::size_t length =
            k == kTitleCount ? report::kThirdTitleLength : report::kTitleLength;
        warn_all(line_, text_past_end(text_, length, "where title " + std::to_string(k) + " ends"));
    }

    // The checks of a mass set's value on their own: a blank field, implied decimals, a
    // value above any atom's. True when one of them reported the field.
    bool check_mass_value(std::int32_t atom, std::size_t line, std::size_t start, std::size_t width,
                          std::string_view text, float mass) {
        const std::string where = "mass of atom " + std::to_string(atom);
        if (is_blank(text)) {
            warn(line, start + 1, "blank-mass",
                 where + " (" + columns_text(start, width) +
                     ") is blank: the set is shorter than the " + std::to_string(set_n_) +
                     " atoms of the molecule, and the atom gets mass 0");
            return true;
        }
        if (check_implied_decimals(line, start, text, mass, "mass", ""))
            return true;
        if (mass <= kHeaviestAtom)
            return false;
        warn(line, start + 1, "implausible-mass",
             where + " is " + number_text(mass) + ", above " + number_text(kHeaviestAtom) +
                 ": the mass set may be shorter than the molecule");
        return true;
    }

    // The record right after a molecule's atom records reads as an atom record: the count
    // declared fewer atoms than the deck holds.
    void check_after_atoms() {
        if (!after_atoms_)
            return;
        after_atoms_ = false;
        if (line_ == last_atom_line_ + 1 && looks_like_atom_record(text_))
            warn(line_, {}, "atom-count-too-small",
                 "record reads as an atom record, but the molecule declares " + std::to_string(n_) +
                     " atoms at line " + std::to_string(counts_line_) +
                     ": it is skipped as a control record");
    }

    // A real typed without a decimal point that the implied decimals turn into another
    // number, when the number as typed is one the field could well mean ('120' for an
    // angle). Digits typed for the implied decimals on purpose ('1087000' for a bond of
    // 1.087) make no sense as typed and are not reported. True when it was reported.
    bool check_implied_decimals(std::size_t line, std::size_t start, std::string_view text,
                                float value, const std::string& field, const std::string& unit) {
        const std::optional<double> typed = number_as_typed(text);
        if (!typed || static_cast<float>(*typed) == value || !plausible(field, *typed))
            return false;
        std::string shown(text);
        shown.erase(0, std::min(shown.find_first_not_of(' '), shown.size()));
        shown.erase(shown.find_last_not_of(' ') + 1);
        warn(line, start + 1, "implied-decimals",
             field + " field '" + shown + "' has no decimal point: it is read as " +
                 number_text(value) + unit);
        return true;
    }

    // Whether a number could be meant for the field: a bond length or mass above 0 and up
    // to the limits above, an angle of at most a full turn.
    static bool plausible(const std::string& field, double typed) {
        if (field == "bond length")
            return typed > 0.0 && typed <= kLongestBond;
        if (field == "mass")
            return typed > 0.0 && typed <= kHeaviestAtom;
        return std::fabs(typed) <= 360.0;
    }

    // Implied decimals in the real fields and a blank mass; true when the mass field got a
    // finding.
    bool check_typed_fields(const ValenceRecord& rec) {
        const std::vector<TypedField> fields = typed_reals(report::kAtomRecord, text_);
        bool mass_reported = false;
        for (std::size_t k = 0; k < fields.size() && k < kAtomRealNames.size(); ++k) {
            const TypedField& f = fields[k];
            const std::string unit = (k == 1 || k == 2) ? " degrees" : "";
            const bool reported = check_implied_decimals(
                line_, f.start, f.text, static_cast<float>(f.value), kAtomRealNames[k], unit);
            mass_reported = k == 3 && reported;
        }
        if (fields.size() == 4 && is_blank(fields[3].text))
            warn(line_, {}, "blank-mass",
                 "mass field (" + columns_text(fields[3].start, fields[3].width) +
                     ") is blank: atom " + std::to_string(rec.i) +
                     " gets mass 0 and is left out of the mass properties");
        return mass_reported;
    }

    // References to atoms not placed before in this molecule (the row is whatever it
    // holds), and a frame named by one atom twice. Atom numbers outside the table are
    // tessen's own error.
    void check_references(std::int32_t index, const ValenceRecord& rec) {
        struct Reference {
            const char* name;
            std::int32_t atom;
        };
        std::vector<Reference> used;
        if (index >= 3)
            used.push_back({"J", rec.j});
        if (index >= 4) {
            used.push_back({"K", rec.k});
            used.push_back({"L", rec.l});
        }
        for (const Reference& r : used) {
            if (r.atom < 1 || r.atom > kMaxAtoms)
                continue;
            if (r.atom == rec.i)
                warn(line_, {}, "unplaced-reference",
                     std::string("reference ") + r.name + " is the atom " + std::to_string(rec.i) +
                         " itself: its row is taken as it stands "
                         "before this record");
            else if (!placed_.count(r.atom))
                warn(line_, {}, "unplaced-reference",
                     std::string("reference ") + r.name + " = " + std::to_string(r.atom) +
                         " is not placed before this record in this molecule: its row is "
                         "taken as it stands (left by an earlier molecule, or the origin)");
        }
        for (std::size_t a = 0; a < used.size(); ++a) {
            for (std::size_t b = a + 1; b < used.size(); ++b) {
                if (used[a].atom == used[b].atom)
                    warn(line_, {}, "repeated-reference",
                         std::string("references ") + used[a].name + " and " + used[b].name +
                             " are both atom " + std::to_string(used[a].atom) +
                             ": the frame of this atom is degenerate");
            }
        }
    }

    void check_ranges(std::int32_t index, const ValenceRecord& rec) {
        if (index >= 2 && (rec.r <= 0.0f || rec.r > kLongestBond))
            warn(line_, 13, "bond-length",
                 "bond length " + number_text(rec.r) +
                     (rec.r <= 0.0f ? " is not above 0"
                                    : " is above " + number_text(kLongestBond) + " angstrom"));
        if (index >= 3 && (rec.a < 0.0f || rec.a > 180.0f))
            warn(line_, 25, "bond-angle",
                 "bond angle " + number_text(rec.a) + " degrees is outside 0 to 180");
    }

    // The frame of J, K and L, within a degree of collinear: the dihedral turns about an
    // axis that the three atoms hardly fix. An atom on the line of J and K (a bond angle of
    // 180 degrees) does not depend on the dihedral, and is not reported.
    void check_frame(const ValenceRecord& rec, const AtomTable& atoms) {
        if (std::fabs(180.0 - std::fabs(double(rec.a))) < kCollinearDegrees)
            return;
        if (rec.j < 1 || rec.j > kMaxAtoms || rec.k < 1 || rec.k > kMaxAtoms || rec.l < 1 ||
            rec.l > kMaxAtoms || rec.j == rec.k || rec.k == rec.l || rec.j == rec.l)
            return;
        double uu = 0, vv = 0, uv = 0;
        for (int a = 0; a < 3; ++a) {
            const double u = double(atoms.pos[rec.k][a]) - atoms.pos[rec.j][a];
            const double v = double(atoms.pos[rec.l][a]) - atoms.pos[rec.j][a];
            uu += u * u;
            vv += v * v;
            uv += u * v;
        }
        if (uu == 0.0 || vv == 0.0)
            return;
        const double cosine = std::clamp(uv / std::sqrt(uu * vv), -1.0, 1.0);
        const double degrees = std::acos(cosine) * 180.0 / std::numbers::pi;
        if (degrees < kCollinearDegrees || degrees > 180.0 - kCollinearDegrees)
            warn(line_, {}, "degenerate-frame",
                 "reference atoms " + std::to_string(rec.j) + ", " + std::to_string(rec.k) +
                     " and " + std::to_string(rec.l) + " are within " +
                     number_text(kCollinearDegrees) + " degree of collinear (angle " +
                     number_text(degrees) + "): the dihedral is ill-defined");
    }

    void check_unfilled_rows(std::int32_t n) {
        for (std::int32_t row = 1; row <= std::min(n, kMaxAtoms); ++row) {
            if (!placed_.count(row))
                warn(counts_line_, {}, "unfilled-row",
                     "atom " + std::to_string(row) + " of 1 to " + std::to_string(n) +
                         " is placed by no record: its row is taken as it stands (the origin "
                         "with mass 0, or where an earlier molecule left it)");
        }
    }

    void check_close_atoms(const AtomTable& atoms) {
        std::vector<std::pair<std::int32_t, std::size_t>> rows(placed_.begin(), placed_.end());
        for (std::size_t a = 0; a < rows.size(); ++a) {
            for (std::size_t b = a + 1; b < rows.size(); ++b) {
                const Triple& p = atoms.pos[rows[a].first];
                const Triple& q = atoms.pos[rows[b].first];
                double d2 = 0;
                for (int k = 0; k < 3; ++k)
                    d2 += (double(p[k]) - q[k]) * (double(p[k]) - q[k]);
                if (std::sqrt(d2) < kClosestAtoms)
                    warn(std::max(rows[a].second, rows[b].second), {}, "close-atoms",
                         "atoms " + std::to_string(rows[a].first) + " and " +
                             std::to_string(rows[b].first) + " are " + number_text(std::sqrt(d2)) +
                             " apart, closer than " + number_text(kClosestAtoms) + " angstrom");
            }
        }
    }
};

// After an error, the next record that starts a molecule or ends the deck; nothing at the
// end of the deck.
std::optional<std::int32_t> resynchronise(InputDeck& deck) {
    while (std::optional<std::string_view> record = deck.read_record()) {
        std::int32_t code = 0;
        FieldWalker walker(report::kControlRecord, *record);
        if (walker.get_int(code) == FieldStatus::ok &&
            (code == report::kMoleculeCode || code == report::kEndCode))
            return code;
    }
    return std::nullopt;
}

} // namespace

const char* severity_name(Severity severity) {
    return severity == Severity::error ? "error" : "warning";
}

DeckCheck check_deck(ByteSource& source, const std::string& name, const MoleculeHook& hook) {
    DeckCheck result;
    InputDeck deck(source, name);
    Checker checker(name, hook);
    deck.observe(&checker);
    DiscardedReport report;
    auto loop = std::make_unique<JobLoop>(deck, report, &checker);
    std::optional<std::int32_t> resume;
    while (true) {
        try {
            if (resume)
                loop->run_from(*resume);
            else
                loop->run();
            break;
        } catch (const RunError& error) {
            if (error.kind() == ErrorKind::read_failed) {
                result.unreadable = error.what();
                break;
            }
            checker.fault(error);
            if (error.kind() == ErrorKind::end_of_file)
                break;
            resume = resynchronise(deck);
            if (!resume)
                break;
        }
    }
    result.findings = checker.take_findings();
    return result;
}

} // namespace tessen::check
