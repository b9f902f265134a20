// Tests of the symmetric 3x3 eigen-solver JACOBI3.
//
// Where the rotation sequence can be followed by hand (one or two rotations with simple
// tangents), the tests state the exact single-precision results. Where many rotations
// and their roundings are involved, they check the decomposition A = V diag V^T with
// tolerances of a few float ulps relative to the size of the matrix.

#include "geometry/Jacobi3.hpp"
#include "records/Diagnostic.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>

namespace tessen {
namespace {

using Rows = std::array<std::array<float, 3>, 3>;

// The single-precision value nearest 1/sqrt(2): the cosine and sine of a 45 degree turn.
constexpr float kHalfSqrt2 = 0.70710677f;

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

// The matrix with the given rows, stored column by column.
Matrix3 from_rows(const Rows& rows) {
    Matrix3 m{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m[i + 3 * j] = rows[i][j];
        }
    }
    return m;
}

// Element (i, j) counted from 1.
float el(const Matrix3& m, int i, int j) {
    return m[(i - 1) + 3 * (j - 1)];
}

std::array<float, 3> diagonal(const Matrix3& m) {
    return {m[0], m[4], m[8]};
}

std::array<float, 3> column(const Matrix3& m, int j) {
    return {el(m, 1, j), el(m, 2, j), el(m, 3, j)};
}

bool same_bits(const Matrix3& x, const Matrix3& y) {
    return std::memcmp(x.data(), y.data(), sizeof(Matrix3)) == 0;
}

struct Solution {
    Matrix3 a;
    Matrix3 v;
    std::int32_t count;
};

// Runs the solver with eigenvectors on; V and the count start with junk to show that
// the solver sets them.
Solution solve(const Matrix3& input, std::int32_t n = 3) {
    Solution s{input, {}, -7};
    s.v.fill(-99.0f);
    JACOBI3(s.a, n, 0, s.v, s.count);
    return s;
}

// Largest |(V^T A V)(i, j) - diag(i, j)| and largest |(V^T V)(i, j) - I(i, j)|, in
// double precision, with A read from the upper triangle of the input.
struct Residuals {
    double decomposition;
    double orthogonality;
};

Residuals residuals(const Matrix3& input, const Solution& s) {
    auto a = [&](int i, int j) {
        return static_cast<double>(el(input, std::min(i, j), std::max(i, j)));
    };
    auto v = [&](int i, int j) { return static_cast<double>(el(s.v, i, j)); };
    Residuals r{0.0, 0.0};
    for (int p = 1; p <= 3; ++p) {
        for (int q = 1; q <= 3; ++q) {
            double vav = 0.0;
            double vv = 0.0;
            for (int i = 1; i <= 3; ++i) {
                vv += v(i, p) * v(i, q);
                for (int j = 1; j <= 3; ++j) {
                    vav += v(i, p) * a(i, j) * v(j, q);
                }
            }
            const double want_vav = (p == q) ? el(s.a, p, p) : 0.0;
            const double want_vv = (p == q) ? 1.0 : 0.0;
            r.decomposition = std::max(r.decomposition, std::fabs(vav - want_vav));
            r.orthogonality = std::max(r.orthogonality, std::fabs(vv - want_vv));
        }
    }
    return r;
}

double frobenius_norm(const Matrix3& input) {
    double sum = 0.0;
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            const double x = el(input, std::min(i, j), std::max(i, j));
            sum += x * x;
        }
    }
    return std::sqrt(sum);
}

// The largest off-diagonal magnitude left in the upper triangle.
float largest_off_diagonal(const Matrix3& m) {
    return std::max({std::fabs(el(m, 1, 2)), std::fabs(el(m, 1, 3)), std::fabs(el(m, 2, 3))});
}

// The stopping rule's bound: 2^-27 times the smallest diagonal magnitude.
double stopping_bound(const Matrix3& m) {
    const auto d = diagonal(m);
    return 0x1p-27 * std::min({std::fabs(d[0]), std::fabs(d[1]), std::fabs(d[2])});
}

const Matrix3 kIdentity = from_rows({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});

// ---------------------------------------------------------------------------------------
// Matrices that need no rotation.

TEST(Jacobi3NoRotation, DiagonalMatrixIsReturnedAsGivenAndUnsorted) {
    const Matrix3 input = from_rows({{{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.a, input);
    EXPECT_EQ(s.v, kIdentity);
}

TEST(Jacobi3NoRotation, OffDiagonalWithinRelativeToleranceIsLeftInPlace) {
    // 1e-9 <= 2^-27 * 1, the smallest diagonal magnitude.
    const Matrix3 input = from_rows({{{1, 1e-9f, 0}, {1e-9f, 1, 0}, {0, 0, 2}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.a, input);
    EXPECT_EQ(s.v, kIdentity);
}

TEST(Jacobi3NoRotation, ToleranceIsRelativeToSmallestDiagonalMagnitude) {
    // Smallest diagonal magnitude 2 (of -2), so the bound is 2^-26 exactly: a pivot
    // equal to it stops the iteration, the next float above it does not.
    const float bound = 0x1p-26f;
    const Matrix3 at_bound = from_rows({{{4, 0, bound}, {0, -2, 0}, {bound, 0, 8}}});
    const Solution stopped = solve(at_bound);
    EXPECT_EQ(stopped.count, 0);
    EXPECT_EQ(stopped.a, at_bound);

    const float above = std::nextafter(bound, 1.0f);
    const Matrix3 above_bound = from_rows({{{4, 0, above}, {0, -2, 0}, {above, 0, 8}}});
    const Solution rotated = solve(above_bound);
    EXPECT_EQ(rotated.count, 1);
    EXPECT_EQ(el(rotated.a, 1, 3), 0.0f);
}

// ---------------------------------------------------------------------------------------
// Single rotations, followed by hand.

TEST(Jacobi3Rotation, EqualDiagonalAndPositivePivotTurnsByPlus45Degrees) {
    // D = 0, T = 1, C = S = 1/sqrt(2) rounded. C*C is just below 1/2, so 2*C*C rounds to
    // the float below 1 while 6*C*C rounds to 3.
    const Matrix3 input = from_rows({{{2, 1, 0}, {1, 2, 0}, {0, 0, 1}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(diagonal(s.a), (std::array<float, 3>{3.0f, std::nextafter(1.0f, 0.0f), 1.0f}));
    EXPECT_EQ(largest_off_diagonal(s.a), 0.0f);
    EXPECT_EQ(column(s.v, 1), (std::array<float, 3>{kHalfSqrt2, kHalfSqrt2, 0}));
    EXPECT_EQ(column(s.v, 2), (std::array<float, 3>{-kHalfSqrt2, kHalfSqrt2, 0}));
    EXPECT_EQ(column(s.v, 3), (std::array<float, 3>{0, 0, 1}));
}

TEST(Jacobi3Rotation, EqualDiagonalAndNegativePivotTurnsByMinus45Degrees) {
    // D = 0 counts as non-negative, so G = 2a = -2 and T = -1.
    const Matrix3 input = from_rows({{{2, -1, 0}, {-1, 2, 0}, {0, 0, 1}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(diagonal(s.a), (std::array<float, 3>{3.0f, std::nextafter(1.0f, 0.0f), 1.0f}));
    EXPECT_EQ(column(s.v, 1), (std::array<float, 3>{kHalfSqrt2, -kHalfSqrt2, 0}));
    EXPECT_EQ(column(s.v, 2), (std::array<float, 3>{kHalfSqrt2, kHalfSqrt2, 0}));
    EXPECT_EQ(column(s.v, 3), (std::array<float, 3>{0, 0, 1}));
}

TEST(Jacobi3Rotation, CosineIsRoundedBeforeItIsSquared) {
    // The pair (1, 3) turns by 45 degrees: 14*C*C with the rounded C gives the float
    // below 7, where the exact 1/2 would give 7. A(2, 2) and A(3, 3) are never compared,
    // so the diagonal is not in descending order.
    const Matrix3 input = from_rows({{{5, 0, 2}, {0, 1, 0}, {2, 0, 5}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(diagonal(s.a), (std::array<float, 3>{std::nextafter(7.0f, 0.0f), 1.0f, 3.0f}));
    EXPECT_EQ(largest_off_diagonal(s.a), 0.0f);
    EXPECT_EQ(column(s.v, 1), (std::array<float, 3>{kHalfSqrt2, 0, kHalfSqrt2}));
    EXPECT_EQ(column(s.v, 2), (std::array<float, 3>{0, 1, 0}));
    EXPECT_EQ(column(s.v, 3), (std::array<float, 3>{-kHalfSqrt2, 0, kHalfSqrt2}));
}

TEST(Jacobi3Rotation, LargerValueOfThePairMovesToTheLowerIndex) {
    // The pair (1, 2) has eigenvalues 2 +- sqrt(2); the rotation first puts the smaller
    // at index 1, and the quarter-turn moves the larger there, cosine non-negative.
    const Matrix3 input = from_rows({{{1, 1, 0}, {1, 3, 0}, {0, 0, 5}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 1);
    EXPECT_NEAR(el(s.a, 1, 1), 2.0 + std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(el(s.a, 2, 2), 2.0 - std::sqrt(2.0), 1e-6);
    EXPECT_EQ(el(s.a, 3, 3), 5.0f);
    // Eigenvector of 2 + sqrt(2): (cos 67.5, sin 67.5) degrees.
    const double c = std::cos(0.375 * std::numbers::pi);
    const double sn = std::sin(0.375 * std::numbers::pi);
    EXPECT_NEAR(el(s.v, 1, 1), c, 1e-7);
    EXPECT_NEAR(el(s.v, 2, 1), sn, 1e-7);
    EXPECT_NEAR(el(s.v, 1, 2), -sn, 1e-7);
    EXPECT_NEAR(el(s.v, 2, 2), c, 1e-7);
    EXPECT_EQ(column(s.v, 3), (std::array<float, 3>{0, 0, 1}));
}

TEST(Jacobi3Rotation, InertiaTensorOfBentTriatomic) {
    // Masses 16, 1, 1 at (0, 0, 0), (0.96, 0, 0), (-0.24, 0.93, 0): one rotation, and the
    // out-of-plane moment keeps index 3 although it is the largest.
    const Matrix3 input =
        from_rows({{{0.81685f, 0.2604f, 0}, {0.2604f, 0.9504f, 0}, {0, 0, 1.76725f}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 1);
    EXPECT_NEAR(el(s.a, 1, 1), 1.152450, 1e-6);
    EXPECT_NEAR(el(s.a, 2, 2), 0.614800, 1e-6);
    EXPECT_EQ(el(s.a, 3, 3), 1.76725f);
    const Rows want_v = {{{0.613027f, -0.790062f, 0}, {0.790062f, 0.613027f, 0}, {0, 0, 1}}};
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            EXPECT_NEAR(el(s.v, i, j), want_v[i - 1][j - 1], 1e-6) << "V(" << i << "," << j << ")";
        }
    }
}

// ---------------------------------------------------------------------------------------
// Pivot choice and the threshold.

TEST(Jacobi3Pivot, TieInARowGoesToTheLaterColumn) {
    // Row 1 holds 2 and 2, so the first pivot is (1, 3): its pair [[-2, 2], [2, 1]] has
    // eigenvalues 2 and -3, and the turn also zeroes A(1, 2) and leaves -sqrt(5) at
    // (2, 3). The pair (2, 3), [[2, -sqrt 5], [-sqrt 5, -3]], ends it: (-1 +- 3 sqrt 5) / 2.
    const Matrix3 input = from_rows({{{-2, 2, 2}, {2, 2, -1}, {2, -1, 1}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 2);
    EXPECT_NEAR(el(s.a, 1, 1), 2.0, 1e-6);
    EXPECT_NEAR(el(s.a, 2, 2), (-1.0 + 3.0 * std::sqrt(5.0)) / 2.0, 1e-6);
    EXPECT_NEAR(el(s.a, 3, 3), (-1.0 - 3.0 * std::sqrt(5.0)) / 2.0, 1e-6);
}

TEST(Jacobi3Pivot, TieBetweenRowsKeepsTheLowerRow) {
    // Rows 1 and 2 both have maximum 2, so the first pivot is (1, 2): eigenvalues 2 and
    // -3 of [[-2, 2], [2, 1]], and the turn leaves sqrt(5) at (1, 3) and 0 at (2, 3). The
    // pair (1, 3), [[2, sqrt 5], [sqrt 5, 1]], ends it: (3 +- sqrt 21) / 2 around -3.
    const Matrix3 input = from_rows({{{-2, 2, 1}, {2, 1, 2}, {1, 2, 1}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 2);
    EXPECT_NEAR(el(s.a, 1, 1), (3.0 + std::sqrt(21.0)) / 2.0, 1e-6);
    EXPECT_NEAR(el(s.a, 2, 2), -3.0, 1e-6);
    EXPECT_NEAR(el(s.a, 3, 3), (3.0 - std::sqrt(21.0)) / 2.0, 1e-6);
}

TEST(Jacobi3Pivot, TiesInRowAndBetweenRowsTogether) {
    // Row 1 ties between columns 2 and 3, and rows 1 and 2 tie at 1: pivot (1, 3). Its
    // turn by -45 degrees cancels A(1, 2) exactly and leaves -sqrt(2) at (2, 3); the pair
    // (2, 3) then gives -2 +- sqrt(3). Column 1 of V is the first turn alone.
    const Matrix3 input = from_rows({{{-2, -1, -1}, {-1, -1, -1}, {-1, -1, -2}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(el(s.a, 1, 1), std::nextafter(-1.0f, 0.0f));
    EXPECT_NEAR(el(s.a, 2, 2), -2.0 + std::sqrt(3.0), 1e-6);
    EXPECT_NEAR(el(s.a, 3, 3), -2.0 - std::sqrt(3.0), 1e-6);
    EXPECT_EQ(column(s.v, 1), (std::array<float, 3>{kHalfSqrt2, 0, -kHalfSqrt2}));
}

TEST(Jacobi3Threshold, IsKeptUntilThePivotFallsToIt) {
    // The first threshold comes from the diagonal 1e-3. The turn of (1, 2) makes the
    // diagonal about +-1 and leaves about 7e-10 at (1, 3) and (2, 3): far below 2^-27 of
    // the new diagonal, but above the kept threshold, so both are rotated away (three
    // rotations in all) before the threshold is recomputed.
    const Matrix3 input = from_rows({{{1e-3f, 1, 1e-9f}, {1, 1e-3f, 0}, {1e-9f, 0, 100}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 3);
    EXPECT_LE(largest_off_diagonal(s.a), 1e-20f);
}

TEST(Jacobi3Threshold, ZeroThresholdIsRecomputedOnceTheDiagonalMovesAwayFromZero) {
    // The zero diagonal makes the first threshold 0. The turn of (1, 2) makes the diagonal
    // about (1, -1, 5) and leaves about 7e-10 at (1, 3) and (2, 3); the threshold is
    // recomputed from the new diagonal (about 7.45e-9) and the iteration stops there.
    const Matrix3 input = from_rows({{{0, 1, 1e-9f}, {1, 0, 0}, {1e-9f, 0, 5}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 1);
    EXPECT_NEAR(el(s.a, 1, 3), 1e-9 * std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(el(s.a, 2, 3), -1e-9 * std::sqrt(0.5), 1e-15);
}

TEST(Jacobi3Threshold, ZeroEigenvalueIteratesUntilOffDiagonalIsExactlyZero) {
    // Singular: the threshold is 0, so the iteration stops only at an exact 0 pivot.
    const Matrix3 input = from_rows({{{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 1}}});
    const Solution s = solve(input);
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(diagonal(s.a), (std::array<float, 3>{5.5f, 2.5f, 0.0f}));
    EXPECT_EQ(largest_off_diagonal(s.a), 0.0f);
    const Residuals r = residuals(input, s);
    EXPECT_LE(r.decomposition, 8 * FLT_EPSILON * frobenius_norm(input));
    EXPECT_LE(r.orthogonality, 8 * FLT_EPSILON);
}

// ---------------------------------------------------------------------------------------
// What the solver reads and writes.

TEST(Jacobi3Storage, LowerTriangleIsNeitherReadNorWritten) {
    const Matrix3 symmetric = from_rows({{{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 1}}});
    Matrix3 marked = symmetric;
    marked[1] = kNan;    // (2, 1)
    marked[2] = -3e30f;  // (3, 1)
    marked[5] = 1234.5f; // (3, 2)

    const Solution plain = solve(symmetric);
    const Solution s = solve(marked);
    EXPECT_EQ(s.count, plain.count);
    EXPECT_TRUE(same_bits(s.v, plain.v));
    for (int j = 1; j <= 3; ++j) {
        for (int i = 1; i <= j; ++i) {
            EXPECT_EQ(el(s.a, i, j), el(plain.a, i, j)) << "A(" << i << "," << j << ")";
        }
    }
    EXPECT_TRUE(std::isnan(s.a[1]));
    EXPECT_EQ(s.a[2], -3e30f);
    EXPECT_EQ(s.a[5], 1234.5f);
}

TEST(Jacobi3Storage, NonZeroFlagLeavesEigenvectorsAlone) {
    const Matrix3 input = from_rows({{{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 1}}});
    const Solution with_vectors = solve(input);
    for (std::int32_t flag : {1, -1, 2}) {
        Matrix3 a = input;
        Matrix3 v{};
        v.fill(kNan);
        v[4] = 42.0f;
        const Matrix3 v_before = v;
        std::int32_t count = -7;
        JACOBI3(a, 3, flag, v, count);
        EXPECT_TRUE(same_bits(v, v_before)) << "flag " << flag;
        EXPECT_EQ(a, with_vectors.a) << "flag " << flag;
        EXPECT_EQ(count, with_vectors.count) << "flag " << flag;
    }
}

TEST(Jacobi3Storage, OrderOneSetsOnlyItsOwnEigenvector) {
    const Matrix3 input = from_rows({{{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 1}}});
    const Solution s = solve(input, 1);
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.a, input);
    Matrix3 want_v{};
    want_v.fill(-99.0f);
    want_v[0] = 1.0f;
    EXPECT_EQ(s.v, want_v);
}

TEST(Jacobi3Storage, OrderBelowOneTouchesNothingButTheCount) {
    const Matrix3 input = from_rows({{{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 1}}});
    for (std::int32_t n : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        const Solution s = solve(input, n);
        EXPECT_EQ(s.count, 0) << "n " << n;
        EXPECT_EQ(s.a, input) << "n " << n;
        Matrix3 untouched{};
        untouched.fill(-99.0f);
        EXPECT_EQ(s.v, untouched) << "n " << n;
    }
}

TEST(Jacobi3Storage, OrderTwoWorksOnTheLeadingBlockOnly) {
    // Row and column 3 carry values that would change the result if they were used.
    const Matrix3 input = from_rows({{{2, 1, 7}, {1, 2, 9}, {7, 9, 11}}});
    const Solution s = solve(input, 2);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(el(s.a, 1, 1), 3.0f);
    EXPECT_EQ(el(s.a, 2, 2), std::nextafter(1.0f, 0.0f));
    EXPECT_EQ(el(s.a, 1, 2), 0.0f);
    for (int k : {2, 5, 6, 7, 8}) { // (3, 1), (3, 2), (1, 3), (2, 3), (3, 3)
        EXPECT_EQ(s.a[k], input[k]) << "index " << k;
    }
    const Matrix3 want_v = {kHalfSqrt2, kHalfSqrt2, -99, -kHalfSqrt2, kHalfSqrt2,
                            -99,        -99,        -99, -99};
    EXPECT_EQ(s.v, want_v);
}

TEST(Jacobi3Storage, OrderAboveThreeIsSolvedAsThree) {
    // The storage holds order 3; a larger order must not reach past it.
    const Matrix3 input = from_rows({{{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 1}}});
    const Solution three = solve(input, 3);
    for (std::int32_t n : {4, std::numeric_limits<std::int32_t>::max()}) {
        const Solution s = solve(input, n);
        EXPECT_EQ(s.count, three.count) << "n " << n;
        EXPECT_EQ(s.a, three.a) << "n " << n;
        EXPECT_EQ(s.v, three.v) << "n " << n;
    }
}

// ---------------------------------------------------------------------------------------
// Random symmetric matrices.

// A rotation matrix in double, from a random unit quaternion.
std::array<std::array<double, 3>, 3> random_rotation(std::mt19937& rng) {
    std::normal_distribution<double> normal;
    double w = normal(rng), x = normal(rng), y = normal(rng), z = normal(rng);
    const double len = std::sqrt(w * w + x * x + y * y + z * z);
    w /= len, x /= len, y /= len, z /= len;
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
             {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
             {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}}};
}

// Q diag(l) Q^T rounded to float: eigenvalues chosen, possibly repeated or zero.
Matrix3 with_eigenvalues(std::mt19937& rng, std::array<double, 3> l) {
    const auto q = random_rotation(rng);
    Rows rows{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) {
                sum += q[i][k] * l[k] * q[j][k];
            }
            rows[i][j] = static_cast<float>(sum);
        }
    }
    return from_rows(rows);
}

// Kinds: uniform entries at one scale; entries of mixed magnitudes; small integers (exact
// ties and repeated eigenvalues); chosen eigenvalues with a double or a zero one; a
// planar inertia-like block with its (3, 3) the sum of the other two.
Matrix3 random_symmetric(std::mt19937& rng, int kind) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> decades(-6.0, 6.0);
    std::uniform_int_distribution<int> small(-2, 2);
    Rows rows{};
    auto fill_upper = [&](auto next) {
        for (int i = 0; i < 3; ++i) {
            for (int j = i; j < 3; ++j) {
                rows[i][j] = rows[j][i] = static_cast<float>(next());
            }
        }
    };
    const double scale = std::pow(10.0, decades(rng));
    switch (kind) {
    case 0:
        fill_upper([&] { return scale * unit(rng); });
        return from_rows(rows);
    case 1:
        fill_upper([&] { return unit(rng) * std::pow(10.0, decades(rng) / 2); });
        return from_rows(rows);
    case 2:
        fill_upper([&] { return small(rng); });
        return from_rows(rows);
    case 3: {
        const double l = scale * unit(rng);
        const double other = scale * unit(rng);
        return (unit(rng) < 0) ? with_eigenvalues(rng, {l, l, other})
                               : with_eigenvalues(rng, {l, 0.0, other});
    }
    default: {
        const double ixx = scale * (1 + unit(rng));
        const double iyy = scale * (1 + unit(rng));
        const double ixy = scale * unit(rng) * 0.5;
        return from_rows({{{static_cast<float>(ixx), static_cast<float>(ixy), 0},
                           {static_cast<float>(ixy), static_cast<float>(iyy), 0},
                           {0, 0, static_cast<float>(ixx + iyy)}}});
    }
    }
}

TEST(Jacobi3Random, ReturnsAnOrthogonalDecomposition) {
    std::mt19937 rng(20240611);
    constexpr int kMatrices = 5000;
    for (int m = 0; m < kMatrices; ++m) {
        const Matrix3 input = random_symmetric(rng, m % 5);
        const Solution s = solve(input);
        SCOPED_TRACE(::testing::Message() << "matrix " << m);

        // A 3x3 matrix converges in a handful of rotations, far below the guard.
        EXPECT_GE(s.count, 0);
        EXPECT_LE(s.count, 20);
        for (float d : diagonal(s.a)) {
            EXPECT_TRUE(std::isfinite(d));
        }
        // What is left off the diagonal is negligible under the stopping rule.
        EXPECT_LE(largest_off_diagonal(s.a), stopping_bound(s.a));

        const Residuals r = residuals(input, s);
        EXPECT_LE(r.orthogonality, 8 * FLT_EPSILON);
        EXPECT_LE(r.decomposition, 8 * FLT_EPSILON * frobenius_norm(input));
    }
}

// Every value JACOBI3 stores goes through the checked store: the first fault in the order
// of evaluation ends the run where it happens, and no infinity or NaN is left in A or V.
TEST(Jacobi3Faults, FirstFaultInEvaluationOrderIsReported) {
    struct Case {
        const char* what;
        Rows rows;
    };
    const Case cases[] = {
        // G = 2 A(1, 2) overflows before any NaN could arise from it.
        {"G overflows", {{{1, 2e38f, 0}, {2e38f, 1, 0}, {0, 0, 1}}}},
        // D, G and T fit; the new A(1, 1), about 3.6e38, does not.
        {"new diagonal overflows", {{{3.2e38f, 1e38f, 0}, {1e38f, 1e38f, 0}, {0, 0, 1}}}},
    };
    for (const Case& c : cases) {
        Matrix3 a = from_rows(c.rows);
        Matrix3 v{};
        std::int32_t count = 0;
        try {
            JACOBI3(a, 3, 0, v, count);
            ADD_FAILURE() << c.what << ": no fault raised";
        } catch (const RunError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::fp_overflow) << c.what << ": " << error.what();
        }
        for (float x : a)
            EXPECT_TRUE(std::isfinite(x)) << c.what;
        for (float x : v)
            EXPECT_TRUE(std::isfinite(x)) << c.what;
    }
}

} // namespace
} // namespace tessen
