#include "fit/MomentModel.hpp"

#include "companion/CommandError.hpp"
#include "model/Construction.hpp"
#include "model/Inertia.hpp"
#include "model/Rotor.hpp"

#include <cmath>

namespace tessen::fit {

namespace {

using companion::CommandError;
using Eigen::Index;

constexpr char kAxes[3] = {'a', 'b', 'c'};
// A structure whose Pcc is within this of 0 (relative to Ic) is planar.
constexpr double kPlanarTolerance = 1e-9;

// The letters of the model's own constants, in order.
std::string constant_letters(ModelKind kind) {
    switch (kind) {
    case ModelKind::r0:
        return "";
    case ModelKind::rIeps:
        return "e";
    case ModelKind::rm1:
        return "c";
    case ModelKind::rm2:
        break;
    }
    return "cd";
}

std::string constant_name(char letter, int axis) {
    return std::string(letter == 'e' ? "eps" : std::string(1, letter)) + "_" + kAxes[axis];
}

bool axis_measured(const std::vector<Species>& species, int axis, DataKind data) {
    if (data == DataKind::planar)
        return true;
    for (const Species& s : species)
        if (s.constants[static_cast<std::size_t>(axis)])
            return true;
    return false;
}

bool is_planar(const model::DeckMolecule& molecule) {
    const model::Structure s = model::build_structure(molecule.records, molecule.n);
    const auto moments = model::inertia(s.positions, molecule.mass_sets.front().masses).moments;
    return std::fabs(model::planar_moments(moments)[2]) <= kPlanarTolerance * moments[2];
}

std::vector<Datum> data_points(const MomentModel& model, const std::string& file) {
    std::vector<Datum> points;
    for (std::size_t k = 0; k < model.species.size(); ++k) {
        const Species& s = model.species[k];
        if (model.data == DataKind::planar) {
            for (const auto& c : s.constants)
                if (!c)
                    throw CommandError(2, "--data planar needs A, B and C of every row", file,
                                       s.line);
            for (int axis = 0; axis < (model.planar_molecule ? 2 : 3); ++axis)
                points.push_back({k, axis});
            continue;
        }
        for (int axis = 0; axis < 3; ++axis)
            if (s.constants[static_cast<std::size_t>(axis)])
                points.push_back({k, axis});
    }
    return points;
}

// (m_1 m_2 ... m_N / M)^(1 / (2N - 2)) over the atoms with mass, by logarithms.
double mass_factor(const std::vector<double>& masses) {
    double logs = 0, total = 0;
    int atoms = 0;
    for (double m : masses)
        if (m > 0) {
            logs += std::log(m);
            total += m;
            ++atoms;
        }
    if (atoms < 2)
        return 0.0;
    return std::exp((logs - std::log(total)) / (2.0 * atoms - 2.0));
}

// The structural parameters' columns from the coordinates' (each member with its sign).
Eigen::Matrix3Xd parameter_columns(const MomentModel& model,
                                   const Eigen::Matrix3Xd& by_coordinate) {
    Eigen::Matrix3Xd columns =
        Eigen::Matrix3Xd::Zero(3, static_cast<Index>(model.parameters.size()));
    Index c = 0;
    for (std::size_t k = 0; k < model.parameters.size(); ++k)
        for (const TiedCoordinate& member : model.parameters[k].members)
            columns.col(static_cast<Index>(k)) += member.sign * by_coordinate.col(c++);
    return columns;
}

// The model's terms added to the structure's moments, and their derivatives.
void add_model_terms(const MomentModel& model, const Eigen::VectorXd& p,
                     const std::vector<double>& masses, ModelMoments& out) {
    const Index first = static_cast<Index>(model.parameters.size());
    const double factor = model.kind == ModelKind::rm2 ? mass_factor(masses) : 0.0;
    const std::array<double, 3> structural = out.moments;
    for (std::size_t k = 0; k < model.constants.size(); ++k) {
        const ModelConstant& constant = model.constants[k];
        const Index column = first + static_cast<Index>(k);
        const double value = p[column];
        const double moment = structural[static_cast<std::size_t>(constant.axis)];
        const double root = std::sqrt(std::max(moment, 0.0));
        double& target = out.moments[static_cast<std::size_t>(constant.axis)];
        if (constant.letter == 'e') {
            target += value;
            out.derivatives(constant.axis, column) = 1.0;
        } else if (constant.letter == 'c') {
            target += value * root;
            out.derivatives(constant.axis, column) = root;
            // d(c sqrt(I)) = c dI / (2 sqrt(I)) on the structural columns.
            if (root > 0)
                out.derivatives.row(constant.axis).head(first) *= 1.0 + value / (2.0 * root);
        } else {
            target += value * factor;
            out.derivatives(constant.axis, column) = factor;
        }
    }
}

double datum_value(DataKind data, const std::array<double, 3>& moments, int axis) {
    switch (data) {
    case DataKind::moments:
        return moments[static_cast<std::size_t>(axis)];
    case DataKind::constants:
        return model::kConstantFactor / moments[static_cast<std::size_t>(axis)];
    case DataKind::planar:
        break;
    }
    return model::planar_moments(moments)[static_cast<std::size_t>(axis)];
}

// d(datum) / d(moments): a row of three.
Eigen::RowVector3d datum_gradient(DataKind data, const std::array<double, 3>& moments, int axis) {
    Eigen::RowVector3d gradient = Eigen::RowVector3d::Zero();
    const auto g = static_cast<std::size_t>(axis);
    if (data == DataKind::moments) {
        gradient[axis] = 1.0;
    } else if (data == DataKind::constants) {
        gradient[axis] = -model::kConstantFactor / (moments[g] * moments[g]);
    } else {
        gradient.setConstant(0.5);
        gradient[axis] = -0.5;
    }
    return gradient;
}

// The measured datum and its uncertainty (1 when unweighted).
std::pair<double, double> measured_datum(const MomentModel& model, const Species& s, int axis) {
    const bool weighted = s.sigma[0] > 0 || s.sigma[1] > 0 || s.sigma[2] > 0;
    const auto g = static_cast<std::size_t>(axis);
    const auto moment_sigma = [&](std::size_t h) {
        const double b = *s.constants[h];
        return model::kConstantFactor * s.sigma[h] / (b * b);
    };
    switch (model.data) {
    case DataKind::moments:
        return {measured_moment(s, axis), weighted ? moment_sigma(g) : 1.0};
    case DataKind::constants:
        return {*s.constants[g], weighted ? s.sigma[g] : 1.0};
    case DataKind::planar:
        break;
    }
    const std::array<double, 3> moments = {measured_moment(s, 0), measured_moment(s, 1),
                                           measured_moment(s, 2)};
    // Each planar moment's uncertainty from the three moments', their correlation neglected.
    const double sigma =
        0.5 * std::sqrt(moment_sigma(0) * moment_sigma(0) + moment_sigma(1) * moment_sigma(1) +
                        moment_sigma(2) * moment_sigma(2));
    return {model::planar_moments(moments)[g], weighted ? sigma : 1.0};
}

} // namespace

const char* model_name(ModelKind kind) {
    switch (kind) {
    case ModelKind::r0:
        return "r0";
    case ModelKind::rIeps:
        return "rIeps";
    case ModelKind::rm1:
        return "rm1";
    case ModelKind::rm2:
        break;
    }
    return "rm2";
}

const char* constant_unit(char letter) {
    return letter == 'e' ? "u A^2" : letter == 'c' ? "u^1/2 A" : "u^1/2 A^2";
}

const char* data_name(DataKind kind) {
    switch (kind) {
    case DataKind::moments:
        return "moments";
    case DataKind::constants:
        return "constants";
    case DataKind::planar:
        break;
    }
    return "planar";
}

double measured_moment(const Species& s, int axis) {
    return model::kConstantFactor / *s.constants[static_cast<std::size_t>(axis)];
}

MomentModel set_up_model(ModelKind kind, DataKind data, const model::DeckMolecule& molecule,
                         const std::vector<StructureParameter>& parameters,
                         const std::vector<Species>& species, const std::string& file) {
    MomentModel model;
    model.kind = kind;
    model.data = data;
    model.molecule = &molecule;
    model.parameters = parameters;
    model.species = species;
    model.planar_molecule = is_planar(molecule);
    for (char letter : constant_letters(kind))
        for (int axis = 0; axis < 3; ++axis) {
            const std::string name = constant_name(letter, axis);
            if (axis_measured(species, axis, data))
                model.constants.push_back({name, axis, letter});
            else
                model.held.push_back(name);
        }
    model.data_points = data_points(model, file);
    return model;
}

std::vector<ModelMoments> model_moments(const MomentModel& model, const Eigen::VectorXd& p,
                                        const std::vector<std::vector<double>>& masses) {
    const std::vector<double> structural(p.data(), p.data() + model.parameters.size());
    const std::vector<model::AtomRecord> records =
        records_with(model.parameters, structural, model.molecule->records);
    const model::Structure structure =
        model::build_structure(records, model.molecule->n, coordinates_of(model.parameters));
    std::vector<ModelMoments> result;
    result.reserve(masses.size());
    for (const std::vector<double>& m : masses) {
        const model::Inertia frame = model::inertia(structure.positions, m);
        ModelMoments out;
        out.moments = frame.moments;
        out.derivatives = Eigen::Matrix3Xd::Zero(3, p.size());
        out.derivatives.leftCols(static_cast<Index>(model.parameters.size())) =
            parameter_columns(model, model::moment_derivatives(frame, structure, m));
        add_model_terms(model, p, m, out);
        result.push_back(std::move(out));
    }
    return result;
}

Eigen::VectorXd start_point(const MomentModel& model) {
    Eigen::VectorXd p =
        Eigen::VectorXd::Zero(static_cast<Index>(model.parameters.size() + model.constants.size()));
    const std::vector<double> start = start_values(model.parameters, *model.molecule);
    for (std::size_t k = 0; k < start.size(); ++k)
        p[static_cast<Index>(k)] = start[k];
    return p;
}

Problem fit_problem(const MomentModel& model) {
    Problem problem;
    for (const StructureParameter& parameter : model.parameters)
        problem.parameter_names.push_back(parameter.name);
    for (const ModelConstant& constant : model.constants)
        problem.parameter_names.push_back(constant.name);
    const auto n = static_cast<Index>(model.data_points.size());
    problem.observed.resize(n);
    problem.sigma.resize(n);
    for (Index i = 0; i < n; ++i) {
        const Datum& d = model.data_points[static_cast<std::size_t>(i)];
        const auto [value, sigma] = measured_datum(model, model.species[d.species], d.axis);
        problem.observed[i] = value;
        problem.sigma[i] = sigma;
    }
    std::vector<std::vector<double>> masses;
    for (const Species& s : model.species)
        masses.push_back(s.masses);
    problem.evaluate = [&model, masses](const Eigen::VectorXd& p, Eigen::VectorXd& f,
                                        Eigen::MatrixXd& jacobian) {
        const std::vector<ModelMoments> moments = model_moments(model, p, masses);
        const auto rows = static_cast<Index>(model.data_points.size());
        f.resize(rows);
        jacobian.resize(rows, p.size());
        for (Index i = 0; i < rows; ++i) {
            const Datum& d = model.data_points[static_cast<std::size_t>(i)];
            const ModelMoments& m = moments[d.species];
            f[i] = datum_value(model.data, m.moments, d.axis);
            jacobian.row(i) = datum_gradient(model.data, m.moments, d.axis) * m.derivatives;
        }
    };
    return problem;
}

} // namespace tessen::fit
