#include "fit/FitJson.hpp"

#include <nlohmann/json.hpp>

#include <cmath>

namespace tessen::fit {

namespace {

using Eigen::Index;
using nlohmann::json;

constexpr const char* kAxisNames[3] = {"a", "b", "c"};
constexpr const char* kPlanarNames[3] = {"aa", "bb", "cc"};

json number(double value) {
    return std::isfinite(value) ? json(value) : json();
}

// A fitted value's standard error: none when the fit has none (n = p).
json error_of(const Summary& summary, std::size_t k) {
    if (summary.errors.size() <= static_cast<Index>(k) || summary.n == summary.p)
        return json();
    return number(summary.errors[static_cast<Index>(k)]);
}

json parameters_json(const ModelFit& fit) {
    json list = json::array();
    for (std::size_t k = 0; k < fit.model.parameters.size(); ++k) {
        const StructureParameter& p = fit.model.parameters[k];
        list.push_back({{"name", p.name},
                        {"tied", p.tied},
                        {"value", number(fit.summary.values[static_cast<Index>(k)])},
                        {"sigma", error_of(fit.summary, k)},
                        {"unit", model::coordinate_unit(p.kind)}});
    }
    return list;
}

json constants_json(const ModelFit& fit) {
    json list = json::array();
    const std::size_t first = fit.model.parameters.size();
    for (std::size_t k = 0; k < fit.model.constants.size(); ++k)
        list.push_back({{"name", fit.model.constants[k].name},
                        {"value", number(fit.summary.values[static_cast<Index>(first + k)])},
                        {"sigma", error_of(fit.summary, first + k)},
                        {"unit", constant_unit(fit.model.constants[k].letter)}});
    for (const std::string& held : fit.model.held)
        list.push_back({{"name", held}, {"value", 0.0}, {"sigma", json()}, {"held", true}});
    return list;
}

json matrix_json(const Eigen::MatrixXd& m) {
    json rows = json::array();
    for (Index i = 0; i < m.rows(); ++i) {
        json row = json::array();
        for (Index j = 0; j < m.cols(); ++j)
            row.push_back(number(m(i, j)));
        rows.push_back(row);
    }
    return rows;
}

json residuals_json(const ModelFit& fit) {
    json list = json::array();
    for (const Residual& r : fit.residuals)
        list.push_back({{"label", fit.model.species[r.species].label},
                        {"axis", kAxisNames[r.axis]},
                        {"observed_mhz", number(r.observed_mhz)},
                        {"calculated_mhz", number(r.calculated_mhz)},
                        {"observed_moment", number(r.observed_moment)},
                        {"calculated_moment", number(r.calculated_moment)},
                        {"leverage", r.leverage ? number(*r.leverage) : json()}});
    return list;
}

json planar_json(const ModelFit& fit) {
    json list = json::array();
    for (const PlanarResidual& r : fit.planar_residuals)
        list.push_back({{"label", fit.model.species[r.species].label},
                        {"axis", kPlanarNames[r.axis]},
                        {"observed", number(r.observed)},
                        {"calculated", number(r.calculated)},
                        {"leverage", number(r.leverage)}});
    return list;
}

json coordinates_json(const std::vector<Eigen::Vector3d>& principal) {
    json list = json::array();
    for (std::size_t i = 0; i < principal.size(); ++i)
        list.push_back(
            {{"atom", i + 1},
             {"principal",
              {number(principal[i][0]), number(principal[i][1]), number(principal[i][2])}}});
    return list;
}

json records_json(const std::vector<model::AtomRecord>& records) {
    json list = json::array();
    for (const model::AtomRecord& rec : records)
        list.push_back({{"atom", rec.i},
                        {"references", {rec.j, rec.k, rec.l}},
                        {"length", number(rec.r)},
                        {"angle", number(rec.a)},
                        {"dihedral", number(rec.t)}});
    return list;
}

json model_json(const ModelFit& fit) {
    const Summary& s = fit.summary;
    json object = {{"model", model_name(fit.model.kind)},
                   {"data", data_name(fit.model.data)},
                   {"converged", fit.done},
                   {"n", fit.model.data_points.size()},
                   {"p", fit.model.parameters.size() + fit.model.constants.size()}};
    if (!fit.done) {
        object["failure"] = fit.failure;
        json singular = json::array();
        for (Index k = 0; k < s.singular_values.size(); ++k)
            singular.push_back(number(s.singular_values[k]));
        object["singular_values"] = singular;
        return object;
    }
    object["deviation"] = number(s.deviation);
    object["chi2"] = number(s.chi2);
    object["iterations"] = s.iterations;
    object["condition_number"] = number(s.condition_number);
    object["parameters"] = parameters_json(fit);
    object["model_constants"] = constants_json(fit);
    object["correlation"] = matrix_json(s.correlation);
    object["residuals"] = residuals_json(fit);
    if (!fit.planar_residuals.empty())
        object["planar_residuals"] = planar_json(fit);
    object["coordinates"] = coordinates_json(fit.principal);
    object["structure"] = records_json(fit.records);
    return object;
}

json triple(const std::array<std::optional<model::SubstitutionCoordinate>, 3>& axes,
            double model::SubstitutionCoordinate::*field, const std::array<double, 3>& sign) {
    json list = json::array();
    for (std::size_t g = 0; g < 3; ++g)
        list.push_back(axes[g] ? number(sign[g] * ((*axes[g]).*field)) : json());
    return list;
}

json substitution_json(const FitRun& run) {
    json list = json::array();
    const std::array<double, 3> unsigned_axes = {1.0, 1.0, 1.0};
    for (const SubstitutedAtom& atom : run.substitution->atoms) {
        const model::Substitution& f = atom.found;
        json imaginary = json::array();
        for (std::size_t g = 0; g < 3; ++g)
            if (f.axes[g] && f.axes[g]->imaginary)
                imaginary.push_back(kAxisNames[g]);
        const bool none = !f.axes[0];
        json entry = {
            {"label", run.species[atom.species].label},
            {"atom", atom.atom},
            {"coordinates",
             none ? json() : triple(f.axes, &model::SubstitutionCoordinate::value, atom.sign)},
            {"imaginary", imaginary},
            {"costain", triple(f.axes, &model::SubstitutionCoordinate::costain, unsigned_axes)},
            {"sigma", triple(f.axes, &model::SubstitutionCoordinate::sigma, unsigned_axes)},
            {"mu", number(f.mu)}};
        if (f.axial) {
            entry["axial"] = number(f.axial->value);
            entry["radial"] = number(f.radial->value);
            entry["axial_costain"] = number(f.axial->costain);
            entry["radial_costain"] = number(f.radial->costain);
            entry["axial_sigma"] = number(f.axial->sigma);
            entry["radial_sigma"] = number(f.radial->sigma);
        }
        if (!f.note.empty())
            entry["note"] = f.note;
        list.push_back(entry);
    }
    return list;
}

json substitution_values_json(const SubstitutionStructure& rs) {
    json list = json::array();
    for (const SubstitutionValue& v : rs.values)
        list.push_back({{"name", v.name},
                        {"atoms", v.between},
                        {"value", number(v.value)},
                        {"sigma", number(v.sigma)},
                        {"unit", v.name[0] == 'r' ? "A" : "degrees"}});
    return list;
}

json predictions_json(const FitRun& run) {
    json list = json::array();
    for (const Prediction& p : run.predictions) {
        json calculated = json::array(), scaled = json::array();
        for (std::size_t g = 0; g < 3; ++g) {
            calculated.push_back(p.calculated[g] > 0 ? number(p.calculated[g]) : json());
            scaled.push_back(p.scaled[g] ? number(*p.scaled[g]) : json());
        }
        list.push_back({{"set", p.set},
                        {"title", p.title},
                        {"calculated_mhz", calculated},
                        {"scaled_mhz", scaled}});
    }
    return list;
}

} // namespace

std::string fit_json(const FitRun& run) {
    json models = json::array();
    for (const ModelFit& fit : run.fits)
        models.push_back(model_json(fit));
    json document = {{"deck", run.deck},
                     {"molecule", run.molecule->number},
                     {"models", models},
                     {"predictions", predictions_json(run)},
                     {"warnings", run.warnings}};
    if (run.substitution) {
        document["rs"] = substitution_json(run);
        document["rs_structure"] = substitution_values_json(*run.substitution);
        document["rs_rotor"] = model::rotor_name(run.substitution->rotor);
        document["rs_notes"] = run.substitution->notes;
    }
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace tessen::fit
