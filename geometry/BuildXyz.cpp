// BUILDXYZ: reads, echoes and places the atom records of a molecule (origin, x axis, xy
// plane, then each atom in the local frame of three atoms placed before it).

#include "geometry/BuildXyz.hpp"

#include "geometry/DegreeFactor.hpp"
#include "geometry/ListXyz.hpp"
#include "geometry/Precision.hpp"
#include "records/LayoutReader.hpp"
#include "records/LayoutWriter.hpp"
#include "records/RecurringFields.hpp"
#include "report/ReportVocabulary.hpp"

#include <cmath>

namespace tessen {

namespace {

// The tetrahedral angle (about 109.47 degrees) that a bond angle of zero stands for: the
// single-precision cosine -1/3 and sine sqrt(8)/3.
constexpr float kTetrahedralCos = -0.33333334f;
constexpr float kTetrahedralSin = 0.94280905f;

ValenceRecord read_valence_record(InputDeck& deck) {
    LayoutReader in(deck, report::kAtomRecord);
    ValenceRecord rec;
    rec.i = in.get_int();
    rec.j = in.get_int();
    rec.k = in.get_int();
    rec.l = in.get_int();
    rec.r = in.get_real();
    rec.a = in.get_real();
    rec.t = in.get_real();
    rec.m = in.get_real();
    return rec;
}

// The mass, of a few isotopes all through a deck, is edited once per thread.
void echo_valence_record(RecordSink& report, const ValenceRecord& rec) {
    constexpr int kMassWidth = 12; // the mass field of kAtomRecord
    constexpr int kMassDecimals = 6;
    LayoutWriter out(report, report::kAtomRecord);
    out.put(rec.i).put(rec.j).put(rec.k).put(rec.l).put(rec.r).put(rec.a).put(rec.t);
    out.put_edited(recurring_field(rec.m, kMassWidth, kMassDecimals), kMassWidth, kMassDecimals);
    out.finish();
}

// The atom numbers that record `index` uses must name rows of the table.
void check_used_atoms(std::int32_t index, const ValenceRecord& rec) {
    check_atom_number(rec.i);
    if (index == 3)
        check_atom_number(rec.j);
    if (index >= 4) {
        check_atom_number(rec.j);
        check_atom_number(rec.k);
        check_atom_number(rec.l);
    }
}

struct CosSin {
    float cos;
    float sin;
};

// A bond angle of exactly zero (either sign, or a blank field) stands for the
// tetrahedral angle; the dihedral has no such rule.
CosSin bond_angle(float a) {
    if (a == 0.0f)
        return {kTetrahedralCos, kTetrahedralSin};
    double radians = double(a) * double(kDegreeFactor); // stays in double
    return {store(std::cos(radians)), store(std::sin(radians))};
}

Triple difference(const Triple& to, const Triple& from) {
    Triple d;
    for (int k = 0; k < 3; ++k)
        d[k] = store(double(to[k]) - double(from[k]));
    return d;
}

// The local frame of a record: e1 along J->K, e2 in the plane of J, K and L toward L,
// e3 = e1 x e2.
struct Frame {
    Triple e1, e2, e3;
};

Frame local_frame(const Triple& u, const Triple& v) {
    Frame f;
    double uu = 0.0;
    for (int k = 0; k < 3; ++k)
        uu += double(u[k]) * double(u[k]);
    const float length_u = store(std::sqrt(uu)); // rounded before it divides
    double p_sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        double q = quotient(double(u[k]), double(length_u));
        f.e1[k] = store(q);
        p_sum += q * double(v[k]); // p from the unrounded quotients
    }
    const float p = store(p_sum);
    Triple w;
    double ww = 0.0;
    for (int k = 0; k < 3; ++k) {
        double wk = double(v[k]) - double(p) * double(f.e1[k]);
        w[k] = store(wk);
        ww += wk * double(w[k]); // unrounded component times its rounded value
    }
    const double length_w = std::sqrt(ww); // stored, but divides unrounded
    check_store(length_w);
    for (int k = 0; k < 3; ++k)
        f.e2[k] = store(quotient(double(w[k]), length_w));
    f.e3[0] = store(double(f.e1[1]) * double(f.e2[2]) - double(f.e1[2]) * double(f.e2[1]));
    f.e3[1] = store(double(f.e1[2]) * double(f.e2[0]) - double(f.e1[0]) * double(f.e2[2]));
    f.e3[2] = store(double(f.e1[0]) * double(f.e2[1]) - double(f.e1[1]) * double(f.e2[0]));
    return f;
}

void place_third(const ValenceRecord& rec, AtomTable& atoms) {
    atoms.mass[rec.i] = rec.m;
    const CosSin a = bond_angle(rec.a);
    const double rcos = double(rec.r) * double(a.cos);
    const double xj = double(atoms.pos[rec.j][0]);
    const float x = store(rec.j == 1 ? xj + rcos : xj - rcos);
    const float y = store(double(rec.r) * double(a.sin));
    atoms.pos[rec.i] = {x, y, 0.0f};
}

void place_by_frame(const ValenceRecord& rec, AtomTable& atoms) {
    atoms.mass[rec.i] = rec.m;
    const CosSin a = bond_angle(rec.a);
    const Triple& pj = atoms.pos[rec.j];
    const Frame f = local_frame(difference(atoms.pos[rec.k], pj), difference(atoms.pos[rec.l], pj));
    const double t = double(rec.t) * double(kDegreeFactor); // stays in double
    const float d1 = store(double(rec.r) * double(a.cos));
    const float d2 = store(std::cos(t) * double(a.sin) * double(rec.r));
    const float d3 = store(std::sin(t) * double(a.sin) * double(rec.r));
    // Each axis of row I reads only the same axis of row J, so I may equal J.
    for (int k = 0; k < 3; ++k)
        atoms.pos[rec.i][k] = store(double(atoms.pos[rec.j][k]) + double(f.e1[k]) * double(d1) +
                                    double(f.e2[k]) * double(d2) + double(f.e3[k]) * double(d3));
}

void write_input_frame_section(RecordSink& report, const AtomTable& atoms, const TitleSet& titles,
                               std::int32_t n, ListedFields& listed) {
    write_line(report);
    write_line(report, report::kInputFrameHeading);
    write_line(report, report::kIndependentOfIsotope);
    write_text_record(report, titles.third.view());
    LISTXYZ(report, atoms.pos, atoms, n, listed);
}

} // namespace

void place_atom(std::int32_t index, const ValenceRecord& rec, AtomTable& atoms) {
    if (index == 1) {
        atoms.pos[rec.i] = {0.0f, 0.0f, 0.0f};
        atoms.mass[rec.i] = rec.m;
    } else if (index == 2) {
        atoms.pos[rec.i] = {rec.r, 0.0f, 0.0f};
        atoms.mass[rec.i] = rec.m;
    } else if (index == 3) {
        place_third(rec, atoms);
    } else {
        place_by_frame(rec, atoms);
    }
}

bool BUILDXYZ(InputDeck& deck, RecordSink& report, AtomTable& atoms, const TitleSet& titles,
              std::int32_t n, ListedFields& listed, AtomRecordObserver* observer) {
    const std::int32_t records = n < 3 ? 3 : n;
    for (std::int32_t index = 1; index <= records; ++index) {
        const ValenceRecord rec = read_valence_record(deck);
        echo_valence_record(report, rec);
        if (observer)
            observer->atom_record_read(index, rec);
        check_used_atoms(index, rec);
        place_atom(index, rec, atoms);
        if (observer)
            observer->atom_placed(index, rec, atoms);
    }
    if (n < 3)
        return false;
    write_input_frame_section(report, atoms, titles, n, listed);
    return true;
}

} // namespace tessen
