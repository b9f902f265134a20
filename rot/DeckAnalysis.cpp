#include "rot/DeckAnalysis.hpp"

#include "model/Construction.hpp"
#include "model/DeckMolecule.hpp"
#include "model/Inertia.hpp"
#include "model/ValenceCoordinate.hpp"
#include "report/PrintedDigits.hpp"
#include "report/ReportVocabulary.hpp"
#include "rot/Kraitchman.hpp"

#include <cfloat>
#include <cmath>

namespace tessen::rot {

namespace {

// The rounding of the double computation, relative to the largest moment (or extent) it
// is computed with: the eigenvalues are accurate to a few units of the last bit of the
// tensor's norm.
constexpr double kDoubleRounding = 16 * DBL_EPSILON;

// Half a unit of the last decimal of a deck's lengths and angles (A, degrees).
double deck_half_unit() {
    return 0.5 * std::pow(10.0, -report::real_decimals(report::kAtomRecord));
}

// Every length, angle and dihedral that the atom records read.
std::vector<model::CoordinateRef> deck_coordinates(const std::vector<model::AtomRecord>& records) {
    std::vector<model::CoordinateRef> refs;
    for (std::size_t r = 0; r < records.size(); ++r)
        for (model::CoordinateKind kind :
             {model::CoordinateKind::length, model::CoordinateKind::angle,
              model::CoordinateKind::dihedral})
            if (model::record_uses(records[r].index, kind))
                refs.push_back({r, kind});
    return refs;
}

// The spread of each moment: its derivatives by the deck's coordinates, each coordinate
// off by half a unit of its last decimal, in quadrature with the double rounding.
std::array<double, 3> moment_spreads(const model::Inertia& frame, const model::Structure& structure,
                                     const std::vector<double>& masses) {
    const Eigen::Matrix3Xd derivatives = model::moment_derivatives(frame, structure, masses);
    const double rounding = kDoubleRounding * frame.moments[2];
    std::array<double, 3> spread{};
    for (Eigen::Index g = 0; g < 3; ++g)
        spread[static_cast<std::size_t>(g)] =
            std::hypot(derivatives.row(g).norm() * deck_half_unit(), rounding);
    return spread;
}

Isotopologue analyse_mass_set(const model::MassSet& set, const model::Structure& structure) {
    Isotopologue s;
    s.title = set.title;
    const model::Inertia frame = model::inertia(structure.positions, set.masses);
    s.total_mass = Quantity{frame.total_mass, 0};
    for (double m : set.masses)
        s.masses.push_back(Quantity{m, 0});
    s.spread = moment_spreads(frame, structure, set.masses);
    for (std::size_t k = 0; k < 3; ++k)
        s.moments[k] = Quantity{frame.moments[k], kDoubleRounding * frame.moments[2]};
    const std::vector<Eigen::Vector3d> principal =
        model::principal_coordinates(frame, structure.positions);
    double extent = 0;
    for (const Eigen::Vector3d& atom : principal)
        extent = std::max(extent, atom.cwiseAbs().maxCoeff());
    for (const Eigen::Vector3d& atom : principal)
        s.coordinates.push_back({Quantity{atom[0], kDoubleRounding * extent},
                                 Quantity{atom[1], kDoubleRounding * extent},
                                 Quantity{atom[2], kDoubleRounding * extent}});
    derive_from_moments(s);
    return s;
}

MoleculeAnalysis analyse_molecule(const model::DeckMolecule& molecule, const std::string& name,
                                  Analysis& analysis) {
    MoleculeAnalysis m{name, true, molecule.number, molecule.title1, molecule.title2, {}};
    if (molecule.mass_sets.empty())
        return m; // fewer than three atoms
    const model::Structure structure =
        model::build_structure(molecule.records, molecule.n, deck_coordinates(molecule.records));
    for (const model::MassSet& set : molecule.mass_sets) {
        m.isotopologues.push_back(analyse_mass_set(set, structure));
        ++analysis.isotopologues;
        ++analysis.with_moments;
    }
    substitute_against_parent(m.isotopologues);
    return m;
}

} // namespace

Analysis analyse_deck(ByteSource& source, const std::string& name) {
    Analysis analysis;
    analysis.from_deck = true;
    for (const model::DeckMolecule& molecule : model::read_deck_molecules(source, name))
        analysis.molecules.push_back(analyse_molecule(molecule, name, analysis));
    return analysis;
}

} // namespace tessen::rot
