// Kraitchman's equations: water and formaldehyde against coordinates worked out by hand,
// a symmetric top's on-axis and off-axis atoms against the rigid structure, linear
// molecules with the uncertainty carried on in closed form, and the cases with a note.

#include "model/Inertia.hpp"
#include "model/Kraitchman.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tessen::model {
namespace {

KraitchmanSpecies species(std::array<double, 3> moments) {
    return {{moments[0], moments[1], moments[2]}, {}};
}

Substitution substitute(Rotor rotor, std::array<double, 3> parent,
                        std::array<double, 3> isotopologue, double total_mass, double mass_change) {
    KraitchmanInput input;
    input.rotor = rotor;
    input.parent = species(parent);
    input.species = species(isotopologue);
    input.total_mass = total_mass;
    input.mass_change = mass_change;
    return kraitchman(input);
}

constexpr double kH = 1.007825, kD = 2.014102;

TEST(Kraitchman, WaterAndFormaldehydeGiveTheSubstitutedAtomsCoordinates) {
    const Substitution hdo =
        substitute(Rotor::asymmetric, {0.614455510343853, 1.15491463582696, 1.76937014617081},
                   {0.727706707437179, 1.84573446902747, 2.57344117646465}, 18.010565, kD - kH);
    ASSERT_TRUE(hdo.axes[0] && hdo.axes[1] && hdo.axes[2]) << hdo.note;
    EXPECT_NEAR(hdo.axes[0]->value, 0.7569503272636615, 1e-9);
    EXPECT_NEAR(hdo.axes[1]->value, 0.5203133391160194, 1e-9);
    EXPECT_NEAR(hdo.axes[2]->value, 0.0, 1e-6);
    EXPECT_DOUBLE_EQ(hdo.axes[0]->costain, 0.0015 / hdo.axes[0]->value);
    EXPECT_NEAR(hdo.mu, 18.010565 * (kD - kH) / (18.010565 + kD - kH), 1e-15);

    const std::array<double, 3> h2co = {1.81559527548693, 13.0697639277579, 14.8853592032448};
    const Substitution carbon =
        substitute(Rotor::asymmetric, h2co, {1.81559527548693, 13.4242929791306, 15.2398882546175},
                   30.010565, 13.003355 - 12.0);
    EXPECT_NEAR(carbon.axes[0]->value, 0.6042822671428333, 1e-9);
    EXPECT_NEAR(carbon.axes[1]->value, 0.0, 1e-6);
    // Costain's uncertainty stays finite at 0: sqrt(2K).
    EXPECT_DOUBLE_EQ(carbon.axes[2]->costain, std::sqrt(0.003));
    const Substitution hdco =
        substitute(Rotor::asymmetric, h2co, {2.59038201885741, 14.5544181566105, 17.1448001754679},
                   30.010565, kD - kH);
    EXPECT_NEAR(hdco.axes[0]->value, 1.191589627330685, 1e-9);
    EXPECT_NEAR(hdco.axes[1]->value, 0.9490781183175477, 1e-9);
}

// A negative square is 0 and imaginary.
TEST(Kraitchman, NegativeSquareIsImaginary) {
    const Substitution s =
        substitute(Rotor::asymmetric, {1.0, 2.0, 3.0}, {1.1, 2.0, 2.95}, 20.0, 1.0);
    ASSERT_TRUE(s.axes[0]);
    EXPECT_TRUE(s.axes[0]->imaginary);
    EXPECT_EQ(s.axes[0]->value, 0.0);
}

// Rigid symmetric tops: the atom's place from the structure is what the equations give.
struct Top {
    std::vector<Eigen::Vector3d> positions;
    std::vector<double> masses;
};

Top methyl_top(double heavy, double axial_mass) {
    Top top;
    top.positions = {{0, 0, 0}, {0, 0, 1.39}};
    top.masses = {12.0, axial_mass};
    for (int k = 0; k < 3; ++k) {
        const double phi = 2 * M_PI * k / 3;
        top.positions.push_back({1.03 * std::cos(phi), 1.03 * std::sin(phi), -0.36});
        top.masses.push_back(heavy);
    }
    return top;
}

std::array<double, 3> moments_of(const Top& top) {
    return inertia(top.positions, top.masses).moments;
}

TEST(Kraitchman, SymmetricTopOnAndOffTheAxisMatchTheRigidStructure) {
    for (double axial_mass : {18.998403, 0.5}) { // prolate (CH3F), then oblate
        const Top parent = methyl_top(kH, axial_mass);
        const Inertia frame = inertia(parent.positions, parent.masses);
        const Rotor rotor = rotor_type(frame.moments);
        ASSERT_TRUE(is_symmetric_top(rotor));
        const double total = frame.total_mass;
        const Eigen::Vector3d carbon = parent.positions[0] - frame.center;
        const Eigen::Vector3d hydrogen = parent.positions[2] - frame.center;

        Top c13 = parent;
        c13.masses[0] = 13.003355;
        const Substitution on = substitute(rotor, frame.moments, moments_of(c13), total, 1.003355);
        ASSERT_TRUE(on.axial) << on.note;
        EXPECT_NEAR(on.axial->value, std::fabs(carbon.z()), 1e-9);
        EXPECT_EQ(on.radial->value, 0.0);
        const std::size_t axis = rotor == Rotor::prolate ? 0 : 2;
        EXPECT_NEAR(on.axes[axis]->value, std::fabs(carbon.z()), 1e-9);

        Top ch2d = parent;
        ch2d.masses[2] = kD;
        const Substitution off = substitute(rotor, frame.moments, moments_of(ch2d), total, kD - kH);
        ASSERT_TRUE(off.axial && off.radial) << off.note;
        EXPECT_FALSE(off.axes[0]);
        EXPECT_NEAR(off.axial->value, std::fabs(hydrogen.z()), 1e-9);
        EXPECT_NEAR(off.radial->value, std::hypot(hydrogen.x(), hydrogen.y()), 1e-9);
    }
}

TEST(Kraitchman, MissingConstantsAndSphericalTopsGiveANote) {
    KraitchmanInput input;
    input.rotor = Rotor::prolate;
    input.parent = {{std::nullopt, 50.0, 50.0}, {}}; // no A
    input.species = {{3.5, 51.0, 52.0}, {}};         // off the axis
    input.total_mass = 34;
    input.mass_change = 1;
    EXPECT_FALSE(kraitchman(input).axial);
    EXPECT_NE(kraitchman(input).note.find("A"), std::string::npos);
    input.rotor = Rotor::spherical;
    EXPECT_FALSE(kraitchman(input).note.empty());
    input.rotor = Rotor::asymmetric;
    EXPECT_FALSE(kraitchman(input).axes[0]);
}

// A linear parent: |z|^2 = dI / mu, and the uncertainty sigma(dI) / (2 mu |z|).
TEST(Kraitchman, LinearParentCarriesTheMomentsUncertaintiesOn) {
    KraitchmanInput input;
    input.rotor = Rotor::linear;
    // An Ia of 0 with an uncertainty (a printed .000000) plays no part and spoils nothing.
    input.parent = {{0.0, 40.0, std::nullopt}, {5e-7, 0.003, 0}};
    input.species = {{0.0, 41.5, std::nullopt}, {5e-7, 0.004, 0}};
    input.total_mass = 44;
    input.mass_change = 1;
    const Substitution s = kraitchman(input);
    ASSERT_TRUE(s.axes[0]);
    const double mu = 44.0 / 45.0;
    const double z = std::sqrt(1.5 / mu);
    EXPECT_NEAR(s.axes[0]->value, z, 1e-12);
    EXPECT_NEAR(s.axes[0]->sigma, 0.005 / mu / (2 * z), 1e-9);
    EXPECT_EQ(s.axes[1]->value, 0.0);
}

} // namespace
} // namespace tessen::model
