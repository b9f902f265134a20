// The symmetric 3x3 eigen-solver by Jacobi rotations.
//
// Each rotation annihilates the off-diagonal element of largest magnitude. The pivot is
// found without a full scan: for every row i the solver keeps the row maximum r(i), the
// largest magnitude among A(i, j) with j > i, and the column c(i) where it lies, and it
// brings that table up to date after each rotation only where the rotation touched it.
//
// The steps, as numbered in the code below:
//   1. Set V to the identity (flag 0) and the count to 0; an order of 1 or less ends here.
//   2. Fill the row-maximum table from the upper triangle.
//   3. Start with the threshold 1e38.
//   4. Take as pivot the row with the largest row maximum (a tie keeps the lower row).
//   5. A pivot of 0 means the matrix is diagonal: done.
//   6. When the pivot is at or below the threshold (or the threshold is 0), recompute the
//      threshold from the current diagonal; a pivot still at or below it means done.
//   7. Rotate the pivot pair: new diagonal pair, pivot element set to 0.
//   8. Keep the larger of the pair at the lower index (a quarter-turn of the rotation).
//   9. Rescan the other rows whose maximum lay in one of the two rotated columns.
//  10. Rotate the remaining elements of the two rotated rows and columns, offering each
//      new value to the row-maximum table.
//  11. Apply the rotation to the eigenvectors (flag 0).
//  12. Go back to step 4.
//
// Precision: every quantity named above is a float. Each formula is evaluated in double
// precision from float operands and rounded once, by the checked store, when it is
// stored; so the first fault (an overflow of a new diagonal element, say) ends the run
// there, in the order of evaluation. Only
// step 7 (the tangent and the cosine) and step 10 (the offers) use a value before it is
// rounded, and they say so where they do.
//
// Only the diagonal and the strict upper triangle of A are read or written.

#include "geometry/Jacobi3.hpp"

#include "geometry/Precision.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace tessen {
namespace {

// The storage holds order 3 at most; a larger order is solved as order 3.
constexpr std::int32_t kMaxOrder = 3;

// Relative tolerance of the stopping rule, 2^-27 (exact in single precision).
constexpr float kRelativeTolerance = 0x1p-27f;

constexpr float kInitialThreshold = 1e38f;

// A guard against an endless loop. An ordinary matrix needs a handful of rotations;
// when the guard is reached the solver stops iterating and returns what it has.
constexpr std::int32_t kRotationGuard = 1000;

// For each row i (counted from 1): r(i), the largest off-diagonal magnitude of the row's
// upper part, and c(i), the column where it lies.
struct RowMaxima {
    std::array<float, kMaxOrder + 1> r{};
    std::array<int, kMaxOrder + 1> c{};
};

struct Pivot {
    float b; // magnitude
    int p;   // row
    int q;   // column, p < q
};

// The cosine and sine of one rotation.
struct Rotation {
    float c;
    float s;
};

// The upper-triangle position of the element that pairs indices i and k (i != k).
struct Position {
    int row;
    int col;
};

Position upper_position(int i, int k) {
    return {std::min(i, k), std::max(i, k)};
}

void set_identity(Matrix3& v, int order) {
    for (int j = 1; j <= order; ++j) {
        for (int i = 1; i <= order; ++i) {
            element(v, i, j) = (i == j) ? 1.0f : 0.0f;
        }
    }
}

// Scans row i over columns i+1..order: the largest magnitude, a tie going to the later
// column, so a row of zeros ends at the last column. The element in column ignored_col
// (0 for none) is counted as 0.
void scan_row(const Matrix3& a, int order, int i, int ignored_col, RowMaxima& rm) {
    rm.r[i] = 0.0f;
    for (int j = i + 1; j <= order; ++j) {
        const float magnitude = (j == ignored_col) ? 0.0f : std::fabs(element(a, i, j));
        if (magnitude >= rm.r[i]) {
            rm.r[i] = magnitude;
            rm.c[i] = j;
        }
    }
}

// Step 2.
RowMaxima initial_row_maxima(const Matrix3& a, int order) {
    RowMaxima rm;
    for (int i = 1; i <= order - 1; ++i) {
        scan_row(a, order, i, 0, rm);
    }
    return rm;
}

// Step 4: a later row replaces the choice only with a strictly larger maximum.
Pivot choose_pivot(const RowMaxima& rm, int order) {
    int p = 1;
    for (int i = 2; i <= order - 1; ++i) {
        if (rm.r[i] > rm.r[p]) {
            p = i;
        }
    }
    return {rm.r[p], p, rm.c[p]};
}

// Step 6: the threshold 2^-27 times the smallest diagonal magnitude.
float threshold_from_diagonal(const Matrix3& a, int order) {
    float d = std::fabs(element(a, 1, 1));
    for (int k = 2; k <= order; ++k) {
        d = std::min(d, std::fabs(element(a, k, k)));
    }
    return store(static_cast<double>(kRelativeTolerance) * d);
}

// Step 7: the rotation that annihilates A(p, q), and the new diagonal pair.
Rotation annihilate(Matrix3& a, int p, int q) {
    const float apq = element(a, p, q);
    const float app = element(a, p, p);
    const float aqq = element(a, q, q);
    const double two_a = 2.0 * apq;

    const float d = store(static_cast<double>(app) - aqq);
    const float g = store(d >= 0.0f ? two_a : -two_a);

    // The tangent: the root of smaller magnitude of a*T^2 + D*T - a = 0. The square root
    // is taken of the unrounded sum; the unrounded tangent and cosine feed the next line.
    const double dd = d;
    const double t_unrounded =
        g / (std::fabs(dd) + std::sqrt(dd * dd + 4.0 * static_cast<double>(apq) * apq));
    const float t = store(t_unrounded);
    const double c_unrounded = 1.0 / std::sqrt(t_unrounded * t + 1.0);
    const float c = store(c_unrounded);
    const float s = store(c_unrounded * t);

    // The new diagonal pair, evaluated in exactly this order from the stored T and C.
    const double tt = t;
    const double cc = c;
    element(a, p, p) = store(((aqq * tt + two_a) * tt + app) * cc * cc);
    element(a, q, q) = store((aqq - (two_a - app * tt) * tt) * cc * cc);
    element(a, p, q) = 0.0f;
    return {c, s};
}

// Step 8: the larger of the pair goes to the lower index p. The rotation is then turned
// by a quarter turn, which keeps its cosine non-negative.
Rotation keep_larger_first(Matrix3& a, int p, int q, Rotation rot) {
    float& app = element(a, p, p);
    float& aqq = element(a, q, q);
    if (!(app < aqq)) {
        return rot;
    }
    std::swap(app, aqq);
    return {std::fabs(rot.s), rot.s > 0.0f ? -rot.c : rot.c};
}

// Step 9: rows other than p and q whose maximum lay in column p or q are rescanned, the
// element at their old maximum counted as 0. Step 10 folds the rotated values back in.
void refresh_rows(const Matrix3& a, int order, int p, int q, RowMaxima& rm) {
    for (int i = 1; i <= order - 1; ++i) {
        if (i != p && i != q && (rm.c[i] == p || rm.c[i] == q)) {
            scan_row(a, order, i, rm.c[i], rm);
        }
    }
}

// Stores a rotated element and offers it to its row's maximum. The comparison uses the
// unrounded value; the magnitude recorded is that of the stored one. A tie keeps the
// entry already recorded.
void store_and_offer(Matrix3& a, Position at_pos, double value, RowMaxima& rm) {
    const float stored = store(value);
    element(a, at_pos.row, at_pos.col) = stored;
    if (std::fabs(value) > rm.r[at_pos.row]) {
        rm.r[at_pos.row] = std::fabs(stored);
        rm.c[at_pos.row] = at_pos.col;
    }
}

// Step 10: for every other index i, the element x pairing i with p and the element y
// pairing i with q turn together.
void rotate_remaining(Matrix3& a, int order, int p, int q, Rotation rot, RowMaxima& rm) {
    rm.r[p] = 0.0f;
    rm.r[q] = 0.0f;
    const double c = rot.c;
    const double s = rot.s;
    for (int i = 1; i <= order; ++i) {
        if (i == p || i == q) {
            continue;
        }
        const Position x_pos = upper_position(i, p);
        const Position y_pos = upper_position(i, q);
        const float x = element(a, x_pos.row, x_pos.col);
        const float y = element(a, y_pos.row, y_pos.col);
        store_and_offer(a, x_pos, c * x + s * y, rm);
        store_and_offer(a, y_pos, c * y - s * x, rm);
    }
}

// Step 11: columns p and q of V turn with the rotation.
void rotate_vectors(Matrix3& v, int order, int p, int q, Rotation rot) {
    const double c = rot.c;
    const double s = rot.s;
    for (int i = 1; i <= order; ++i) {
        const float vp = element(v, i, p);
        const float vq = element(v, i, q);
        element(v, i, p) = store(c * vp + s * vq);
        element(v, i, q) = store(c * vq - s * vp);
    }
}

} // namespace

void JACOBI3(Matrix3& a, std::int32_t n, std::int32_t flag, Matrix3& v, std::int32_t& count) {
    const int order = static_cast<int>(std::min(n, kMaxOrder));

    // Step 1.
    if (flag == 0) {
        set_identity(v, order);
    }
    count = 0;
    if (order <= 1) {
        return;
    }

    RowMaxima rm = initial_row_maxima(a, order); // step 2
    float threshold = kInitialThreshold;         // step 3

    while (count < kRotationGuard) {
        const Pivot pivot = choose_pivot(rm, order); // step 4
        if (pivot.b <= 0.0f) {                       // step 5
            return;
        }
        if (threshold <= 0.0f || pivot.b <= threshold) { // step 6
            threshold = threshold_from_diagonal(a, order);
            if (pivot.b <= threshold) {
                return;
            }
        }
        ++count; // steps 7 to 11
        Rotation rot = annihilate(a, pivot.p, pivot.q);
        rot = keep_larger_first(a, pivot.p, pivot.q, rot);
        refresh_rows(a, order, pivot.p, pivot.q, rm);
        rotate_remaining(a, order, pivot.p, pivot.q, rot, rm);
        if (flag == 0) {
            rotate_vectors(v, order, pivot.p, pivot.q, rot);
        }
    } // step 12: back to step 4
}

} // namespace tessen
