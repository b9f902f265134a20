// tessen-rot on reports that the built tessen writes. The expected constants were worked
// out by hand from the moments that the reports print (F = 505379.00914143614 MHz amu A^2),
// not by this code.

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
    json isotopologues(const std::string& report) {
        ProgramRun r = rot({"--json", report});
        EXPECT_EQ(r.status, 0) << r.err;
        return json::parse(r.out)["molecules"][0]["isotopologues"];
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
}

// For a rigid model the substitution coordinates are the principal coordinates put in,
// within what the printed digits allow.
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
            if (put_in > 0.1) {
                EXPECT_NEAR(rs, put_in, 0.002) << sub;
            }
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
    EXPECT_NE(text.out.find("H2(16)O       822482.0152  437589.7872  285626.5276  -0.433876"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("HD(16)O          2  0.756950"), std::string::npos) << text.out;

    ProgramRun csv = rot({"--csv", report});
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.substr(0, csv.out.find(',')), "report");
    EXPECT_NE(csv.out.find("\"WATER, EQUILIBRIUM STRUCTURE\""), std::string::npos); // quoted

    write_file(dir / "EMPTY.OUT", "not a report\r\n");
    ProgramRun empty = rot({report, "EMPTY.OUT"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("EMPTY.OUT: no mass-properties block"), std::string::npos);
    EXPECT_EQ(rot({"MISSING.OUT"}).status, 1);
    EXPECT_EQ(rot({"--json", "--csv", report}).status, 2);
    EXPECT_EQ(rot({}).status, 2);
    EXPECT_EQ(rot({"--version"}).out.rfind("tessen-rot ", 0), 0u);
}

// A block whose moments print as asterisks is listed with every computed value null.
TEST_F(Rot, MomentsOfAsterisksGiveNullValues) {
    std::string text = read_file(dir / example_report("WATER"));
    const std::size_t at = text.find("       1.154915     .614456    1.769370");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 39, "   ************     .614456    1.769370");
    write_file(dir / "STARS.OUT", text);
    ProgramRun r = rot({"--json", "STARS.OUT"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("asterisks"), std::string::npos) << r.err;
    const json first = json::parse(r.out)["molecules"][0]["isotopologues"][0];
    EXPECT_EQ(first["title"], "H2(16)O");
    EXPECT_TRUE(first["rotor"].is_null());
    EXPECT_EQ(first["constants_mhz"], json({nullptr, nullptr, nullptr}));
    EXPECT_TRUE(json::parse(r.out)["molecules"][0]["isotopologues"][2]["substitution"].is_null());
}

} // namespace
} // namespace tessen::test
