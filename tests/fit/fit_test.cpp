// tessen-fit on constants planted from known structures. Every expected number was worked
// out independently (a separate double-precision computation of the rigid molecules'
// moments with Open Babel's isotope masses, a Jacobi eigensolver, and the models' terms
// added by hand), not by this code.

#include "model/DeckMolecule.hpp"
#include "support/Files.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace tessen::test {
namespace {

using nlohmann::json;

// An atom record with its mass as written (more digits than F12.6 holds).
std::string atom(int i, int j, int k, int l, double r, double a, double t, const char* mass) {
    char text[96];
    std::snprintf(text, sizeof text, "%3d%3d%3d%3d%12.6f%12.6f%12.6f%12s\n", i, j, k, l, r, a, t,
                  mass);
    return text;
}

std::string head(int n, const std::string& title) {
    return " -9\n" + std::string("      ") + std::to_string(n) + "   1\n" + title + "\nPLANTED\n" +
           title + "\n";
}

// Water started from 0.96 A and 104 degrees; its isotope sets D2O and HDO.
const std::string kWaterDeck =
    head(3, "WATER") + atom(1, 0, 0, 0, 0, 0, 0, "15.99491462") +
    atom(2, 1, 0, 0, 0.96, 0, 0, "1.007825032") + atom(3, 1, 2, 0, 0.96, 104.0, 0, "1.007825032") +
    " -6D2O\n 15.99491462 2.014101778 2.014101778\n -6HDO\n 15.99491462 2.014101778 1.007825032\n"
    "999\n";

// Planted from r(OH) = 0.9572 A, HOH = 104.52 degrees.
const std::string kWaterRows[3] = {
    "1, H2O, 822482.6496415049, 437589.9113383419, 285626.4955520342",
    "2, D2O, 457546.0964446252, 218963.1483446520, 148092.1873011910",
    "3, HDO, 694481.7180533159, 273809.1848312459, 196382.5876437585"};

// Formaldehyde started from 1.20, 1.10 A and 120 degrees (planted 1.2078, 1.1161, 121.75).
const std::string kFormaldehydeDeck =
    head(4, "FORMALDEHYDE") + atom(1, 0, 0, 0, 0, 0, 0, "12.000000") +
    atom(2, 1, 0, 0, 1.20, 0, 0, "15.99491462") + atom(3, 1, 2, 0, 1.10, 120, 0, "1.007825032") +
    atom(4, 1, 2, 3, 1.10, 120, 180, "1.007825032") + "999\n";

std::string formaldehyde_table(const std::string (&rows)[5]) {
    const char* lists[5] = {"-", "1:13C", "2:18O", "\"3:D,4:D\"", "3:D"};
    std::string table = "isotopologue,A,B,C\n";
    for (int k = 0; k < 5; ++k)
        table += std::string(lists[k]) + "," + rows[k] + "\n";
    return table;
}

struct Fit : ::testing::Test {
    ScratchDir dir;
    std::string out, err;

    std::string file(const std::string& name, const std::string& text) {
        write_file(dir / name, text);
        return (dir / name).string();
    }
    int fit(std::vector<std::string> args) {
        args.insert(args.begin(), fit_binary());
        const ProgramRun run = run_program(args, dir.path());
        out = run.out;
        err = run.err;
        return run.status;
    }
    json fit_json(std::vector<std::string> args, int expected = 0) {
        args.insert(args.begin(), "--json");
        EXPECT_EQ(fit(args), expected) << err;
        return json::parse(out);
    }
    std::string water_table(std::initializer_list<int> sets) {
        std::string table = "set, name, A, B, C\n";
        for (int s : sets)
            table += kWaterRows[s - 1] + "\n";
        return file("w.csv", table);
    }
};

double value_of(const json& model, const std::string& name) {
    for (const json& p : model["parameters"])
        if (p["name"] == name)
            return p["value"];
    for (const json& p : model["model_constants"])
        if (p["name"] == name)
            return p["value"];
    ADD_FAILURE() << "no " << name;
    return 0;
}

TEST_F(Fit, PlantedWaterIsFittedBackExactlyWithItsSubstitutionCoordinates) {
    const json r = fit_json({"--vary", "r2=r3,a3", "--model", "r0,rs", file("W.DAT", kWaterDeck),
                             water_table({1, 2, 3})});
    const json& r0 = r["models"][0];
    EXPECT_EQ(r0["model"], "r0");
    EXPECT_EQ(r0["n"], 9);
    EXPECT_EQ(r0["p"], 2);
    EXPECT_LT(r0["deviation"].get<double>(), 1e-9);
    EXPECT_EQ(r0["parameters"][0]["tied"], json({"r3"}));
    EXPECT_EQ(r0["parameters"][1]["unit"], "degrees");
    EXPECT_NEAR(value_of(r0, "r2"), 0.9572, 1e-11);
    EXPECT_NEAR(value_of(r0, "a3"), 104.52, 1e-9);
    // Kraitchman on the measured constants of HDO gives H 2's place put in.
    const json& hdo = r["rs"][0];
    EXPECT_EQ(hdo["label"], "HDO");
    EXPECT_EQ(hdo["atom"], 2);
    EXPECT_NEAR(hdo["coordinates"][0].get<double>(), 0.7569503272636611, 1e-9);
    EXPECT_NEAR(hdo["coordinates"][1].get<double>(), 0.520313335883681, 1e-9);
    EXPECT_NEAR(hdo["costain"][0].get<double>(), 0.0015 / 0.7569503272636611, 1e-9);
}

TEST_F(Fit, PlantedModelConstantsAreRecoveredByRm1AndRIeps) {
    const std::string deck = file("H2CO.DAT", kFormaldehydeDeck);
    const std::string rm1[5] = {"276303.849539954914,38455.059270129488,33819.927630526094",
                                "276303.849539954972,37442.218379803126,33034.663836031512",
                                "276303.849539954914,36546.854146762627,32336.269764378438",
                                "138556.810266758868,31931.172633008195,25993.923605613723",
                                "193893.555026178889,34542.324041701402,29370.702681825656"};
    const json m1 = fit_json({"--vary", "r2,r3=r4,a3=a4", "--model", "rm1", deck,
                              file("rm1.csv", formaldehyde_table(rm1))})["models"][0];
    EXPECT_NEAR(value_of(m1, "r2"), 1.2078, 1e-8);
    EXPECT_NEAR(value_of(m1, "r3"), 1.1161, 1e-8);
    EXPECT_NEAR(value_of(m1, "a3"), 121.75, 1e-6);
    EXPECT_NEAR(value_of(m1, "c_a"), 0.01, 1e-8);
    EXPECT_NEAR(value_of(m1, "c_b"), 0.02, 1e-8);
    EXPECT_NEAR(value_of(m1, "c_c"), 0.015, 1e-8);

    const std::string eps[5] = {"270894.228863777826,38579.245684303103,33769.921719645892",
                                "270894.228863777884,37562.658568895225,32988.426719164301",
                                "270894.228863777826,36663.973590487942,32293.266034268927",
                                "137390.934236517380,32031.081787873292,25975.256077749986",
                                "191403.753754260426,34651.984028389059,29340.196728133717"};
    const json ie = fit_json({"--vary", "r2,r3=r4,a3=a4", "--model", "rIeps", "--data", "constants",
                              deck, file("eps.csv", formaldehyde_table(eps))})["models"][0];
    EXPECT_EQ(ie["data"], "constants");
    EXPECT_NEAR(value_of(ie, "r2"), 1.2078, 1e-8);
    EXPECT_NEAR(value_of(ie, "eps_a"), 0.05, 1e-8);
    EXPECT_NEAR(value_of(ie, "eps_b"), 0.03, 1e-8);
    EXPECT_NEAR(value_of(ie, "eps_c"), 0.08, 1e-8);

    // rm2: d_g times (m_1 m_2 m_3 m_4 / M)^(1/6) on top of rm1's terms.
    const std::string rm2[5] = {"266357.849541239149,38575.344018086369,33758.210163017051",
                                "266281.803551050718,37557.148377519654,32975.310280575395",
                                "266272.154962711502,36656.454845689848,32279.340420946224",
                                "135397.669810960826,32034.523531141651,25948.490356719692",
                                "188383.806562635582,34650.651621708137,29318.745624683870"};
    const json m2 = fit_json({"--vary", "r2,r3=r4,a3=a4", "--model", "rm2", deck,
                              file("rm2.csv", formaldehyde_table(rm2))})["models"][0];
    EXPECT_NEAR(value_of(m2, "a3"), 121.75, 1e-6);
    EXPECT_NEAR(value_of(m2, "c_b"), 0.02, 1e-8);
    EXPECT_NEAR(value_of(m2, "d_a"), 0.05, 1e-8);
    EXPECT_NEAR(value_of(m2, "d_b"), -0.03, 1e-8);
    EXPECT_NEAR(value_of(m2, "d_c"), 0.02, 1e-8);
}

// Linear OCS: B only, so the model constants of the a and c axes are held at 0.
TEST_F(Fit, LinearMoleculeWithBOnly) {
    const std::string deck =
        head(3, "OCS") + atom(1, 0, 0, 0, 0, 0, 0, "15.99491462") +
        atom(2, 1, 0, 0, 1.16, 0, 0, "12.000000") + atom(3, 2, 1, 0, 1.56, 180, 0, "31.972071") +
        " -6OC34S\n 15.99491462   12.000000  33.9678669\n -6O13CS\n 15.99491462"
        "13.003354838   31.972071\n999\n";
    const json ok = fit_json({"--vary", "r2,r3", "--model", "r0,rm1,rs", file("OCS.DAT", deck),
                              file("ocs.csv", "set B\n1 6099.353101843323\n2 5950.155521249433\n"
                                              "3 6079.549980243512\n")});
    EXPECT_EQ(err, "tessen-fit: warning: rm1: as many data as parameters: the values have no "
                   "errors\n"); // and no misassignment for B and C of a linear molecule
    const json& rm1 = ok["models"][1];
    EXPECT_EQ(rm1["p"], 3); // r2, r3 and c_b: as many as the data
    EXPECT_TRUE(rm1["model_constants"][1]["held"].get<bool>());
    EXPECT_NEAR(value_of(ok["models"][0], "r2"), 1.1578, 1e-9);
    EXPECT_NEAR(value_of(ok["models"][0], "r3"), 1.5601, 1e-9);
    EXPECT_NEAR(std::fabs(ok["rs"][0]["coordinates"][0].get<double>()), 1.0371336461667222, 1e-9);
    EXPECT_NEAR(std::fabs(ok["rs"][1]["coordinates"][0].get<double>()), 0.522966353833278, 1e-9);
}

TEST_F(Fit, PlanarMoleculeFittedOnItsPlanarMoments) {
    const json r = fit_json({"--vary", "r2=r3,a3", "--data", "planar", file("W.DAT", kWaterDeck),
                             water_table({1, 2, 3})});
    const json& m = r["models"][0];
    EXPECT_EQ(m["n"], 6); // Paa and Pbb of three species: Pcc is 0 in the model
    EXPECT_EQ(m["planar_residuals"].size(), 6u);
    EXPECT_NEAR(value_of(m, "r2"), 0.9572, 1e-10);
    EXPECT_NEAR(value_of(m, "a3"), 104.52, 1e-8);
}

// Methyl fluoride, a prolate top: 13C on the axis (no A measured), CH2DF off it.
TEST_F(Fit, SymmetricTopSubstitutionMatchesTheRigidStructure) {
    const std::string deck = head(5, "CH3F") + atom(1, 0, 0, 0, 0, 0, 0, "12.000000") +
                             atom(2, 1, 0, 0, 1.383, 0, 0, "18.99840322") +
                             atom(3, 1, 2, 0, 1.086, 108.8, 0, "1.007825032") +
                             atom(4, 1, 2, 3, 1.086, 108.8, 120, "1.007825032") +
                             atom(5, 1, 2, 3, 1.086, 108.8, -120, "1.007825032") + "999\n";
    const json r =
        fit_json({"--model", "rs", file("CH3F.DAT", deck),
                  file("ch3f.csv",
                       "isotopologue,name,A,B,C\n-,CH3F,158151.368320255307,25763.801958845539,"
                       "25763.801958845535\n1:13C,13CH3F,-,25079.264816190083,25079.264816190083\n"
                       "3:D,CH2DF,121595.925260031378,24236.623546754014,23169.184837162884\n")});
    EXPECT_EQ(r["rs_rotor"], "prolate");
    const json& carbon = r["rs"][0];
    EXPECT_NEAR(carbon["axial"].get<double>(), 0.741188771445564, 1e-9);
    EXPECT_EQ(carbon["radial"], 0.0);
    const json& deuterium = r["rs"][1];
    EXPECT_TRUE(deuterium["coordinates"].is_null());
    EXPECT_NEAR(deuterium["axial"].get<double>(), 1.091169316465899, 1e-8);
    EXPECT_NEAR(deuterium["radial"].get<double>(), 1.0280610964856463, 1e-8);
}

// Weights, corrections (the parent's A is given 1 MHz low with a correction of +1) and a
// dihedral tied with the opposite sign, fitted as moments and as constants.
TEST_F(Fit, WeightedCorrectedFitWithAnOppositeSignTie) {
    const std::string deck = head(5, "CH3F") + atom(1, 0, 0, 0, 0, 0, 0, "12.000000") +
                             atom(2, 1, 0, 0, 1.38, 0, 0, "18.99840322") +
                             atom(3, 1, 2, 0, 1.09, 108, 0, "1.007825032") +
                             atom(4, 1, 2, 3, 1.09, 108, 119, "1.007825032") +
                             atom(5, 1, 2, 3, 1.09, 108, -119, "1.007825032") + "999\n";
    const std::string table = file(
        "ch3f.csv",
        "isotopologue,name,A,B,C,sigma_A,sigma_B,sigma_C,corr_A,corr_B,corr_C\n"
        "-,CH3F,158150.368320255307,25763.801958845539,25763.801958845535,0.5,0.01,0.01,1,0,0\n"
        "1:13C,13CH3F,-,25079.264816190083,25079.264816190083,-,0.01,0.01,0,0,0\n"
        "3:D,CH2DF,121595.925260031378,24236.623546754014,23169.184837162884,0.5,0.02,0.02,0,0,"
        "0\n");
    for (const char* data : {"moments", "constants"}) {
        const json m = fit_json({"--vary", "r2,r3=r4=r5,a3=a4=a5,d4=-d5", "--data", data,
                                 file("CH3F.DAT", deck), table})["models"][0];
        EXPECT_EQ(m["parameters"][3]["tied"], json({"-d5"}));
        EXPECT_NEAR(value_of(m, "r2"), 1.383, 1e-9) << data;
        EXPECT_NEAR(value_of(m, "a3"), 108.8, 1e-7) << data;
        EXPECT_NEAR(value_of(m, "d4"), 120.0, 1e-7) << data;
        EXPECT_NEAR(m["structure"][4]["dihedral"].get<double>(), -120.0, 1e-7) << data;
    }
}

// Only the parent: Ic = Ia + Ib leaves two moments for three parameters.
TEST_F(Fit, RankDeficientFitFailsNamingItsParameters) {
    EXPECT_EQ(fit({"--vary", "r2,r3,a3", file("W.DAT", kWaterDeck), water_table({1})}), 1);
    EXPECT_NE(err.find("do not determine"), std::string::npos) << err;
    EXPECT_NE(out.find("FAILED"), std::string::npos);
}

// A set left out of the table is predicted; the scaled prediction is exact here too.
TEST_F(Fit, PredictionsForMassSetsWithoutMeasuredConstants) {
    const json r = fit_json({"--vary", "r2=r3,a3", file("W.DAT", kWaterDeck), water_table({1, 2})});
    ASSERT_EQ(r["predictions"].size(), 1u);
    const json& hdo = r["predictions"][0];
    EXPECT_EQ(hdo["set"], 3);
    EXPECT_NEAR(hdo["calculated_mhz"][1].get<double>(), 273809.1848312459, 1e-5);
    EXPECT_NEAR(hdo["scaled_mhz"][2].get<double>(), 196382.5876437585, 1e-5);
}

TEST_F(Fit, DeckOutRunsInTessenAndThePictureIsWritten) {
    const std::string deck_out = (dir / "FITTED.DAT").string();
    const std::string svg = (dir / "water.svg").string();
    ASSERT_EQ(fit({"--vary", "r2=r3,a3", "--model", "r0,rs", "--deck-out", deck_out, "--svg", svg,
                   file("W.DAT", kWaterDeck), water_table({1, 2, 3})}),
              0)
        << err;
    const std::string written = read_file(deck_out);
    EXPECT_NE(written.find("  3  1  2  0    0.957200  104.520000    0.000000 1.007825032\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find(" -6HDO\n"), std::string::npos); // the rest as read
    EXPECT_EQ(run_program({tessen_binary(), "FITTED.DAT"}, dir.path()).status, 0);
    // A record whose fields a comma ends early is written whole in the record's layout.
    std::string commas = kWaterDeck;
    commas.replace(commas.find("  3  1  2  0"), 60, "3,1,2,0,0.96,104.0,0,1.007825032");
    ASSERT_EQ(fit({"--vary", "r2=r3,a3", "--deck-out", deck_out, file("C.DAT", commas),
                   water_table({1, 2, 3})}),
              0)
        << err;
    EXPECT_NE(
        read_file(deck_out).find("  3  1  2  0    0.957200  104.520000 0.000000000 1.007825032\n"),
        std::string::npos)
        << read_file(deck_out);
    EXPECT_NE(read_file(svg).find("<svg"), std::string::npos);
}

TEST_F(Fit, BadInputsAreUsageErrorsAtTheirLineWithNoOutputFile) {
    const std::string deck = file("W.DAT", kWaterDeck);
    const std::string deck_out = (dir / "OUT.DAT").string();
    const auto refused = [&](const std::string& vary, const std::string& table,
                             const std::string& where) {
        EXPECT_EQ(fit({"--vary", vary, "--deck-out", deck_out, deck, file("bad.csv", table)}), 2)
            << table;
        EXPECT_NE(err.find(where), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(deck_out));
    };
    const std::string good =
        "set,A,B,C\n1," + kWaterRows[0].substr(8) + "\n2," + kWaterRows[1].substr(8) + "\n";
    refused("r2=r3,a3", "set,A,B,X\n1,1,2,3\n", "bad.csv:1:");
    refused("r2=r3,a3", "set,A,B,C\n1,1,2,3\n7,1,2,3\n", "bad.csv:3:");
    refused("r2=r3,a3", "isotopologue,A,B,C\n-,1,2,3\n2:99H,1,2,3\n", "bad.csv:3:");
    refused("r2=r3,a3", "isotopologue,A,B,C\n-,1,2,3\n2:13C,1,2,3\n", "bad.csv:3:");
    refused("r2=r3,a3", "set,A,B,C\n1,1,2,3\n1,1,2,3\n",
            "bad.csv:3: the same isotopologue as line 2");
    refused("r2=r3,a3", "set,A,B,C\n1,1,x,3\n", "bad.csv:2:");
    refused("r1", good, "r1");
    refused("r9", good, "r9");
    refused("r2=a3", good, "tessen-fit: ");
    refused("r2,r3,a3,d3", good, "d3");
    // Fewer data (three moments of one species) than the rm1 model's five parameters.
    EXPECT_EQ(fit({"--vary", "r2=r3,a3", "--model", "rm1", deck, water_table({1})}), 2);
    EXPECT_NE(err.find("fewer measured values"), std::string::npos) << err;
    // The tetrahedral default cannot be varied.
    const std::string methane = file("CH4.DAT", read_file(source_dir() / "examples" / "CH4.DAT"));
    EXPECT_EQ(fit({"--vary", "a3", methane, water_table({1})}), 2);
    EXPECT_NE(err.find("tetrahedral"), std::string::npos) << err;
    EXPECT_EQ(fit({deck, water_table({1})}), 2); // r0 without --vary
    EXPECT_EQ(fit({"--vary", "r2", "--model", "rx", deck, water_table({1})}), 2);
}

} // namespace
} // namespace tessen::test
