#include "fit/SubstitutionStructure.hpp"

#include "fit/MomentModel.hpp"
#include "model/Construction.hpp"
#include "model/Inertia.hpp"

#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace tessen::fit {

namespace {

using Eigen::Vector3d;

// Step of the central differences that carry coordinates' uncertainties to a bond or angle.
constexpr double kStep = 1e-7;

model::KraitchmanSpecies measured_moments(const Species& s) {
    model::KraitchmanSpecies k;
    for (std::size_t g = 0; g < 3; ++g) {
        if (!s.constants[g])
            continue;
        const double b = *s.constants[g];
        k.moments[g] = model::kConstantFactor / b;
        k.sigma[g] = model::kConstantFactor * s.sigma[g] / (b * b);
    }
    return k;
}

std::optional<std::size_t> single_change(const std::vector<double>& parent,
                                         const std::vector<double>& masses) {
    std::optional<std::size_t> atom;
    for (std::size_t i = 0; i < parent.size(); ++i)
        if (std::fabs(masses[i] - parent[i]) > model::kMassDifference) {
            if (atom)
                return std::nullopt;
            atom = i;
        }
    return atom;
}

double carried(const model::SubstitutionCoordinate& c) {
    return std::max(c.costain, c.sigma);
}

// A value of some coordinates and its uncertainty from theirs (independent), by central
// differences.
SubstitutionValue propagated(const std::vector<Vector3d>& points,
                             const std::vector<Vector3d>& errors,
                             const std::function<double(const std::vector<Vector3d>&)>& value) {
    SubstitutionValue v;
    v.value = value(points);
    double variance = 0;
    std::vector<Vector3d> moved = points;
    for (std::size_t i = 0; i < points.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            moved[i][k] = points[i][k] + kStep;
            const double up = value(moved);
            moved[i][k] = points[i][k] - kStep;
            const double down = value(moved);
            moved[i][k] = points[i][k];
            const double change = (up - down) / (2 * kStep) * errors[i][k];
            variance += change * change;
        }
    v.sigma = std::sqrt(variance);
    return v;
}

double distance(const std::vector<Vector3d>& p) {
    return (p[0] - p[1]).norm();
}

double angle(const std::vector<Vector3d>& p) {
    const Vector3d u = p[0] - p[1], w = p[2] - p[1];
    return std::atan2(u.cross(w).norm(), u.dot(w)) * 180.0 / std::numbers::pi;
}

// The bond lengths and angles of the atom records whose atoms all have coordinates.
void structure_values(SubstitutionStructure& rs, const model::DeckMolecule& molecule) {
    std::map<int, std::pair<Vector3d, Vector3d>> known; // atom: coordinates, errors
    for (const SubstitutedAtom& atom : rs.atoms)
        if (const auto c = signed_coordinates(atom))
            known[atom.atom] = {*c, coordinate_errors(atom)};
    const auto have = [&](std::initializer_list<int> atoms) {
        for (int a : atoms)
            if (!known.count(a))
                return false;
        return true;
    };
    const auto gather = [&](std::initializer_list<int> atoms, std::vector<Vector3d>& points,
                            std::vector<Vector3d>& errors) {
        for (int a : atoms) {
            points.push_back(known[a].first);
            errors.push_back(known[a].second);
        }
    };
    for (const model::AtomRecord& rec : molecule.records) {
        std::vector<Vector3d> points, errors;
        if (rec.index >= 2 && have({rec.i, rec.j})) {
            gather({rec.i, rec.j}, points, errors);
            SubstitutionValue v = propagated(points, errors, distance);
            v.name = std::string("r").append(std::to_string(rec.i));
            v.between = std::to_string(rec.i) + "-" + std::to_string(rec.j);
            rs.values.push_back(v);
        }
        points.clear();
        errors.clear();
        if (rec.index >= 3 && have({rec.i, rec.j, rec.k})) {
            gather({rec.i, rec.j, rec.k}, points, errors);
            SubstitutionValue v = propagated(points, errors, angle);
            v.name = std::string("a").append(std::to_string(rec.i));
            v.between =
                std::to_string(rec.i) + "-" + std::to_string(rec.j) + "-" + std::to_string(rec.k);
            rs.values.push_back(v);
        }
    }
}

} // namespace

std::optional<Vector3d> signed_coordinates(const SubstitutedAtom& atom) {
    Vector3d c;
    for (std::size_t g = 0; g < 3; ++g) {
        if (!atom.found.axes[g])
            return std::nullopt;
        c[static_cast<Eigen::Index>(g)] = atom.sign[g] * atom.found.axes[g]->value;
    }
    return c;
}

Vector3d coordinate_errors(const SubstitutedAtom& atom) {
    Vector3d e = Vector3d::Zero();
    for (std::size_t g = 0; g < 3; ++g)
        if (atom.found.axes[g])
            e[static_cast<Eigen::Index>(g)] = carried(*atom.found.axes[g]);
    return e;
}

SubstitutionStructure substitution_structure(const std::vector<Species>& species,
                                             const model::DeckMolecule& molecule,
                                             const std::vector<model::AtomRecord>& records,
                                             double costain) {
    SubstitutionStructure rs;
    const std::vector<double>& own = molecule.mass_sets.front().masses;
    const model::Structure structure = model::build_structure(records, molecule.n);
    const model::Inertia frame = model::inertia(structure.positions, own);
    const std::vector<Vector3d> principal =
        model::principal_coordinates(frame, structure.positions);
    rs.rotor = model::rotor_type(frame.moments);
    const Species* parent = nullptr;
    for (const Species& s : species)
        if (s.parent)
            parent = &s;
    if (!parent) {
        rs.notes.push_back("no row gives the constants of the molecule's own masses (the "
                           "parent): no substitution coordinates");
        return rs;
    }
    for (std::size_t k = 0; k < species.size(); ++k) {
        const std::optional<std::size_t> atom = single_change(own, species[k].masses);
        if (species[k].parent || !atom)
            continue;
        model::KraitchmanInput input;
        input.rotor = rs.rotor;
        input.parent = measured_moments(*parent);
        input.species = measured_moments(species[k]);
        input.total_mass = frame.total_mass;
        input.mass_change = species[k].masses[*atom] - own[*atom];
        input.costain = costain;
        SubstitutedAtom entry;
        entry.species = k;
        entry.atom = static_cast<int>(*atom) + 1;
        entry.found = model::kraitchman(input);
        for (int g = 0; g < 3; ++g)
            entry.sign[static_cast<std::size_t>(g)] = principal[*atom][g] < 0 ? -1.0 : 1.0;
        rs.atoms.push_back(entry);
    }
    structure_values(rs, molecule);
    return rs;
}

} // namespace tessen::fit
