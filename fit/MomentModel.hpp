#pragma once

#include "fit/LeastSquares.hpp"
#include "fit/ParameterMap.hpp"
#include "fit/Species.hpp"
#include "model/DeckMolecule.hpp"

#include <Eigen/Dense>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessen::fit {

// The least-squares models of the moments: I_obs(g) = I(g; p) plus
//   r0: nothing;  rIeps: eps_g;  rm1: c_g sqrt(I(g; p));
//   rm2: c_g sqrt(I(g; p)) + d_g (m_1 m_2 ... m_N / M)^(1 / (2N - 2)) over the N atoms
//   with mass.
enum class ModelKind { r0, rIeps, rm1, rm2 };
// What the least squares fits: the moments F / B, the constants, or the planar moments.
enum class DataKind { moments, constants, planar };

const char* model_name(ModelKind kind);
// The unit of a model constant by its letter: eps in u A^2, c in u^1/2 A, d in u^1/2 A^2.
const char* constant_unit(char letter);
const char* data_name(DataKind kind);

// A model's own constant on one axis: eps_a, c_b, d_c.
struct ModelConstant {
    std::string name;
    int axis = 0;
    char letter = 'c'; // 'e' (eps), 'c' or 'd'
};

// One datum of the fit: a constant (or planar moment, on the axis aa, bb, cc) of a species.
struct Datum {
    std::size_t species = 0;
    int axis = 0;
};

// A model set up on the data: its parameters (the structural ones, then its constants)
// and what it fits. Constants of an axis without measured data are held at 0 (`held`).
struct MomentModel {
    ModelKind kind = ModelKind::r0;
    DataKind data = DataKind::moments;
    const model::DeckMolecule* molecule = nullptr;
    std::vector<StructureParameter> parameters;
    std::vector<ModelConstant> constants;
    std::vector<std::string> held;
    std::vector<Species> species;
    std::vector<Datum> data_points;
    bool planar_molecule = false; // the deck's structure: then P_cc is not fitted
};

// The model, its constants and its data for the species. With --data planar, every species
// must give A, B and C (CommandError, status 2, at its line otherwise).
MomentModel set_up_model(ModelKind kind, DataKind data, const model::DeckMolecule& molecule,
                         const std::vector<StructureParameter>& parameters,
                         const std::vector<Species>& species, const std::string& file);

// The model's moments Ia, Ib, Ic of a species and their derivatives (3 x parameters).
struct ModelMoments {
    std::array<double, 3> moments{};
    Eigen::Matrix3Xd derivatives;
};

// Each mass list's model moments at the parameter values p.
std::vector<ModelMoments> model_moments(const MomentModel& model, const Eigen::VectorXd& p,
                                        const std::vector<std::vector<double>>& masses);

// The least-squares problem: the data, their uncertainties (1 when unweighted) and the
// model's values with their Jacobian.
Problem fit_problem(const MomentModel& model);

// The start: the deck's structural values, the model constants at 0.
Eigen::VectorXd start_point(const MomentModel& model);

// The measured value of a constant's moment, u A^2: F / B.
double measured_moment(const Species& s, int axis);

} // namespace tessen::fit
