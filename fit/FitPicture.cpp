#include "fit/FitPicture.hpp"

#include "model/Construction.hpp"
#include "model/Inertia.hpp"

#include <cmath>

namespace tessen::fit {

namespace {

// Atoms this close to the a-b plane (A) make the molecule planar in the picture.
constexpr double kPlanarDistance = 1e-6;

} // namespace

Picture fit_picture(const FitRun& run) {
    const model::DeckMolecule& molecule = *run.molecule;
    const ModelFit* first = run.first_done();
    const std::vector<model::AtomRecord>& records = first ? first->records : molecule.records;
    const std::vector<double>& own = molecule.mass_sets.front().masses;
    const model::Structure structure = model::build_structure(records, molecule.n);
    const std::vector<Eigen::Vector3d> principal =
        model::principal_coordinates(model::inertia(structure.positions, own), structure.positions);
    Picture picture;
    picture.title = molecule.title1;
    picture.planar = true;
    for (std::size_t i = 0; i < principal.size(); ++i) {
        const Eigen::Vector3d& p = principal[i];
        picture.atoms.push_back({static_cast<int>(i) + 1, p[0], p[1], p[2], own[i] == 0.0});
        picture.planar = picture.planar && std::fabs(p[2]) < kPlanarDistance;
    }
    for (const model::AtomRecord& rec : records)
        if (rec.index >= 2 && rec.i <= molecule.n && rec.j >= 1 && rec.j <= molecule.n)
            picture.bonds.emplace_back(rec.i, rec.j);
    if (!run.substitution)
        return picture;
    for (const SubstitutedAtom& atom : run.substitution->atoms)
        if (const auto c = signed_coordinates(atom)) {
            const Eigen::Vector3d e = coordinate_errors(atom);
            picture.crosses.push_back({atom.atom, (*c)[0], (*c)[1], (*c)[2], e[0], e[1], e[2]});
        }
    return picture;
}

} // namespace tessen::fit
