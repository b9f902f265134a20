// From Cartesian positions to tessen's valence coordinates.
//
// tessen places the first record's atom at the origin, the second's on +x at x = R, the
// third's in the xy plane at y = R sin A (so y >= 0) and x = x(J) + R cos A when J is atom
// 1, x(J) - R cos A otherwise; every further atom from J, K and L by the frame e1 along
// J->K, e2 toward L perpendicular to e1, e3 = e1 x e2, at J + R (cos A e1 + sin A cos T e2
// + sin A sin T e3). That frame is right-handed, so the positions come back after a
// proper rotation, and T here is read off the same frame: the usual dihedral with the
// opposite sign. Angles are turned into tessen's degrees by its own degree factor, so that
// its radians are the angles measured here.

#include "deck/ZMatrix.hpp"

#include "companion/CommandError.hpp"
#include "companion/CompanionCommand.hpp"
#include "geometry/DegreeFactor.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace tessen::deck {

namespace {

Vec3 minus(const Vec3& p, const Vec3& q) {
    return {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
}
Vec3 plus_scaled(const Vec3& p, const Vec3& d, double s) {
    return {p[0] + s * d[0], p[1] + s * d[1], p[2] + s * d[2]};
}
double dot(const Vec3& p, const Vec3& q) {
    return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
}
Vec3 cross(const Vec3& p, const Vec3& q) {
    return {p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
}
double norm(const Vec3& p) {
    return std::sqrt(dot(p, p));
}
Vec3 unit(const Vec3& p) {
    const double n = norm(p);
    return {p[0] / n, p[1] / n, p[2] / n};
}

// The angle between two directions, in degrees.
double angle_between(const Vec3& u, const Vec3& v) {
    const double c = std::clamp(dot(u, v) / (norm(u) * norm(v)), -1.0, 1.0);
    return std::acos(c) * 180.0 / std::numbers::pi;
}

// A unit vector perpendicular to u.
Vec3 perpendicular(const Vec3& u) {
    const Vec3 n = unit(u);
    Vec3 axis = {1, 0, 0};
    if (std::fabs(n[0]) > 0.6)
        axis = {0, 1, 0};
    return unit(cross(n, axis));
}

// An index that a search has found. A search finds nothing only when the distances or
// angles it compares are not numbers; the structure is then refused, in every build, so
// that no unset index is ever used.
int found(int index) {
    if (index < 0)
        throw companion::CommandError(companion::kExitFailed,
                                      "no valence coordinates: a distance or an angle between "
                                      "its atoms is not a number");
    return index;
}

// An angle in radians as tessen's deck gives it: degrees by its degree factor.
double deck_degrees(double radians) {
    return radians / double(kDegreeFactor);
}

class Builder {
  public:
    Builder(const std::vector<Vec3>& positions, const std::vector<std::vector<bool>>& bonded)
        : points_(positions), bonded_(bonded), real_(static_cast<int>(positions.size())) {}

    ValenceCoordinates build() {
        place_first(0);
        if (real_ == 1) {
            add_dummy_second();
        } else {
            place_second(found(nearest_unplaced(0)));
        }
        while (placed_.size() < 3 && placed_real_ < real_) {
            const int next = found(next_atom());
            if (collinear_with_axis(next))
                add_dummy_third();
            else
                place_third(next);
        }
        if (placed_.size() < 3)
            add_dummy_third();
        while (placed_real_ < real_)
            place_by_frame(found(next_atom()));
        return {std::move(records_), real_, static_cast<int>(points_.size()) - real_};
    }

  private:
    std::vector<Vec3> points_; // real atoms, then dummies
    const std::vector<std::vector<bool>>& bonded_;
    int real_;
    std::vector<int> placed_; // indices into points_, in record order
    std::vector<bool> is_placed_ = std::vector<bool>(points_.size(), false);
    int placed_real_ = 0;
    std::vector<AtomRecord> records_;

    bool is_real(int p) const { return p < real_; }
    double distance(int p, int q) const { return norm(minus(points_[p], points_[q])); }

    void mark_placed(int p) {
        if (static_cast<std::size_t>(p) >= is_placed_.size())
            is_placed_.resize(p + 1, false);
        is_placed_[p] = true;
        placed_.push_back(p);
        if (is_real(p))
            ++placed_real_;
    }

    int add_point(const Vec3& position) {
        points_.push_back(position);
        return static_cast<int>(points_.size()) - 1;
    }

    // ---- choosing atoms ----------------------------------------------------------------

    int nearest_unplaced(int to) const {
        int best = -1;
        for (int p = 0; p < real_; ++p)
            if (!is_placed_[p] && (best < 0 || distance(p, to) < distance(best, to)))
                best = p;
        return best;
    }

    // The unplaced real atom nearest to any placed real atom (the lowest number on a tie).
    int next_atom() const {
        int best = -1;
        double best_distance = std::numeric_limits<double>::infinity();
        for (int p = 0; p < real_; ++p) {
            if (is_placed_[p])
                continue;
            for (int q : placed_)
                if (is_real(q) && distance(p, q) < best_distance) {
                    best = p;
                    best_distance = distance(p, q);
                }
        }
        return best;
    }

    // The placed real atom nearest to p.
    int nearest_placed(int p) const {
        int best = -1;
        for (int q : placed_)
            if (is_real(q) && (best < 0 || distance(p, q) < distance(best, p)))
                best = q;
        return best;
    }

    bool bonded(int p, int q) const { return is_real(p) && is_real(q) && bonded_[p][q]; }

    // ---- the first three records -------------------------------------------------------

    void place_first(int p) {
        mark_placed(p);
        records_.push_back({p + 1, 0, 0, 0, 0, 0, 0});
    }

    void place_second(int p) {
        mark_placed(p);
        records_.push_back({p + 1, placed_[0] + 1, 0, 0, distance(p, placed_[0]), 0, 0});
    }

    // A single atom: a dummy 1 A along x.
    void add_dummy_second() {
        const int d = add_point(plus_scaled(points_[placed_[0]], {1, 0, 0}, 1.0));
        place_second(d);
    }

    // Whether p lies within the collinear limit of the line of the first two atoms.
    bool collinear_with_axis(int p) const {
        const Vec3 axis = minus(points_[placed_[1]], points_[placed_[0]]);
        const double angle = angle_between(axis, minus(points_[p], points_[placed_[0]]));
        const double at_second = angle_between(minus(points_[placed_[0]], points_[placed_[1]]),
                                               minus(points_[p], points_[placed_[1]]));
        return std::min({angle, 180.0 - angle, at_second, 180.0 - at_second}) < kCollinearLimit;
    }

    // The third record: in the xy plane of tessen's frame, x from x(J) by the sign rule.
    void place_third(int p) {
        const int first = placed_[0];
        const int j = distance(p, placed_[0]) <= distance(p, placed_[1]) ? placed_[0] : placed_[1];
        const Vec3 ex = unit(minus(points_[placed_[1]], points_[first]));
        const double x = dot(minus(points_[p], points_[first]), ex);
        const double xj = dot(minus(points_[j], points_[first]), ex);
        const double r = distance(p, j);
        // x = x(J) + R cos A when J is atom 1 (the first record's atom), minus otherwise.
        const double cos_a = std::clamp((j == first ? x - xj : xj - x) / r, -1.0, 1.0);
        mark_placed(p);
        records_.push_back({p + 1, j + 1, 0, 0, r, deck_degrees(std::acos(cos_a)), 0});
    }

    // A dummy 1 A from the first atom, perpendicular to the first two: the frame that a
    // linear start lacks.
    void add_dummy_third() {
        const Vec3 axis = minus(points_[placed_[1]], points_[placed_[0]]);
        const int d = add_point(plus_scaled(points_[placed_[0]], perpendicular(axis), 1.0));
        place_third(d);
    }

    // ---- records from the fourth on ----------------------------------------------------

    // K: a placed atom bonded to J where there is one (a real atom before a dummy), at an
    // angle I-J-K away from 0, which would read as the tetrahedral default; an angle near
    // 180 is fine (a linear chain), though one away from it is taken first among equals.
    int choose_k(int i, int j) const {
        int best = -1;
        double best_score = -1;
        for (int k : placed_) {
            if (k == j)
                continue;
            const double angle =
                angle_between(minus(points_[i], points_[j]), minus(points_[k], points_[j]));
            if (angle < kCollinearLimit)
                continue;
            const double score = (bonded(j, k) ? 4.0 : 0.0) + (is_real(k) ? 2.0 : 0.0) +
                                 (angle <= 180.0 - kCollinearLimit ? 1.0 : 0.0) -
                                 distance(j, k) / 1000.0;
            if (score > best_score) {
                best = k;
                best_score = score;
            }
        }
        return best;
    }

    // How far the frame of J, K and L is from collinear, in degrees (0 at collinear).
    double frame_quality(int j, int k, int l) const {
        const double angle =
            angle_between(minus(points_[k], points_[j]), minus(points_[l], points_[j]));
        return std::min(angle, 180.0 - angle);
    }

    // L: the placed atom that makes the best frame with J and K, preferring atoms bonded to
    // J or K among those beyond the collinear limit.
    int choose_l(int j, int k) const {
        int best = -1;
        double best_score = -1;
        for (int l : placed_) {
            if (l == j || l == k)
                continue;
            const double quality = frame_quality(j, k, l);
            const double score = quality + (quality >= kCollinearLimit ? 1000.0 : 0.0) +
                                 ((bonded(j, l) || bonded(k, l)) ? 100.0 : 0.0);
            if (score > best_score) {
                best = l;
                best_score = score;
            }
        }
        return best;
    }

    // A dummy 1 A from J perpendicular to J->K, placed from J, K and the best L there is.
    int add_dummy_beside(int j, int k) {
        const int l = found(choose_l(j, k));
        const Vec3 e1 = unit(minus(points_[k], points_[j]));
        Vec3 w = minus(points_[l], points_[j]);
        w = plus_scaled(w, e1, -dot(w, e1));
        const Vec3 direction = norm(w) > 1e-6 ? unit(w) : perpendicular(e1);
        const int d = add_point(plus_scaled(points_[j], direction, 1.0));
        push_frame_record(d, j, k, l);
        return d;
    }

    void place_by_frame(int i) {
        const int j = found(nearest_placed(i));
        int k = choose_k(i, j);
        if (k < 0)
            k = add_dummy_beside(j, placed_[0] == j ? placed_[1] : placed_[0]);
        int l = choose_l(j, k);
        if (l < 0 || frame_quality(j, k, l) < kCollinearLimit)
            l = add_dummy_beside(j, k);
        push_frame_record(i, j, k, l);
    }

    // The record that places p from J, K and L, read off tessen's frame.
    void push_frame_record(int p, int j, int k, int l) {
        const Vec3 e1 = unit(minus(points_[k], points_[j]));
        Vec3 w = minus(points_[l], points_[j]);
        w = plus_scaled(w, e1, -dot(w, e1));
        const Vec3 e2 = unit(w);
        const Vec3 e3 = cross(e1, e2);
        const Vec3 d = minus(points_[p], points_[j]);
        const double r = norm(d);
        const double a = std::acos(std::clamp(dot(d, e1) / r, -1.0, 1.0));
        const double t = std::atan2(dot(d, e3), dot(d, e2));
        mark_placed(p);
        records_.push_back({p + 1, j + 1, k + 1, l + 1, r, deck_degrees(a), deck_degrees(t)});
    }
};

} // namespace

ValenceCoordinates valence_coordinates(const std::vector<Vec3>& positions,
                                       const std::vector<std::vector<bool>>& bonded) {
    if (positions.empty())
        return {};
    return Builder(positions, bonded).build();
}

} // namespace tessen::deck
