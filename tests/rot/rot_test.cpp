// tessen-rot on reports that the built tessen writes and on decks read directly. The
// expected constants from reports were worked out by hand from the moments that the
// reports print (F = 505379.00914143614 MHz amu A^2); those from decks come from
// reference_constants.py beside this file (tessen's placement rules, a Jacobi sweep and
// CODATA's h and u in plain Python), not from this code.

#include "support/Files.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>

namespace tessen::test {
namespace {

using nlohmann::json;

// Linear OCS with 34S and 13C substituted, one atom each.
const std::string kOcsDeck = R"( -9
      3   1
CARBONYL SULFIDE OCS, LINEAR
C=O 1.1578, C=S 1.5601 ANGSTROM
(16)O(12)C(32)S
  1  0  0  0    0.000000    0.000000    0.000000   15.994915
  2  1  0  0    1.157800    0.000000    0.000000   12.000000
  3  2  1  0    1.560100  180.000000    0.000000   31.972071
 -6(16)O(12)C(34)S
   15.994915   12.000000   33.967867
 -6(16)O(13)C(32)S
   15.994915   13.003355   31.972071
999
)";

// Ammonia, an oblate top: the fourth hydrogen's dihedral is the C3v value to six decimals.
const std::string kAmmoniaDeck = R"( -9
      4   1
AMMONIA
N-H 1.0124, HNH 106.67
NH3
  1  0  0  0    0.000000    0.000000    0.000000   14.003074
  2  1  0  0    1.012400    0.000000    0.000000    1.007825
  3  1  2  0    1.012400  106.670000    0.000000    1.007825
  4  1  2  3    1.012400  106.670000  113.718736    1.007825
 -6NH2D
   14.003074    1.007825    1.007825    2.014102
 -6(15)NH3
   15.000109    1.007825    1.007825    1.007825
999
)";

struct Rot : ::testing::Test {
    ScratchDir dir;

    // The report of a deck, by the built tessen, in the scratch folder.
    std::string report_of(const std::string& name, const std::string& deck) {
        write_file(dir / (name + ".DAT"), deck);
        EXPECT_EQ(run_program({tessen_binary(), name + ".DAT"}, dir.path()).status, 0) << name;
        return name + ".OUT";
    }
    std::string example_report(const std::string& name) {
        return report_of(name, read_file(source_dir() / "examples" / (name + ".DAT")));
    }
    ProgramRun rot(const std::vector<std::string>& args) {
        std::vector<std::string> argv{rot_binary()};
        argv.insert(argv.end(), args.begin(), args.end());
        return run_program(argv, dir.path());
    }
    json isotopologues(const std::string& input) {
        ProgramRun r = rot({"--json", input});
        EXPECT_EQ(r.status, 0) << r.err;
        return json::parse(r.out)["molecules"][0]["isotopologues"];
    }
    // The report with its first occurrence of `from` replaced, under a new name.
    std::string edited(const std::string& report, const std::string& from, const std::string& to,
                       const std::string& name) {
        std::string text = read_file(dir / report);
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
        write_file(dir / name, text);
        return name;
    }
};

void expect_relative(const json& value, double expected, const char* what) {
    ASSERT_TRUE(value.is_number()) << what << ": " << value;
    EXPECT_NEAR(value.get<double>(), expected, 1e-9 * std::fabs(expected)) << what;
}

TEST_F(Rot, WorkedConstantsOfWaterFormaldehydeAndALinearMolecule) {
    // Water: printed moments 1.154915, .614456, 1.769370 (sorted from columns 2, 1, 3).
    const json water = isotopologues(example_report("WATER"))[0];
    EXPECT_EQ(water["title"], "H2(16)O");
    EXPECT_EQ(water["rotor"], "asymmetric");
    EXPECT_EQ(water["moment_columns"], json({2, 1, 3}));
    expect_relative(water["total_mass"], 18.010560, "total mass");
    expect_relative(water["constants_mhz"][0], 822482.0152157943, "A");
    expect_relative(water["constants_mhz"][1], 437589.7872496558, "B");
    expect_relative(water["constants_mhz"][2], 285626.5276010309, "C");
    expect_relative(water["constants_cm"][0], 27.435046922221, "A in cm-1");
    expect_relative(water["kappa"], -0.433876478291, "kappa");
    expect_relative(water["inertial_defect"], -0.000001, "Delta");
    expect_relative(water["planar_moments"][2], (0.614456 + 1.154915 - 1.769370) / 2, "Pcc");
    EXPECT_EQ(water["masses"], json({15.99492, 1.007825, 1.007825}));

    const json h2co = isotopologues(example_report("H2CO"))[0];
    expect_relative(h2co["constants_mhz"][0], 282044.7189154367, "A");
    expect_relative(h2co["constants_mhz"][1], 38823.0167782807, "B");
    expect_relative(h2co["constants_mhz"][2], 34125.6712240197, "C");
    expect_relative(h2co["kappa"], -0.962105811570, "kappa");

    const json ocs = isotopologues(report_of("OCS", kOcsDeck))[0];
    EXPECT_EQ(ocs["rotor"], "linear");
    EXPECT_TRUE(ocs["constants_mhz"][0].is_null());
    EXPECT_TRUE(ocs["kappa"].is_null());
    expect_relative(ocs["constants_mhz"][1], 6099.3534602830, "B");
    // Its (13)C block prints Ia as -.000002: a moment is never below 0.
    const json c13 = isotopologues(report_of("OCS", kOcsDeck))[2];
    EXPECT_EQ(c13["moments"][0], 0.0);
    EXPECT_EQ(c13["rotor"], "linear");
}

// For a rigid model the substitution coordinates are the principal coordinates put in,
// within the uncertainty that the printed digits give them (and half a unit of the
// coordinate's own last digit).
TEST_F(Rot, KraitchmanReproducesTheParentsCoordinates) {
    const json ocs = isotopologues(report_of("OCS", kOcsDeck));
    const json s34 = ocs[1]["substitution"];
    EXPECT_EQ(s34["atom"], 3);
    // The printed masses: 31.97207 and 33.96787 (seven significant digits), M 59.966990.
    expect_relative(s34["mu"], 1.931515973409, "mu");
    expect_relative(s34["coordinates"][0], 1.037131695061, "|a| of S");
    EXPECT_EQ(s34["coordinates"][1], 0.0);

    const json water = isotopologues(example_report("WATER"));
    EXPECT_TRUE(water[1]["substitution"].is_null()); // D2O changes two atoms
    const json hdo = water[2]["substitution"];
    EXPECT_EQ(hdo["atom"], 2);
    EXPECT_EQ(hdo["imaginary"], json({"c"}));
    EXPECT_DOUBLE_EQ(hdo["costain"][2].get<double>(), std::sqrt(0.003)); // finite at 0

    const json h2co = isotopologues(example_report("H2CO"));
    for (const json& sub :
         {hdo, ocs[1]["substitution"], ocs[2]["substitution"], h2co[2]["substitution"]}) {
        for (int g = 0; g < 3; ++g) {
            const double rs = sub["coordinates"][g];
            const double put_in = sub["principal"][g];
            const double sigma = sub["coordinates_sigma"][g];
            EXPECT_LT(sigma, 0.005) << sub; // a zero coordinate's is the largest
            EXPECT_NEAR(rs, put_in, 3 * sigma + 5e-7) << sub;
        }
    }
}

TEST_F(Rot, RotorTypesAndTheirNullValues) {
    const json methane = isotopologues(example_report("CH4"));
    EXPECT_EQ(methane[0]["rotor"], "spherical");
    EXPECT_TRUE(methane[0]["kappa"].is_null());
    EXPECT_EQ(methane[1]["rotor"], "prolate");
    expect_relative(methane[1]["kappa"], -1.0, "kappa of CH3D");
    const json sub = methane[1]["substitution"];
    EXPECT_TRUE(sub["coordinates"][0].is_null());
    EXPECT_NE(sub["note"].get<std::string>().find("spherical"), std::string::npos);
}

// Methyl fluoride, a prolate top: 13C on the axis, one D off it.
TEST_F(Rot, SymmetricTopParentsGetAxialAndRadialCoordinates) {
    const json ch3f = isotopologues(report_of("CH3F", R"( -9
      5   1
METHYL FLUORIDE
C3V
CH3F
  1  0  0  0    0.000000    0.000000    0.000000   12.000000
  2  1  0  0    1.383000    0.000000    0.000000   18.998403
  3  1  2  0    1.086000  108.800000    0.000000    1.007825
  4  1  2  3    1.086000  108.800000  120.000000    1.007825
  5  1  2  3    1.086000  108.800000 -120.000000    1.007825
 -6(13)CH3F
   13.003355   18.998403    1.007825    1.007825    1.007825
 -6CH2DF
   12.000000   18.998403    2.014102    1.007825    1.007825
999
)"));
    EXPECT_EQ(ch3f[0]["rotor"], "prolate");
    const json carbon = ch3f[1]["substitution"];
    EXPECT_NEAR(carbon["axial"].get<double>(), carbon["principal"][0].get<double>(), 0.002);
    EXPECT_EQ(carbon["radial"], 0.0);
    const json deuterium = ch3f[2]["substitution"];
    EXPECT_TRUE(deuterium["coordinates"][0].is_null());
    const json h = ch3f[0]["principal_coordinates"][2];
    EXPECT_NEAR(deuterium["axial"].get<double>(), std::fabs(h[0].get<double>()), 0.002);
    EXPECT_NEAR(deuterium["radial"].get<double>(),
                std::hypot(h[1].get<double>(), h[2].get<double>()), 0.002);
}

TEST_F(Rot, TextAndCsvAndExitStatuses) {
    const std::string report = example_report("WATER");
    ProgramRun text = rot({report});
    EXPECT_EQ(text.status, 0);
    // A = F / .614456; its uncertainty A dI / I with dI = hypot(5e-7, 2^-23 x 1.769370)
    // = 5.43e-7 (half a unit of the sixth decimal, the single-precision rounding of Ic):
    // 0.73 MHz, so A is given to two decimals.
    EXPECT_NE(text.out.find("H2(16)O       822482.02(73)"), std::string::npos) << text.out;
    // HDO is planar: its |c| is 0 within the printed digits (a milliangstrom), not 0.001.
    EXPECT_NE(text.out.find("0.0000(12)i"), std::string::npos) << text.out;

    ProgramRun csv = rot({"--csv", report});
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.substr(0, csv.out.find(',')), "report");
    EXPECT_NE(csv.out.find("\"WATER, EQUILIBRIUM STRUCTURE\""), std::string::npos); // quoted
    EXPECT_NE(csv.out.find(",822482.02,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(",report,5.4e-07,"), std::string::npos) << csv.out;

    write_file(dir / "EMPTY.OUT", "not a report\r\n");
    ProgramRun neither = rot({report, "EMPTY.OUT"});
    EXPECT_EQ(neither.status, 1);
    EXPECT_NE(neither.err.find("tessen-rot: EMPTY.OUT:1: neither a TESSEN report nor a deck"),
              std::string::npos)
        << neither.err;
    EXPECT_NE(neither.out.find("H2(16)O"), std::string::npos); // the other still analysed
    EXPECT_EQ(rot({"MISSING.OUT"}).status, 2);                 // nothing computed
    EXPECT_EQ(rot({"EMPTY.OUT"}).status, 2);
    EXPECT_EQ(rot({"--json", "--csv", report}).status, 2);
    EXPECT_EQ(rot({}).status, 2);
    EXPECT_EQ(rot({"--version"}).out.rfind("tessen-rot ", 0), 0u);
}

// A block whose moments print as asterisks is listed with every computed value null; when
// no block gives a value the run fails, and the warning is given once for the molecule.
TEST_F(Rot, MomentsOfAsterisksGiveNullValues) {
    const std::string water = example_report("WATER");
    const std::string stars = edited(water, "1.154915", "********", "STARS.OUT");
    ProgramRun r = rot({"--json", stars});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("tessen-rot: STARS.OUT:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(": molecule 1, block 1 (H2(16)O): the principal moments are not all "
                         "printed (asterisks)"),
              std::string::npos)
        << r.err;
    const json first = json::parse(r.out)["molecules"][0]["isotopologues"][0];
    EXPECT_EQ(first["title"], "H2(16)O");
    EXPECT_TRUE(first["rotor"].is_null());
    EXPECT_EQ(first["constants_mhz"], json({nullptr, nullptr, nullptr}));
    EXPECT_TRUE(json::parse(r.out)["molecules"][0]["isotopologues"][2]["substitution"].is_null());

    edited(stars, "2.308055", "********", "ALLSTARS.OUT");
    edited("ALLSTARS.OUT", "1.845734", "********", "ALLSTARS.OUT");
    ProgramRun none = rot({"ALLSTARS.OUT"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("(and so in 2 more blocks of the molecule)"), std::string::npos)
        << none.err;
    EXPECT_EQ(none.err.find("block 2"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find("ALLSTARS.OUT: no block gives a value"), std::string::npos);
}

// Moments that differ by a unit of their last printed digit are equal within what the
// report supports; twenty units are not.
TEST_F(Rot, ASymmetricTopWithinThePrintedDigits) {
    const std::string ammonia = report_of("NH3", kAmmoniaDeck);
    EXPECT_EQ(isotopologues(ammonia)[0]["rotor"], "oblate");
    const std::string moments = "    1.691438    1.691438";
    EXPECT_EQ(
        isotopologues(edited(ammonia, moments, "    1.691439    1.691438", "ONE.OUT"))[0]["rotor"],
        "oblate");
    EXPECT_EQ(isotopologues(
                  edited(ammonia, moments, "    1.691458    1.691438", "TWENTY.OUT"))[0]["rotor"],
              "asymmetric");
}

// A deck read directly: the structure in double precision, its constants without the
// report's rounding.
TEST_F(Rot, DeckReadDirectly) {
    write_file(dir / "WATER.DAT", read_file(source_dir() / "examples" / "WATER.DAT"));
    const json water = isotopologues("WATER.DAT");
    expect_relative(water[0]["constants_mhz"][0], 822482.6706470952, "water A");
    expect_relative(water[0]["constants_mhz"][1], 437589.9252324972, "water B");
    expect_relative(water[0]["constants_mhz"][2], 285626.50400491577, "water C");
    const std::string text = rot({"WATER.DAT"}).out; // ten significant digits
    for (const char* digits : {" 822482.6706 ", " 437589.9252 ", " 285626.504 "})
        EXPECT_NE(text.find(digits), std::string::npos) << digits << text;

    write_file(dir / "NH3.DAT", kAmmoniaDeck);
    // Given on standard input: told a deck by its content, not its name.
    ProgramRun piped = run_program({rot_binary(), "--json", "-"}, dir.path(), kAmmoniaDeck);
    ASSERT_EQ(piped.status, 0) << piped.err;
    const json nh3 = json::parse(piped.out)["molecules"][0]["isotopologues"];
    EXPECT_EQ(nh3[0]["rotor"], "oblate");
    expect_relative(nh3[0]["constants_mhz"][0], 298786.6919292051, "ammonia A");
    expect_relative(nh3[0]["constants_mhz"][1], 298786.6903372788, "ammonia B");
    expect_relative(nh3[0]["constants_mhz"][2], 190093.3176113018, "ammonia C");
    const double a = nh3[0]["constants_mhz"][0], b = nh3[0]["constants_mhz"][1];
    EXPECT_LT(std::fabs(a - b), 1e-7 * a);

    // Kraitchman on the oblate parent: 15N on the axis, the D of NH2D off it, each where the
    // structure puts it.
    const json nitrogen = nh3[2]["substitution"];
    const json n = nh3[0]["principal_coordinates"][0];
    EXPECT_NEAR(nitrogen["axial"].get<double>(), std::fabs(n[2].get<double>()), 1e-7);
    const json deuterium = nh3[1]["substitution"];
    const json d = nh3[0]["principal_coordinates"][3];
    EXPECT_NEAR(deuterium["axial"].get<double>(), std::fabs(d[2].get<double>()), 1e-7);
    EXPECT_NEAR(deuterium["radial"].get<double>(),
                std::hypot(d[0].get<double>(), d[1].get<double>()), 1e-7);
}

} // namespace
} // namespace tessen::test
