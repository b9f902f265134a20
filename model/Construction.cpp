#include "model/Construction.hpp"

#include "companion/CommandError.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace tessen::model {

namespace {

using Eigen::Matrix3d;
using Eigen::Matrix3Xd;
using Eigen::Vector3d;

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// The tetrahedral angle that a bond angle of exactly 0 stands for.
const double kTetrahedralCos = -1.0 / 3.0;
const double kTetrahedralSin = std::sqrt(8.0) / 3.0;
// L this close to the line J-K, relative to |L - J|, gives no frame.
constexpr double kCollinear = 1e-12;

// The positions and derivatives of every row the records name, by atom number.
struct Table {
    std::vector<Vector3d> position;
    std::vector<Matrix3Xd> derivative;
};

// What a record's own coordinates give: the local displacement and its derivatives with
// respect to R, A and T (per A and per degree), on the local axes.
struct Local {
    Vector3d offset;
    Vector3d d_length, d_angle, d_dihedral;
};

// cos A and sin A, with the tetrahedral angle for an A of exactly 0.
std::pair<double, double> bond_angle(double degrees) {
    if (degrees == 0.0)
        return {kTetrahedralCos, kTetrahedralSin};
    return {std::cos(degrees * kRadiansPerDegree), std::sin(degrees * kRadiansPerDegree)};
}

// A record from the fourth on: (R cos A, R sin A cos T, R sin A sin T).
Local local_offset(const AtomRecord& rec) {
    const auto [ca, sa] = bond_angle(rec.a);
    const double t = rec.t * kRadiansPerDegree;
    const double ct = std::cos(t), st = std::sin(t);
    const double r = rec.r;
    Local local;
    local.offset = {r * ca, r * sa * ct, r * sa * st};
    local.d_length = {ca, sa * ct, sa * st};
    local.d_angle = Vector3d(-r * sa, r * ca * ct, r * ca * st) * kRadiansPerDegree;
    local.d_dihedral = Vector3d(0.0, -r * sa * st, r * sa * ct) * kRadiansPerDegree;
    return local;
}

// The third record, in the xy plane: (R cos A, R sin A, 0), whatever T is.
Local planar_offset(const AtomRecord& rec) {
    const auto [ca, sa] = bond_angle(rec.a);
    const double r = rec.r;
    Local local;
    local.offset = {r * ca, r * sa, 0.0};
    local.d_length = {ca, sa, 0.0};
    local.d_angle = Vector3d(-r * sa, r * ca, 0.0) * kRadiansPerDegree;
    local.d_dihedral.setZero();
    return local;
}

// The local frame of a record from u = K - J and v = L - J, and the differential of the
// placed atom with respect to u and v (a 3x3 matrix each).
struct Frame {
    Matrix3d axes; // columns e1, e2, e3
    Matrix3d d_u, d_v;
};

std::optional<Frame> local_frame(const Vector3d& u, const Vector3d& v, const Vector3d& offset) {
    const double lu = u.norm();
    if (!(lu > 0.0))
        return std::nullopt;
    const Vector3d e1 = u / lu;
    const double p = v.dot(e1);
    const Vector3d w = v - p * e1;
    const double lw = w.norm();
    // L on the line J-K (to the last few bits): no direction toward it.
    if (!(lw > kCollinear * v.norm()))
        return std::nullopt;
    const Vector3d e2 = w / lw;
    Frame f;
    f.axes.col(0) = e1;
    f.axes.col(1) = e2;
    f.axes.col(2) = e1.cross(e2);
    // The placed atom moves with the frame: d(offset . axes) for a change du, dv.
    const auto differential = [&](const Vector3d& du, const Vector3d& dv) {
        const Vector3d de1 = (du - e1 * e1.dot(du)) / lu;
        const Vector3d dw = dv - (dv.dot(e1) + v.dot(de1)) * e1 - p * de1;
        const Vector3d de2 = (dw - e2 * e2.dot(dw)) / lw;
        const Vector3d de3 = de1.cross(e2) + e1.cross(de2);
        return Vector3d(offset[0] * de1 + offset[1] * de2 + offset[2] * de3);
    };
    for (int k = 0; k < 3; ++k) {
        const Vector3d unit = Vector3d::Unit(k);
        f.d_u.col(k) = differential(unit, Vector3d::Zero());
        f.d_v.col(k) = differential(Vector3d::Zero(), unit);
    }
    return f;
}

[[noreturn]] void no_frame(const AtomRecord& rec) {
    throw companion::CommandError(1,
                                  "atom " + std::to_string(rec.i) + ": atoms " +
                                      std::to_string(rec.j) + ", " + std::to_string(rec.k) +
                                      " and " + std::to_string(rec.l) +
                                      " of its record lie on a line (no frame to place it in)",
                                  {}, rec.line);
}

// The columns of the record's own coordinates that are asked for.
void add_own_derivatives(std::size_t record, const std::vector<CoordinateRef>& wrt,
                         const Matrix3d& axes, const Local& local, Matrix3Xd& derivative) {
    for (std::size_t c = 0; c < wrt.size(); ++c) {
        if (wrt[c].record != record)
            continue;
        const Vector3d& d = wrt[c].kind == CoordinateKind::length  ? local.d_length
                            : wrt[c].kind == CoordinateKind::angle ? local.d_angle
                                                                   : local.d_dihedral;
        derivative.col(c) += axes * d;
    }
}

void place(const AtomRecord& rec, std::size_t record, const std::vector<CoordinateRef>& wrt,
           Table& table) {
    const auto row = [&](int atom) { return static_cast<std::size_t>(atom); };
    const std::size_t p = wrt.size();
    const Local local = local_offset(rec);
    Vector3d position;
    Matrix3Xd derivative = Matrix3Xd::Zero(3, static_cast<Eigen::Index>(p));
    Matrix3d axes = Matrix3d::Identity();
    if (rec.index == 1) {
        position.setZero();
    } else if (rec.index == 2) {
        position = {rec.r, 0.0, 0.0};
        add_own_derivatives(record, wrt, axes, {{}, Vector3d::UnitX(), {}, {}}, derivative);
    } else if (rec.index == 3) {
        // Along x from J (toward +x when J is atom 1, toward -x otherwise), y = R sin A;
        // only J's x is read.
        axes.col(0) = (rec.j == 1 ? 1.0 : -1.0) * Vector3d::UnitX();
        const Local planar = planar_offset(rec);
        position = Vector3d(table.position[row(rec.j)][0], 0.0, 0.0) + axes * planar.offset;
        derivative.row(0) = table.derivative[row(rec.j)].row(0);
        add_own_derivatives(record, wrt, axes, planar, derivative);
    } else {
        const Vector3d& pj = table.position[row(rec.j)];
        const Vector3d u = table.position[row(rec.k)] - pj;
        const Vector3d v = table.position[row(rec.l)] - pj;
        const std::optional<Frame> frame = local_frame(u, v, local.offset);
        if (!frame)
            no_frame(rec);
        const Frame& f = *frame;
        axes = f.axes;
        position = pj + axes * local.offset;
        if (p != 0) {
            const Matrix3Xd& dj = table.derivative[row(rec.j)];
            derivative = dj + f.d_u * (table.derivative[row(rec.k)] - dj) +
                         f.d_v * (table.derivative[row(rec.l)] - dj);
            add_own_derivatives(record, wrt, axes, local, derivative);
        }
    }
    table.position[row(rec.i)] = position;
    table.derivative[row(rec.i)] = std::move(derivative);
}

} // namespace

Structure build_structure(const std::vector<AtomRecord>& records, int n,
                          const std::vector<CoordinateRef>& wrt) {
    int rows = n;
    for (const AtomRecord& rec : records)
        rows = std::max({rows, rec.i, rec.j, rec.k, rec.l});
    Table table;
    const auto size = static_cast<std::size_t>(rows) + 1;
    table.position.assign(size, Vector3d::Zero());
    table.derivative.assign(size, Matrix3Xd::Zero(3, static_cast<Eigen::Index>(wrt.size())));
    for (std::size_t record = 0; record < records.size(); ++record)
        place(records[record], record, wrt, table);
    Structure structure;
    structure.positions.assign(table.position.begin() + 1, table.position.begin() + 1 + n);
    structure.derivatives.assign(table.derivative.begin() + 1, table.derivative.begin() + 1 + n);
    return structure;
}

} // namespace tessen::model
