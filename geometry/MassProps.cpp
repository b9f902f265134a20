// MASSPROPS: total mass, centre of mass, inertia tensor, principal moments and axes by
// JACOBI3, and the principal coordinates, computed whole before the block is written.

#include "geometry/MassProps.hpp"

#include "geometry/ListXyz.hpp"
#include "geometry/Precision.hpp"
#include "geometry/ScreenXyz.hpp"
#include "records/LayoutWriter.hpp"
#include "report/ReportVocabulary.hpp"

#include <cmath>

namespace tessen {

namespace {

// Accumulated: summed in double over all atoms and stored once.
float total_mass(const AtomTable& atoms, std::int32_t n) {
    double sum = 0.0;
    for (std::int32_t i = 1; i <= n; ++i)
        sum += double(atoms.mass[i]);
    return store(sum);
}

// The sums of x(i, a) * m(i), rounded at each step, axis by axis; the first fault in that
// order ends the run.
Triple moment_sums_in_order(const AtomTable& atoms, std::int32_t n) {
    Triple s{0.0f, 0.0f, 0.0f};
    for (int a = 0; a < 3; ++a)
        for (std::int32_t i = 1; i <= n; ++i)
            s[a] = store(double(s[a]) + double(atoms.pos[i][a]) * double(atoms.mass[i]));
    return s;
}

// The same sums, the three axes side by side (each its own chain of roundings, so the
// values are the same). A sum that once leaves the float range never comes back into it,
// so when all three end finite no step faulted; otherwise they are formed again in order,
// which raises the first fault.
Triple moment_sums(const AtomTable& atoms, std::int32_t n) {
    Triple s{0.0f, 0.0f, 0.0f};
    for (std::int32_t i = 1; i <= n; ++i)
        for (int a = 0; a < 3; ++a)
            s[a] =
                static_cast<float>(double(s[a]) + double(atoms.pos[i][a]) * double(atoms.mass[i]));
    if (!std::isfinite(s[0]) || !std::isfinite(s[1]) || !std::isfinite(s[2]))
        return moment_sums_in_order(atoms, n);
    return s;
}

// Each sum of x(i, a) * m(i) is then divided by M. A total mass of zero ends the run
// before any sum is formed, and so before any line of the block.
Triple centre_of_mass(const AtomTable& atoms, std::int32_t n, float m) {
    check_divisor(m);
    const Triple s = moment_sums(atoms, n);
    Triple c;
    for (int a = 0; a < 3; ++a)
        c[a] = store(double(s[a]) / double(m));
    return c;
}

// u(i, a) stored per axis; r2(i) rounded at each step from the unrounded difference
// times the stored u.
void centre_coordinates(const AtomTable& atoms, std::int32_t n, MassValues& b) {
    for (std::int32_t i = 1; i <= n; ++i) {
        float r2 = 0.0f;
        for (int a = 0; a < 3; ++a) {
            double diff = double(atoms.pos[i][a]) - double(b.centre[a]);
            b.centred[i][a] = store(diff);
            r2 = store(double(r2) + diff * double(b.centred[i][a]));
        }
        b.r2[i] = r2;
    }
}

// Each element accumulated over the atoms; the diagonal as r2 minus the own axis
// squared, off the diagonal minus (m u_a) u_b. The nine sums go side by side, each over
// the atoms in order (the same values), and are stored element by element.
void inertia_tensor(const AtomTable& atoms, std::int32_t n, MassValues& b) {
    double sum[3][3] = {};
    for (std::int32_t i = 1; i <= n; ++i) {
        const double m = double(atoms.mass[i]);
        const double r2 = double(b.r2[i]);
        for (int a = 0; a < 3; ++a) {
            const double ua = double(b.centred[i][a]);
            for (int c = 0; c < 3; ++c) {
                if (a == c)
                    sum[a][c] += (r2 - ua * ua) * m;
                else
                    sum[a][c] -= (m * ua) * double(b.centred[i][c]);
            }
        }
    }
    for (int a = 1; a <= 3; ++a)
        for (int c = 1; c <= 3; ++c)
            element(b.tensor, a, c) = store(sum[a - 1][c - 1]);
}

// p(i, k) = V(1, k) u(i, 1) + V(2, k) u(i, 2) + V(3, k) u(i, 3), accumulated.
void principal_coordinates(std::int32_t n, MassValues& b) {
    for (std::int32_t i = 1; i <= n; ++i) {
        for (int k = 1; k <= 3; ++k) {
            double sum = 0.0;
            for (int a = 1; a <= 3; ++a)
                sum += double(element(b.axes, a, k)) * double(b.centred[i][a - 1]);
            b.principal[i][k - 1] = store(sum);
        }
    }
}

void write_matrix_rows(RecordSink& report, const Matrix3& m) {
    for (int a = 1; a <= 3; ++a)
        write_record(report, report::kMatrixRow, element(m, a, 1), element(m, a, 2),
                     element(m, a, 3));
}

void write_mass_and_tensor(RecordSink& report, const MassValues& b, std::string_view title) {
    write_line(report);
    write_text_record(report, title);
    write_record(report, report::kTotalMass, b.total_mass, b.centre[0], b.centre[1], b.centre[2]);
    write_line(report, report::kTensorHeading);
    write_matrix_rows(report, b.tensor);
}

void write_principal_moments(RecordSink& report, const MassValues& b, std::string_view title) {
    write_line(report);
    write_text_record(report, title);
    write_line(report, report::kMomentsHeading);
    write_record(report, report::kMomentsRow, element(b.moments, 1, 1), element(b.moments, 2, 2),
                 element(b.moments, 3, 3));
    write_line(report, report::kTransformHeading);
    write_matrix_rows(report, b.axes);
}

void write_principal_coordinates(RecordSink& report, const AtomTable& atoms, MassValues& b,
                                 std::string_view title, std::int32_t n) {
    write_line(report);
    write_text_record(report, title);
    write_line(report, report::kPrincipalHeading);
    write_line(report, report::kDifferByIsotope);
    LISTXYZ(report, b.principal, atoms, n, b.listed);
}

} // namespace

void compute_mass_block(const AtomTable& atoms, std::int32_t n, MassValues& b) {
    b.total_mass = total_mass(atoms, n);
    b.centre = centre_of_mass(atoms, n, b.total_mass);
    centre_coordinates(atoms, n, b);
    inertia_tensor(atoms, n, b);
    b.moments = b.tensor;
    std::int32_t rotations = 0;
    JACOBI3(b.moments, 3, 0, b.axes, rotations);
    principal_coordinates(n, b);
}

void MASSPROPS(RecordSink& report, const AtomTable& atoms, const TitleSet& titles, std::int32_t n,
               MassValues& block, SparseCoordList& list) {
    compute_mass_block(atoms, n, block);
    const std::string_view title = titles.third.view();
    write_mass_and_tensor(report, block, title);
    write_principal_moments(report, block, title);
    write_principal_coordinates(report, atoms, block, title, n);
    SCREENXYZ(block.principal, n, list);
    write_sparse_section(report, report::kPrincipalSparseHeading, report::kDifferByIsotope, title,
                         list, block.listed);
}

} // namespace tessen
