#pragma once

#include "model/Construction.hpp"

#include <Eigen/Dense>

#include <array>
#include <vector>

namespace tessen::model {

// The mass properties of atoms with masses (a dummy atom's 0 counts for nothing).
struct Inertia {
    double total_mass = 0;
    Eigen::Vector3d center = Eigen::Vector3d::Zero();
    Eigen::Matrix3d tensor = Eigen::Matrix3d::Zero(); // about the centre of mass, u A^2
    std::array<double, 3> moments{};                  // Ia <= Ib <= Ic
    // Columns a, b, c: the principal axes in the input frame, each with its largest
    // component positive for a and b, and c = a x b (a right-handed frame).
    Eigen::Matrix3d axes = Eigen::Matrix3d::Identity();
};

// The inertia tensor about the centre of mass and its principal moments and axes
// (Eigen's SelfAdjointEigenSolver: the tensor is symmetric, and its eigenvalues come
// sorted and accurate to the last bits).
Inertia inertia(const std::vector<Eigen::Vector3d>& positions, const std::vector<double>& masses);

// Each atom's coordinates on the principal axes a, b, c.
std::vector<Eigen::Vector3d> principal_coordinates(const Inertia& inertia,
                                                   const std::vector<Eigen::Vector3d>& positions);

// The derivatives of Ia, Ib, Ic (rows) with respect to the structure's coordinates
// (columns): dI_g = 2 sum_i m_i (r_i - (e_g . r_i) e_g) . dr_i, with r_i from the centre of
// mass (its own shift changes no moment to first order). For two equal moments the
// derivative is the one along the axes the solver chose.
Eigen::Matrix3Xd moment_derivatives(const Inertia& inertia, const Structure& structure,
                                    const std::vector<double>& masses);

} // namespace tessen::model
