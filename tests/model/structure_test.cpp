// The double-precision model: decks read through tessen's job loop, tessen's construction
// rules (checked against tessen's own single-precision placement), analytic derivatives
// (against central differences), and moments against values worked out by hand.

#include "geometry/BuildXyz.hpp"
#include "model/Construction.hpp"
#include "model/DeckMolecule.hpp"
#include "model/Inertia.hpp"
#include "model/Rotor.hpp"
#include "support/Decks.hpp"
#include "support/Files.hpp"

#include "companion/CommandError.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessen::model {
namespace {

using test::atom_record;
using test::kEndRecord;
using test::molecule_head;

DeckMolecule first_molecule(const std::string& deck) {
    MemorySource source(deck);
    auto molecules = read_deck_molecules(source, "test.dat");
    EXPECT_FALSE(molecules.empty());
    return molecules.front();
}

std::array<double, 3> moments_of(const DeckMolecule& molecule, std::size_t set = 0) {
    const Structure s = build_structure(molecule.records, molecule.n);
    return inertia(s.positions, molecule.mass_sets.at(set).masses).moments;
}

void expect_relative(double actual, double expected, double tolerance) {
    EXPECT_NEAR(actual, expected, tolerance * std::fabs(expected)) << "expected " << expected;
}

TEST(ModelDeck, ReadsMoleculesMassSetsAndTitlesInDouble) {
    const std::string deck = test::read_file(test::source_dir() / "examples" / "WATER.DAT");
    MemorySource source(deck);
    const auto molecules = read_deck_molecules(source, "WATER.DAT");
    ASSERT_EQ(molecules.size(), 1u);
    const DeckMolecule& water = molecules[0];
    EXPECT_EQ(water.n, 3);
    EXPECT_EQ(water.title1, "WATER, EQUILIBRIUM STRUCTURE");
    ASSERT_EQ(water.records.size(), 3u);
    EXPECT_EQ(water.records[2].line, 8u);
    // The deck's digits, not the single-precision value.
    EXPECT_EQ(water.records[2].a, 104.52);
    EXPECT_EQ(water.records[0].m, 15.994915);
    ASSERT_EQ(water.mass_sets.size(), 3u);
    EXPECT_EQ(water.mass_sets[1].title, "D2(16)O");
    EXPECT_EQ(water.mass_sets[1].line, 9u);
    EXPECT_EQ(water.mass_sets[2].masses, (std::vector<double>{15.994915, 2.014102, 1.007825}));
}

TEST(ModelDeck, DecksTessenStopsAtAndUnplacedAtomsAreInputErrors) {
    const auto status_and_line = [](const std::string& deck) {
        try {
            first_molecule(deck);
        } catch (const companion::CommandError& error) {
            return std::pair<int, std::size_t>(error.status(), error.line());
        }
        return std::pair<int, std::size_t>(0, 0);
    };
    // A letter in a bond length (line 7), and atom 2 of 3 never placed.
    EXPECT_EQ(status_and_line(molecule_head(3) + atom_record(1, 0, 0, 0, 0, 0, 0, 16) +
                              "  2  1  0  0    0.9x7200\n" + atom_record(3, 1, 2, 0, 1, 100, 0, 1) +
                              kEndRecord),
              std::make_pair(2, std::size_t{7}));
    EXPECT_EQ(status_and_line(molecule_head(3) + atom_record(1, 0, 0, 0, 0, 0, 0, 16) +
                              atom_record(3, 1, 0, 0, 1, 0, 0, 1) +
                              atom_record(3, 1, 2, 0, 1, 100, 0, 1) + kEndRecord)
                  .first,
              2);
}

// Every example deck's molecules land where tessen's single-precision placement puts them.
TEST(ModelConstruction, FollowsTessensRulesOnEveryExample) {
    for (const auto& entry : std::filesystem::directory_iterator(test::source_dir() / "examples")) {
        if (entry.path().extension() != ".DAT")
            continue;
        MemorySource source(test::read_file(entry.path().string()));
        for (const DeckMolecule& molecule : read_deck_molecules(source, entry.path().string())) {
            if (molecule.n < 3)
                continue;
            auto table = std::make_unique<AtomTable>();
            for (const AtomRecord& rec : molecule.records)
                place_atom(rec.index,
                           {rec.i, rec.j, rec.k, rec.l, float(rec.r), float(rec.a), float(rec.t),
                            float(rec.m)},
                           *table);
            const Structure s = build_structure(molecule.records, molecule.n);
            for (int atom = 1; atom <= molecule.n; ++atom)
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(s.positions[atom - 1][k], table->pos[atom][k], 2e-5)
                        << entry.path() << " atom " << atom;
        }
    }
}

// A positive T turns the atom counter-clockwise seen from K toward J: with J = (1,1,0),
// K = (1,0,0), L at the origin, R = 1, A = 90 and T = 90 the atom is at (1,1,-1); the third
// record with J other than atom 1 points back along -x.
TEST(ModelConstruction, DihedralSignAndThirdRecordRule) {
    const DeckMolecule m =
        first_molecule(molecule_head(4) + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                       atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, 2, 1, 0, 1, 90, 0, 1) +
                       atom_record(4, 3, 2, 1, 1, 90, 90, 1) + kEndRecord);
    const Structure s = build_structure(m.records, m.n);
    EXPECT_NEAR((s.positions[2] - Eigen::Vector3d(1, 1, 0)).norm(), 0.0, 1e-15);
    EXPECT_NEAR((s.positions[3] - Eigen::Vector3d(1, 1, -1)).norm(), 0.0, 1e-15);
}

TEST(ModelConstruction, DerivativesAgreeWithCentralDifferences) {
    // A chain with every kind of coordinate, a tetrahedral default and a dummy atom.
    const DeckMolecule m = first_molecule(
        molecule_head(6) + atom_record(1, 0, 0, 0, 0, 0, 0, 12) +
        atom_record(2, 1, 0, 0, 1.53, 0, 0, 12) + atom_record(3, 2, 1, 0, 1.43, 108.5, 0, 0) +
        atom_record(4, 3, 2, 1, 0.96, 106.0, 63.0, 1.007825) +
        atom_record(5, 1, 2, 3, 1.09, 0, -121.5, 1.007825) +
        atom_record(6, 2, 1, 5, 1.10, 111.0, 178.0, 15.994915) + kEndRecord);
    std::vector<CoordinateRef> wrt;
    for (std::size_t record = 0; record < m.records.size(); ++record)
        for (CoordinateKind kind :
             {CoordinateKind::length, CoordinateKind::angle, CoordinateKind::dihedral})
            if (record_uses(m.records[record].index, kind) &&
                !(kind == CoordinateKind::angle && m.records[record].a == 0))
                wrt.push_back({record, kind});
    const Structure s = build_structure(m.records, m.n, wrt);
    const Inertia base = inertia(s.positions, m.mass_sets[0].masses);
    const Eigen::Matrix3Xd dmoments = moment_derivatives(base, s, m.mass_sets[0].masses);
    for (std::size_t c = 0; c < wrt.size(); ++c) {
        const double h = 1e-6;
        auto records = m.records;
        const double value = coordinate_value(records, wrt[c]);
        set_coordinate(records, wrt[c], value + h);
        const Structure up = build_structure(records, m.n);
        set_coordinate(records, wrt[c], value - h);
        const Structure down = build_structure(records, m.n);
        for (int atom = 0; atom < m.n; ++atom) {
            const Eigen::Vector3d numeric = (up.positions[atom] - down.positions[atom]) / (2 * h);
            EXPECT_NEAR((s.derivatives[atom].col(c) - numeric).norm(), 0.0, 1e-8)
                << "coordinate " << c << " atom " << atom + 1;
        }
        const auto mu = inertia(up.positions, m.mass_sets[0].masses).moments;
        const auto md = inertia(down.positions, m.mass_sets[0].masses).moments;
        for (int g = 0; g < 3; ++g)
            EXPECT_NEAR(dmoments(g, c), (mu[g] - md[g]) / (2 * h), 1e-7) << "moment " << g;
    }
}

TEST(ModelConstruction, CollinearFrameIsReportedAtItsRecord) {
    DeckMolecule m =
        first_molecule(molecule_head(4) + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                       atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, 2, 1, 0, 1, 90, 0, 1) +
                       atom_record(4, 3, 2, 1, 1, 90, 90, 1) + kEndRecord);
    m.records[2].a = 180.0; // atom 3 on the line 1-2: atom 4's frame is gone
    try {
        build_structure(m.records, m.n);
        FAIL() << "no error";
    } catch (const companion::CommandError& error) {
        EXPECT_EQ(error.line(), m.records[3].line);
        EXPECT_EQ(error.status(), 1);
    }
}

// Water and formaldehyde against moments worked out by hand (planar, a 2x2 eigenproblem).
TEST(ModelInertia, MomentsConstantsAndRotorTypes) {
    const DeckMolecule water =
        first_molecule(test::read_file(test::source_dir() / "examples" / "WATER.DAT"));
    const auto m = moments_of(water);
    expect_relative(m[0], 0.614455510343853, 1e-12);
    expect_relative(m[1], 1.15491463582696, 1e-12);
    expect_relative(m[2], 1.76937014617081, 1e-12);
    expect_relative(kConstantFactor / m[0], 822482.6706470954, 1e-12);
    const auto hdo = moments_of(water, 2);
    expect_relative(hdo[1], 1.84573446902747, 1e-12);
    EXPECT_EQ(rotor_type(m), Rotor::asymmetric);
    const DeckMolecule methane =
        first_molecule(test::read_file(test::source_dir() / "examples" / "CH4.DAT"));
    EXPECT_EQ(rotor_type(moments_of(methane)), Rotor::spherical);
    EXPECT_EQ(rotor_type(moments_of(methane, 1)), Rotor::prolate);
    EXPECT_EQ(rotor_type({0.0, 10.0, 10.0}), Rotor::linear);
    EXPECT_EQ(rotor_type({5.0, 5.0, 10.0}), Rotor::oblate);
    const auto p = planar_moments(m);
    EXPECT_NEAR(p[2], 0.0, 1e-12); // planar: Pcc = 0
}

} // namespace
} // namespace tessen::model
