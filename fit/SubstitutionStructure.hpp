#pragma once

#include "fit/Species.hpp"
#include "model/DeckMolecule.hpp"
#include "model/Kraitchman.hpp"
#include "model/Rotor.hpp"

#include <Eigen/Dense>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessen::fit {

// The substitution coordinates of one singly substituted species: Kraitchman's equations on
// its measured constants against the parent's, signed by the parent's structure.
struct SubstitutedAtom {
    std::size_t species = 0;
    int atom = 0;                 // from 1
    model::Substitution found;    // |a|, |b|, |c| (or |z| and r), with their uncertainties
    std::array<double, 3> sign{}; // of the atom's coordinates in the structure's frame
};

// A bond length or angle of an atom record whose atoms were all substituted.
struct SubstitutionValue {
    std::string name;    // rK or aK, as the --vary list names it
    std::string between; // "4-1" or "4-1-2"
    double value = 0;    // A or degrees
    double sigma = 0;    // from the coordinates' larger uncertainties
};

struct SubstitutionStructure {
    model::Rotor rotor = model::Rotor::asymmetric; // the parent's
    std::vector<SubstitutedAtom> atoms;
    std::vector<SubstitutionValue> values;
    std::vector<std::string> notes;
};

// The r_s structure: every species that differs from the parent (set 1) in one atom's
// mass, in the parent's principal frame of `records` (the fitted or the deck's structure,
// which gives the rotor type and the signs).
SubstitutionStructure substitution_structure(const std::vector<Species>& species,
                                             const model::DeckMolecule& molecule,
                                             const std::vector<model::AtomRecord>& records,
                                             double costain);

// The signed coordinates of an atom on a, b, c; none when it has none (off the axis of a
// symmetric top, or a note).
std::optional<Eigen::Vector3d> signed_coordinates(const SubstitutedAtom& atom);
// Their larger uncertainty on each axis (Costain's or the propagated one).
Eigen::Vector3d coordinate_errors(const SubstitutedAtom& atom);

} // namespace tessen::fit
