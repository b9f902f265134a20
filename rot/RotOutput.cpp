#include "rot/RotOutput.hpp"

#include "model/Notation.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace tessen::rot {

namespace {

using nlohmann::json;

// ---- values ----------------------------------------------------------------------------

json value_json(const Value& v) {
    return v ? json(v->value) : json();
}

json sigma_json(const Value& v) {
    return v ? json(v->sigma) : json();
}

template <std::size_t N> json values_json(const std::array<Value, N>& values) {
    json array = json::array();
    for (const Value& v : values)
        array.push_back(value_json(v));
    return array;
}

template <std::size_t N> json sigmas_json(const std::array<Value, N>& values) {
    json array = json::array();
    for (const Value& v : values)
        array.push_back(sigma_json(v));
    return array;
}

// A derived value with the digits its uncertainty leaves it, and that uncertainty.
std::string shown(const Value& v) {
    return v ? model::value_within_error(v->value, v->sigma) : "-";
}

// A number as it was read (a printed number, a deck's value): ten significant digits at
// most, as the input gave it.
std::string as_read(const Value& v) {
    return v ? model::plain_value(v->value) : "-";
}

// Costain's uncertainty, to two significant digits.
std::string costain_text(const Value& v) {
    return v ? model::error_value(v->value) : "-";
}

// For CSV: a derived value rounded where its uncertainty leaves it, and the uncertainty.
std::string csv_value(const Value& v) {
    return v ? model::value_rounded_to_error(v->value, v->sigma) : "";
}

std::string csv_sigma(const Value& v) {
    return v ? model::error_value(v->sigma) : "";
}

std::string csv_read(const Value& v) {
    return v ? model::plain_value(v->value) : "";
}

// ---- JSON ------------------------------------------------------------------------------

json substitution_json(const Substitution& s) {
    json imaginary = json::array();
    for (char axis : s.imaginary)
        imaginary.push_back(std::string(1, axis));
    json object = {{"atom", s.atom},
                   {"parent_mass", s.parent_mass},
                   {"mass", s.mass},
                   {"mu", s.mu.value},
                   {"mu_sigma", s.mu.sigma},
                   {"coordinates", values_json(s.coordinates)},
                   {"coordinates_sigma", sigmas_json(s.coordinates)},
                   {"imaginary", imaginary},
                   {"costain", values_json(s.costain)},
                   {"principal", values_json(s.principal)}};
    if (s.axial || s.radial) {
        object["axial"] = value_json(s.axial);
        object["radial"] = value_json(s.radial);
        object["axial_sigma"] = sigma_json(s.axial);
        object["radial_sigma"] = sigma_json(s.radial);
        object["axial_costain"] = value_json(s.axial_costain);
        object["radial_costain"] = value_json(s.radial_costain);
    }
    if (!s.note.empty())
        object["note"] = s.note;
    return object;
}

json isotopologue_json(const Isotopologue& s) {
    json masses = json::array();
    for (const Value& m : s.masses)
        masses.push_back(value_json(m));
    json coordinates = json::array();
    for (const Axes& atom : s.coordinates)
        coordinates.push_back(values_json(atom));
    json columns = json::array();
    for (int c : s.columns)
        columns.push_back(c != 0 ? json(c) : json());
    return {{"title", s.title},
            {"total_mass", value_json(s.total_mass)},
            {"masses", masses},
            {"moments", values_json(s.moments)},
            {"moments_sigma", sigmas_json(s.moments)},
            {"moment_columns", columns},
            {"principal_coordinates", coordinates},
            {"rotor", s.rotor ? json(rotor_name(*s.rotor)) : json()},
            {"constants_mhz", values_json(s.constants_mhz)},
            {"constants_mhz_sigma", sigmas_json(s.constants_mhz)},
            {"constants_cm", values_json(s.constants_cm)},
            {"constants_cm_sigma", sigmas_json(s.constants_cm)},
            {"kappa", value_json(s.kappa)},
            {"kappa_sigma", sigma_json(s.kappa)},
            {"inertial_defect", value_json(s.inertial_defect)},
            {"inertial_defect_sigma", sigma_json(s.inertial_defect)},
            {"planar_moments", values_json(s.planar_moments)},
            {"planar_moments_sigma", sigmas_json(s.planar_moments)},
            {"substitution", s.substitution ? substitution_json(*s.substitution) : json()}};
}

// ---- text ------------------------------------------------------------------------------

// Rows of cells, aligned by column: the first column to the left, the others to the right.
class Table {
  public:
    void add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

    std::string render(const std::string& indent) const {
        std::vector<std::size_t> widths;
        for (const auto& row : rows_) {
            widths.resize(std::max(widths.size(), row.size()));
            for (std::size_t c = 0; c < row.size(); ++c)
                widths[c] = std::max(widths[c], row[c].size());
        }
        std::string text;
        for (const auto& row : rows_) {
            std::string line = indent;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string pad(widths[c] - row[c].size(), ' ');
                if (c == 0) {
                    line.append(row[c]).append(pad);
                } else {
                    line.append("  ").append(pad).append(row[c]);
                }
            }
            line.erase(line.find_last_not_of(' ') + 1);
            text += line + "\n";
        }
        return text;
    }

  private:
    std::vector<std::vector<std::string>> rows_;
};

std::string constants_table(const MoleculeAnalysis& m) {
    Table table;
    table.add({"isotopologue", "A/MHz", "B/MHz", "C/MHz", "kappa", "Delta/amu A^2", "rotor"});
    for (const Isotopologue& s : m.isotopologues)
        table.add({s.title.empty() ? "-" : s.title, shown(s.constants_mhz[0]),
                   shown(s.constants_mhz[1]), shown(s.constants_mhz[2]), shown(s.kappa),
                   shown(s.inertial_defect), s.rotor ? rotor_name(*s.rotor) : "-"});
    return table.render("  ");
}

// |g| with an "i" where |g|^2 came out negative.
std::string coordinate_text(const Substitution& s, int axis) {
    const char name = "abc"[axis];
    const bool imaginary =
        std::find(s.imaginary.begin(), s.imaginary.end(), name) != s.imaginary.end();
    std::string text = shown(s.coordinates[static_cast<std::size_t>(axis)]);
    if (imaginary)
        text += 'i';
    return text;
}

std::string substitution_table(const MoleculeAnalysis& m) {
    Table table;
    table.add({"isotopologue", "atom", "|a|/A", "|b|/A", "|c|/A", "Costain a", "Costain b",
               "Costain c", "parent |a|", "parent |b|", "parent |c|"});
    bool any = false;
    std::string notes;
    for (const Isotopologue& s : m.isotopologues) {
        if (!s.substitution)
            continue;
        const Substitution& sub = *s.substitution;
        any = true;
        table.add({s.title.empty() ? "-" : s.title, std::to_string(sub.atom),
                   coordinate_text(sub, 0), coordinate_text(sub, 1), coordinate_text(sub, 2),
                   costain_text(sub.costain[0]), costain_text(sub.costain[1]),
                   costain_text(sub.costain[2]), as_read(sub.principal[0]),
                   as_read(sub.principal[1]), as_read(sub.principal[2])});
        if (!sub.note.empty())
            notes += "  " + s.title + ": " + sub.note + "\n";
        if (sub.axial)
            notes += "  " + s.title + ": along the symmetry axis |z| = " + shown(sub.axial) +
                     " A, from it r = " + shown(sub.radial) + " A\n";
    }
    if (!any)
        return {};
    std::string text = "\n  substitution coordinates (Kraitchman, parent ";
    text.append(m.isotopologues.front().title).append(", A)\n");
    return text.append(table.render("  ")).append(notes);
}

// ---- CSV -------------------------------------------------------------------------------

// A cell, quoted when it holds a comma, a quote or a line end.
std::string csv_cell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csv_row(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c != 0)
            line += ',';
        line += csv_cell(cells[c]);
    }
    line += '\n';
    return line;
}

// The derived values of an isotopologue in the CSV's order: A, B, C in MHz and in cm^-1,
// kappa, the inertial defect, Paa, Pbb, Pcc.
std::vector<const Value*> derived_values(const Isotopologue& s) {
    std::vector<const Value*> values;
    for (const auto* group : {&s.constants_mhz, &s.constants_cm})
        for (const Value& v : *group)
            values.push_back(&v);
    values.push_back(&s.kappa);
    values.push_back(&s.inertial_defect);
    for (const Value& v : s.planar_moments)
        values.push_back(&v);
    return values;
}

const char* kind_of(const MoleculeAnalysis& m) {
    return m.from_deck ? "deck" : "report";
}

// The columns of one isotopologue: the values, then their uncertainties (after the
// columns that earlier versions wrote, so that those keep their places).
std::vector<std::string> csv_cells(const MoleculeAnalysis& m, int k, const Isotopologue& s) {
    std::vector<std::string> row = {m.input, std::to_string(m.number), m.title1, std::to_string(k),
                                    s.title, csv_read(s.total_mass)};
    for (const Value& v : s.moments)
        row.push_back(csv_read(v));
    row.push_back(s.rotor ? rotor_name(*s.rotor) : "");
    const std::vector<const Value*> derived = derived_values(s);
    for (const Value* v : derived)
        row.push_back(csv_value(*v));
    std::vector<std::string> sigmas;
    for (const Value& v : s.moments)
        sigmas.push_back(csv_sigma(v));
    for (const Value* v : derived)
        sigmas.push_back(csv_sigma(*v));
    if (const auto& sub = s.substitution) {
        row.push_back(std::to_string(sub->atom));
        for (const Value& v : sub->coordinates) {
            row.push_back(csv_value(v));
            sigmas.push_back(csv_sigma(v));
        }
        row.push_back(std::string(sub->imaginary.begin(), sub->imaginary.end()));
        for (const Value& v : sub->costain)
            row.push_back(v ? model::error_value(v->value) : "");
        for (const Value& v : sub->principal)
            row.push_back(csv_read(v));
    } else {
        row.resize(row.size() + 11);
        sigmas.resize(sigmas.size() + 3);
    }
    row.push_back(kind_of(m));
    row.insert(row.end(), sigmas.begin(), sigmas.end());
    return row;
}

} // namespace

std::string text_tables(const std::vector<MoleculeAnalysis>& molecules) {
    std::string text;
    for (const MoleculeAnalysis& m : molecules) {
        if (!text.empty())
            text += "\n";
        text += m.input + ", molecule " + std::to_string(m.number) + ": " + m.title1 + "\n";
        if (!m.title2.empty())
            text += "  " + m.title2 + "\n";
        if (m.isotopologues.empty()) {
            text += m.from_deck ? "  fewer than three atoms\n" : "  no mass-properties block\n";
            continue;
        }
        text += constants_table(m) + substitution_table(m);
    }
    return text;
}

std::string json_document(const std::vector<MoleculeAnalysis>& molecules) {
    json list = json::array();
    for (const MoleculeAnalysis& m : molecules) {
        json isotopologues = json::array();
        for (const Isotopologue& s : m.isotopologues)
            isotopologues.push_back(isotopologue_json(s));
        list.push_back({{"report", m.input},
                        {"input", kind_of(m)},
                        {"number", m.number},
                        {"titles", {m.title1, m.title2}},
                        {"isotopologues", isotopologues}});
    }
    return json({{"molecules", list}}).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string csv_table(const std::vector<MoleculeAnalysis>& molecules) {
    std::string text = csv_row({"report",      "molecule",
                                "title1",      "isotopologue",
                                "title",       "total_mass",
                                "Ia",          "Ib",
                                "Ic",          "rotor",
                                "A_MHz",       "B_MHz",
                                "C_MHz",       "A_cm",
                                "B_cm",        "C_cm",
                                "kappa",       "inertial_defect",
                                "Paa",         "Pbb",
                                "Pcc",         "substituted_atom",
                                "a",           "b",
                                "c",           "imaginary",
                                "costain_a",   "costain_b",
                                "costain_c",   "parent_a",
                                "parent_b",    "parent_c",
                                "input",       "Ia_sigma",
                                "Ib_sigma",    "Ic_sigma",
                                "A_MHz_sigma", "B_MHz_sigma",
                                "C_MHz_sigma", "A_cm_sigma",
                                "B_cm_sigma",  "C_cm_sigma",
                                "kappa_sigma", "inertial_defect_sigma",
                                "Paa_sigma",   "Pbb_sigma",
                                "Pcc_sigma",   "a_sigma",
                                "b_sigma",     "c_sigma"});
    for (const MoleculeAnalysis& m : molecules) {
        int k = 0;
        for (const Isotopologue& s : m.isotopologues)
            text += csv_row(csv_cells(m, ++k, s));
    }
    return text;
}

} // namespace tessen::rot
