#include "model/Inertia.hpp"

namespace tessen::model {

namespace {

using Eigen::Matrix3d;
using Eigen::Vector3d;

// Makes the axis's largest component positive, so that the frame does not depend on the
// solver's choice of sign.
Vector3d signed_axis(const Vector3d& axis) {
    Eigen::Index largest = 0;
    axis.cwiseAbs().maxCoeff(&largest);
    return axis[largest] < 0 ? Vector3d(-axis) : axis;
}

} // namespace

Inertia inertia(const std::vector<Vector3d>& positions, const std::vector<double>& masses) {
    Inertia result;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        result.total_mass += masses[i];
        result.center += masses[i] * positions[i];
    }
    if (result.total_mass > 0)
        result.center /= result.total_mass;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Vector3d r = positions[i] - result.center;
        result.tensor += masses[i] * (r.squaredNorm() * Matrix3d::Identity() - r * r.transpose());
    }
    const Eigen::SelfAdjointEigenSolver<Matrix3d> solver(result.tensor);
    for (int g = 0; g < 3; ++g)
        result.moments[static_cast<std::size_t>(g)] = std::max(solver.eigenvalues()[g], 0.0);
    const Vector3d a = signed_axis(solver.eigenvectors().col(0));
    const Vector3d b = signed_axis(solver.eigenvectors().col(1));
    result.axes.col(0) = a;
    result.axes.col(1) = b;
    result.axes.col(2) = a.cross(b);
    return result;
}

std::vector<Vector3d> principal_coordinates(const Inertia& inertia,
                                            const std::vector<Vector3d>& positions) {
    std::vector<Vector3d> coordinates;
    coordinates.reserve(positions.size());
    for (const Vector3d& position : positions)
        coordinates.push_back(inertia.axes.transpose() * (position - inertia.center));
    return coordinates;
}

Eigen::Matrix3Xd moment_derivatives(const Inertia& inertia, const Structure& structure,
                                    const std::vector<double>& masses) {
    const Eigen::Index p = structure.derivatives.empty() ? 0 : structure.derivatives[0].cols();
    Eigen::Matrix3Xd derivatives = Eigen::Matrix3Xd::Zero(3, p);
    for (std::size_t i = 0; i < structure.positions.size(); ++i) {
        if (masses[i] == 0.0)
            continue;
        const Vector3d r = structure.positions[i] - inertia.center;
        for (int g = 0; g < 3; ++g) {
            const Vector3d e = inertia.axes.col(g);
            const Vector3d lever = 2 * masses[i] * (r - e.dot(r) * e);
            derivatives.row(g) += lever.transpose() * structure.derivatives[i];
        }
    }
    return derivatives;
}

} // namespace tessen::model
