#pragma once

#include "model/DeckMolecule.hpp"
#include "model/ValenceCoordinate.hpp"

#include <Eigen/Dense>

#include <vector>

namespace tessen::model {

// Atoms 1 to N placed by the atom records, in double precision, and the derivatives of
// their positions with respect to the valence coordinates asked for.
struct Structure {
    std::vector<Eigen::Vector3d> positions; // atom K at K - 1, A
    // atom K at K - 1: a column per coordinate asked for, in A per A or A per degree.
    std::vector<Eigen::Matrix3Xd> derivatives;
};

// Places the atoms by tessen's construction rules: the first record's atom at the origin,
// the second's on the x axis at x = R, the third's in the xy plane at x = x(J) + R cos A
// when J is atom 1 and x(J) - R cos A otherwise, y = R sin A; every further atom at
// J + R cos A e1 + R sin A cos T e2 + R sin A sin T e3, with e1 along J->K, e2 in the plane
// of J, K and L toward L and e3 = e1 x e2 (so T is the IUPAC dihedral with the opposite
// sign). Degrees are pi/180; an angle of 0 is the tetrahedral angle (cos -1/3). The
// derivatives are analytic: each record's placement is differentiated with respect to its
// own R, A, T and to the positions of J, K and L, and carried along in record order. A
// record whose J, K and L lie on a line has no frame: CommandError (status 1) naming its
// line.
Structure build_structure(const std::vector<AtomRecord>& records, int n,
                          const std::vector<CoordinateRef>& wrt = {});

} // namespace tessen::model
