#include "fit/FitText.hpp"

#include "model/Notation.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace tessen::fit {

namespace {

using Eigen::Index;
using model::value_with_error;

constexpr const char* kAxisNames[3] = {"a", "b", "c"};
// A datum whose leverage is above this sets a parameter nearly alone.
constexpr double kHighLeverage = 0.9;

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // A value that rounds to 0 is shown without its sign.
    const std::string shown = text;
    if (shown[0] == '-' && shown.find_first_not_of("-0.") == std::string::npos)
        return shown.substr(1);
    return shown;
}

// Rows of cells laid out in columns: the first to the left, the others to the right.
class Columns {
  public:
    void row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

    std::string text() const {
        std::vector<std::size_t> width;
        for (const auto& cells : rows_)
            for (std::size_t c = 0; c < cells.size(); ++c) {
                width.resize(std::max(width.size(), c + 1));
                width[c] = std::max(width[c], cells[c].size());
            }
        std::string out;
        for (const auto& cells : rows_) {
            std::string line = "  ";
            for (std::size_t c = 0; c < cells.size(); ++c) {
                const std::string pad(width[c] - cells[c].size(), ' ');
                line += c == 0 ? cells[c] + pad : "  " + pad + cells[c];
            }
            out += line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
        }
        return out;
    }

  private:
    std::vector<std::vector<std::string>> rows_;
};

std::string with_error(const ModelFit& fit, std::size_t k) {
    const double value = fit.summary.values[static_cast<Index>(k)];
    const bool has_error =
        fit.summary.n > fit.summary.p && fit.summary.errors.size() > static_cast<Index>(k);
    return value_with_error(value, has_error ? fit.summary.errors[static_cast<Index>(k)] : 0.0);
}

// The side-by-side table: every parameter (and model constant) a row, every model a column.
std::string side_by_side(const FitRun& run) {
    std::vector<std::string> header = {"parameter", "unit"};
    for (const std::string& name : run.request.order)
        header.push_back(name);
    Columns table;
    table.row(header);
    const auto column_of = [&](const auto& cell_for) {
        std::vector<std::string> cells;
        for (const std::string& model : run.request.order)
            cells.push_back(cell_for(model));
        return cells;
    };
    for (std::size_t k = 0; k < run.parameters.size(); ++k) {
        const StructureParameter& p = run.parameters[k];
        std::string label = p.name;
        for (const std::string& t : p.tied)
            label += "=" + t;
        std::vector<std::string> row = {label, model::coordinate_unit(p.kind)};
        const auto cells = column_of([&](const std::string& model) -> std::string {
            if (model == "rs") {
                if (run.substitution)
                    for (const SubstitutionValue& v : run.substitution->values)
                        if (v.name == p.name)
                            return value_with_error(v.value, v.sigma);
                return "-";
            }
            for (const ModelFit& fit : run.fits)
                if (model_name(fit.model.kind) == model)
                    return fit.done ? with_error(fit, k) : "failed";
            return "-";
        });
        row.insert(row.end(), cells.begin(), cells.end());
        table.row(row);
    }
    // The model constants, each in its model's column.
    std::map<std::string, std::vector<std::string>> constants;
    std::map<std::string, const char*> units;
    for (const ModelFit& fit : run.fits) {
        const std::string model = model_name(fit.model.kind);
        const std::size_t first = fit.model.parameters.size();
        for (std::size_t k = 0; k < fit.model.constants.size(); ++k) {
            auto& row = constants[fit.model.constants[k].name];
            units[fit.model.constants[k].name] = constant_unit(fit.model.constants[k].letter);
            row.resize(run.request.order.size(), "");
            const auto at = std::find(run.request.order.begin(), run.request.order.end(), model) -
                            run.request.order.begin();
            row[static_cast<std::size_t>(at)] = fit.done ? with_error(fit, first + k) : "failed";
        }
    }
    for (const auto& [name, cells] : constants) {
        std::vector<std::string> row = {name, units[name]};
        row.insert(row.end(), cells.begin(), cells.end());
        table.row(row);
    }
    return table.text();
}

std::string summary_line(const ModelFit& fit) {
    const std::size_t n = fit.model.data_points.size();
    const std::size_t p = fit.model.parameters.size() + fit.model.constants.size();
    std::string line = std::string("\n") + model_name(fit.model.kind) + " (fit of the " +
                       data_name(fit.model.data) + "): n = " + std::to_string(n) +
                       ", p = " + std::to_string(p);
    if (!fit.done)
        return line + "\n  FAILED: " + fit.failure + "\n";
    char text[160];
    std::snprintf(text, sizeof text, ", deviation %.6g, steps %d, condition number %.3g\n",
                  fit.summary.deviation, fit.summary.iterations, fit.summary.condition_number);
    line += text;
    for (const std::string& held : fit.model.held)
        line += "  " + held + " is held at 0: no constant of its axis was measured\n";
    if (fit.model.data == DataKind::planar)
        line += "  planar moments weighted from the moments' uncertainties, their correlation "
                "neglected\n";
    return line;
}

std::string correlation_text(const ModelFit& fit) {
    const Eigen::MatrixXd& c = fit.summary.correlation;
    if (c.rows() < 2)
        return {};
    std::vector<std::string> header = {"correlation"};
    std::vector<std::string> names;
    for (const StructureParameter& p : fit.model.parameters)
        names.push_back(p.name);
    for (const ModelConstant& k : fit.model.constants)
        names.push_back(k.name);
    header.insert(header.end(), names.begin(), names.end());
    Columns table;
    table.row(header);
    for (Index i = 0; i < c.rows(); ++i) {
        std::vector<std::string> row = {names[static_cast<std::size_t>(i)]};
        for (Index j = 0; j <= i; ++j)
            row.push_back(fixed(c(i, j), 3));
        table.row(row);
    }
    return table.text();
}

std::string residuals_text(const ModelFit& fit) {
    Columns table;
    table.row({"isotopologue", "axis", "obs/MHz", "calc/MHz", "o-c/MHz", "o-c/u A^2", "leverage"});
    for (const Residual& r : fit.residuals) {
        std::string leverage = r.leverage ? fixed(*r.leverage, 3) : "-";
        if (r.leverage && *r.leverage > kHighLeverage)
            leverage += " !";
        table.row({fit.model.species[r.species].label, kAxisNames[r.axis], fixed(r.observed_mhz, 4),
                   fixed(r.calculated_mhz, 4), fixed(r.observed_mhz - r.calculated_mhz, 4),
                   fixed(r.observed_moment - r.calculated_moment, 8), leverage});
    }
    for (const PlanarResidual& r : fit.planar_residuals)
        table.row({fit.model.species[r.species].label,
                   std::string("P") + kAxisNames[r.axis] + kAxisNames[r.axis], "", "", "",
                   fixed(r.observed - r.calculated, 8),
                   fixed(r.leverage, 3) + (r.leverage > kHighLeverage ? " !" : "")});
    return table.text();
}

std::string structure_text(const ModelFit& fit) {
    Columns coordinates;
    coordinates.row({"atom", "a/A", "b/A", "c/A"});
    for (std::size_t i = 0; i < fit.principal.size(); ++i)
        coordinates.row({std::to_string(i + 1), fixed(fit.principal[i][0], 6),
                         fixed(fit.principal[i][1], 6), fixed(fit.principal[i][2], 6)});
    Columns records;
    records.row({"atom record", "R/A", "A/degrees", "T/degrees"});
    for (const model::AtomRecord& rec : fit.records)
        records.row({std::to_string(rec.i) + "-" + std::to_string(rec.j) + "-" +
                         std::to_string(rec.k) + "-" + std::to_string(rec.l),
                     rec.index >= 2 ? fixed(rec.r, 6) : "", rec.index >= 3 ? fixed(rec.a, 4) : "",
                     rec.index >= 4 ? fixed(rec.t, 4) : ""});
    return "  principal coordinates (the molecule's own masses)\n" + coordinates.text() +
           "  atom records (I-J-K-L)\n" + records.text();
}

std::string substitution_text(const FitRun& run) {
    const SubstitutionStructure& rs = *run.substitution;
    std::string text = std::string("\nrs (Kraitchman on the measured constants, parent a ") +
                       model::rotor_name(rs.rotor) + " rotor)\n";
    for (const std::string& note : rs.notes)
        text += "  " + note + "\n";
    Columns table;
    table.row({"isotopologue", "atom", "a/A", "b/A", "c/A", "|z|/A", "r/A"});
    std::string notes;
    for (const SubstitutedAtom& atom : rs.atoms) {
        const model::Substitution& f = atom.found;
        std::vector<std::string> row = {run.species[atom.species].label, std::to_string(atom.atom)};
        for (std::size_t g = 0; g < 3; ++g) {
            if (!f.axes[g]) {
                row.push_back("-");
                continue;
            }
            const double error = std::max(f.axes[g]->costain, f.axes[g]->sigma);
            row.push_back(value_with_error(atom.sign[g] * f.axes[g]->value, error) +
                          (f.axes[g]->imaginary ? "i" : ""));
        }
        for (const auto* c : {&f.axial, &f.radial})
            row.push_back(*c ? value_with_error((*c)->value, std::max((*c)->costain, (*c)->sigma))
                             : "-");
        table.row(row);
        if (!f.note.empty())
            notes += "  " + run.species[atom.species].label + ": " + f.note + "\n";
    }
    text += table.text() + notes;
    if (!rs.values.empty()) {
        Columns values;
        values.row({"rs structure", "atoms", "value"});
        for (const SubstitutionValue& v : rs.values)
            values.row({v.name, v.between, value_with_error(v.value, v.sigma)});
        text += values.text();
    }
    return text;
}

std::string predictions_text(const FitRun& run) {
    if (run.predictions.empty())
        return {};
    Columns table;
    table.row({"set", "title", "A/MHz", "B/MHz", "C/MHz", "scaled A", "scaled B", "scaled C"});
    for (const Prediction& p : run.predictions) {
        std::vector<std::string> row = {std::to_string(p.set), p.title};
        for (double c : p.calculated)
            row.push_back(c > 0 ? fixed(c, 4) : "-");
        for (const auto& s : p.scaled)
            row.push_back(s ? fixed(*s, 4) : "-");
        table.row(row);
    }
    return "\npredictions for the deck's mass sets without measured constants\n" + table.text();
}

} // namespace

std::string fit_text(const FitRun& run) {
    std::string text = run.deck + ", molecule " + std::to_string(run.molecule->number) + ": " +
                       run.molecule->title1 + "\n" + std::to_string(run.species.size()) +
                       " isotopologues measured\n\n" + side_by_side(run);
    for (const ModelFit& fit : run.fits) {
        text += summary_line(fit);
        if (!fit.done)
            continue;
        text += correlation_text(fit) + residuals_text(fit) + structure_text(fit);
    }
    if (run.substitution)
        text += substitution_text(run);
    text += predictions_text(run);
    for (const std::string& w : run.warnings)
        text += "\nwarning: " + w;
    if (!run.warnings.empty())
        text += "\n";
    return text;
}

} // namespace tessen::fit
