#include "fit/StructureFit.hpp"

#include "companion/CommandError.hpp"
#include "model/Construction.hpp"
#include "model/Inertia.hpp"
#include "model/Rotor.hpp"

#include <cmath>
#include <sstream>

namespace tessen::fit {

namespace {

using Eigen::Index;

constexpr const char* kConstantNames[3] = {"A", "B", "C"};

std::string singular_values_text(const Summary& summary) {
    std::ostringstream text;
    text.precision(3);
    for (Index k = 0; k < summary.singular_values.size(); ++k)
        text << (k == 0 ? "" : " ") << summary.singular_values[k];
    return text.str();
}

std::string failure_of(const Summary& summary, const std::vector<std::string>& names) {
    if (summary.outcome == Outcome::not_converged)
        return "did not converge: " + summary.reason;
    std::string text = "the data do not determine ";
    for (std::size_t k = 0; k < summary.undetermined.size(); ++k)
        text += (k == 0 ? "" : ", ") + names[summary.undetermined[k]];
    return text + " (rank " + std::to_string(summary.rank) + " of " + std::to_string(summary.p) +
           "; singular values of the scaled Jacobian " + singular_values_text(summary) +
           "): " + summary.reason;
}

std::vector<std::vector<double>> species_masses(const MomentModel& model) {
    std::vector<std::vector<double>> masses;
    for (const Species& s : model.species)
        masses.push_back(s.masses);
    return masses;
}

// Each measured constant should lie nearest the calculated constant of its own axis.
void check_assignment(ModelFit& fit, const std::vector<ModelMoments>& moments) {
    for (std::size_t k = 0; k < fit.model.species.size(); ++k) {
        const Species& s = fit.model.species[k];
        for (int g = 0; g < 3; ++g) {
            const auto& measured = s.constants[static_cast<std::size_t>(g)];
            if (!measured)
                continue;
            const double observed = measured_moment(s, g);
            const auto distance = [&](int h) {
                return std::fabs(moments[k].moments[static_cast<std::size_t>(h)] - observed);
            };
            // Another axis must be nearer by more than the rotor tolerance: the two equal
            // moments of a linear molecule or a symmetric top are no misassignment.
            int nearest = g;
            for (int h = 0; h < 3; ++h)
                if (distance(h) < distance(nearest) - model::kRotorTolerance * observed)
                    nearest = h;
            if (nearest != g)
                fit.warnings.push_back(s.label + ": the measured " + kConstantNames[g] +
                                       " lies nearer the calculated " + kConstantNames[nearest] +
                                       ": the order of its calculated moments differs from the "
                                       "measured one");
        }
    }
}

void collect_residuals(ModelFit& fit, const std::vector<ModelMoments>& moments) {
    const MomentModel& model = fit.model;
    Index datum = 0;
    for (std::size_t k = 0; k < model.species.size(); ++k) {
        const Species& s = model.species[k];
        for (int g = 0; g < 3; ++g) {
            if (!s.constants[static_cast<std::size_t>(g)])
                continue;
            Residual r;
            r.species = k;
            r.axis = g;
            r.observed_mhz = *s.constants[static_cast<std::size_t>(g)];
            r.observed_moment = measured_moment(s, g);
            r.calculated_moment = moments[k].moments[static_cast<std::size_t>(g)];
            r.calculated_mhz = model::kConstantFactor / r.calculated_moment;
            if (model.data != DataKind::planar && datum < fit.summary.leverage.size())
                r.leverage = fit.summary.leverage[datum++];
            fit.residuals.push_back(r);
        }
    }
    if (model.data != DataKind::planar)
        return;
    for (std::size_t i = 0; i < model.data_points.size(); ++i) {
        const Datum& d = model.data_points[i];
        const auto index = static_cast<Index>(i);
        PlanarResidual r;
        r.species = d.species;
        r.axis = d.axis;
        r.calculated = fit.summary.calculated.size() > index ? fit.summary.calculated[index] : 0.0;
        r.observed = r.calculated +
                     (fit.summary.residuals.size() > index ? fit.summary.residuals[index] : 0.0);
        r.leverage = fit.summary.leverage.size() > index ? fit.summary.leverage[index] : 0.0;
        fit.planar_residuals.push_back(r);
    }
}

// The fitted structure, its principal coordinates for the molecule's own masses, the
// residuals and the warnings.
void describe_solution(ModelFit& fit) {
    const MomentModel& model = fit.model;
    fit.records = records_with(model.parameters, structural_values(fit), model.molecule->records);
    const model::Structure structure = model::build_structure(fit.records, model.molecule->n);
    const std::vector<double>& own = model.molecule->mass_sets.front().masses;
    fit.principal =
        model::principal_coordinates(model::inertia(structure.positions, own), structure.positions);
    const std::vector<ModelMoments> moments =
        model_moments(model, fit.summary.values, species_masses(model));
    collect_residuals(fit, moments);
    check_assignment(fit, moments);
    if (fit.summary.n == fit.summary.p)
        fit.warnings.push_back(std::string(model_name(model.kind)) +
                               ": as many data as parameters: the values have no errors");
}

} // namespace

std::vector<double> structural_values(const ModelFit& fit) {
    const auto& values = fit.summary.values;
    return std::vector<double>(values.data(), values.data() + fit.model.parameters.size());
}

ModelFit fit_model(const MomentModel& model, const Options& options) {
    ModelFit fit;
    fit.model = model;
    const Problem problem = fit_problem(fit.model);
    try {
        fit.summary = solve(problem, start_point(fit.model), options);
    } catch (const companion::CommandError& error) {
        if (error.status() != 1)
            throw;
        fit.failure = std::string("the structure cannot be built on the way: ") + error.what();
        return fit;
    }
    if (fit.summary.outcome != Outcome::converged) {
        fit.failure = failure_of(fit.summary, problem.parameter_names);
        return fit;
    }
    fit.done = true;
    describe_solution(fit);
    return fit;
}

} // namespace tessen::fit
