// tessen-check as a user runs it: one small deck per trap, with the trap at a known line
// and the exact finding; decks of real molecules without any finding; output forms and
// exit statuses.

#include "support/Decks.hpp"
#include "support/Files.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tessen::test {
namespace {

struct Trap {
    const char* code;
    std::string deck;
    std::string findings; // the output, every line starting with "D.DAT:"
};

const std::string kO = atom_record(1, 0, 0, 0, 0, 0, 0, 15.994915);
const std::string kH2 = atom_record(2, 1, 0, 0, 0.9572, 0, 0, 1.007825);
const std::string kH3 = atom_record(3, 1, 2, 0, 0.9572, 104.52, 0, 1.007825);

// Methane's first three atoms (lines 6-8 after the head); the fourth record is the trap.
std::string methane_with(const std::string& fourth) {
    return molecule_head(4) + atom_record(1, 0, 0, 0, 0, 0, 0, 12.0) +
           atom_record(2, 1, 0, 0, 1.09, 0, 0, 1.007825) +
           atom_record(3, 1, 2, 0, 1.09, 0, 0, 1.007825) + fourth + kEndRecord;
}

std::string with_field(std::string record, std::size_t column, const std::string& field) {
    return record.replace(column - 1, field.size(), field);
}

std::vector<Trap> traps() {
    const std::string water = water_molecule();
    return {
        {"atom-count-columns", " -9\n  3\nT\nT\nT\n" + kO + kH2 + kH3 + kEndRecord,
         "D.DAT:2:1: warning: atom count (columns 4-7) is blank while columns 1-3 hold 3: the "
         "count may be typed in the wrong columns\n"},
        {"atom-count-too-small", water + atom_record(4, 1, 2, 3, 1.0, 100, 120, 1.0) + kEndRecord,
         "D.DAT:9: warning: record reads as an atom record, but the molecule declares 3 atoms "
         "at line 2: it is skipped as a control record\n"},
        {"atom-count-too-large", molecule_head(4) + kO + kH2 + kH3 + kEndRecord,
         "D.DAT:9: warning: control code 999 read as atom record 4 of the 4 declared at line "
         "2: the molecule has fewer atom records than its count\n"
         "D.DAT:9: error: atom number 999 outside 1 to 500\n"},
        {"blank-mass", molecule_head(3) + kO + kH2 + kH3.substr(0, 48) + "\n" + kEndRecord,
         "D.DAT:8: warning: mass field (columns 49-60) is blank: atom 3 gets mass 0 and is "
         "left out of the mass properties\n"},
        {"blank-mass (isotope set)",
         water_molecule(1) + isotope_header(-6, "D2O") + mass_record({15.994915, 2.014102}) +
             isotope_header(999, ""),
         "D.DAT:10:25: warning: mass of atom 3 (columns 25-36) is blank: the set is shorter "
         "than the 3 atoms of the molecule, and the atom gets mass 0\n"},
        {"control-code-as-mass", water_molecule(1) + isotope_header(-6, "D2O") + kEndRecord,
         "D.DAT:10:1: warning: control record 999 is read as the mass of atom 1: the mass set "
         "is shorter than the 3 atoms of the molecule\n"
         "D.DAT:11: error: end of file encountered\n"},
        {"implausible-mass",
         water_molecule(1) + isotope_header(-6, "D2O") +
             mass_record({15.994915, 2014.102, 2.014102}) + isotope_header(999, ""),
         "D.DAT:10:13: warning: mass of atom 2 is 2014.102051, above 300.000000: the mass set "
         "may be shorter than the molecule\n"},
        {"duplicate-atom", molecule_head(3) + kO + kH2 + with_field(kH3, 1, "  2") + kEndRecord,
         "D.DAT:2: warning: atom 3 of 1 to 3 is placed by no record: its row is taken as it "
         "stands (the origin with mass 0, or where an earlier molecule left it)\n"
         "D.DAT:8: warning: atom 2 is placed again (first at line 7): this record replaces "
         "it\n"},
        {"unplaced-reference", methane_with(atom_record(4, 2, 3, 7, 1.09, 0, 120, 1.007825)),
         "D.DAT:9: warning: reference L = 7 is not placed before this record in this molecule: "
         "its row is taken as it stands (left by an earlier molecule, or the origin)\n"},
        {"unplaced-reference (itself)",
         methane_with(atom_record(4, 4, 2, 3, 1.09, 0, 120, 1.007825)),
         "D.DAT:9: warning: reference J is the atom 4 itself: its row is taken as it stands "
         "before this record\n"},
        {"repeated-reference", methane_with(atom_record(4, 1, 2, 1, 1.09, 0, 120, 1.007825)),
         "D.DAT:9: warning: references J and L are both atom 1: the frame of this atom is "
         "degenerate\n"
         "D.DAT:9: error: floating-point error: invalid\n"},
        {"implied-decimals",
         molecule_head(3) + with_field(kO, 49, "          16") + kH2 + kH3 + kEndRecord,
         "D.DAT:6:49: warning: mass field '16' has no decimal point: it is read as 0.000016\n"},
        {"tab", " -9\n      3   0\nFIRST\tTITLE\nT\nT\n" + kO + kH2 + kH3 + kEndRecord,
         "D.DAT:3:6: warning: tab in the record: it counts as one column, so the fields after "
         "it are not where they look\n"},
        {"carriage-return", " -9\n      3   0\nT1\rX\nT\nT\n" + kO + kH2 + kH3 + kEndRecord,
         "D.DAT:3:3: warning: carriage return inside the line: the rest of the line is never "
         "read\n"},
        {"byte-order-mark", "\xEF\xBB\xBF" + water + kEndRecord,
         "D.DAT:1:1: warning: the deck begins with a byte-order mark: the columns of this "
         "record are shifted by three bytes\n"
         "D.DAT:1:1: error: invalid character in numeric field '\xEF\xBB\xBF'\n"},
        {"bond-length",
         molecule_head(3) + kO + with_field(kH2, 13, "   25.000000") + kH3 + kEndRecord,
         "D.DAT:7:13: warning: bond length 25.000000 is above 20.000000 angstrom\n"},
        {"bond-angle",
         molecule_head(3) + kO + kH2 + with_field(kH3, 25, "  200.000000") + kEndRecord,
         "D.DAT:8:25: warning: bond angle 200.000000 degrees is outside 0 to 180\n"},
        {"degenerate-frame",
         molecule_head(4) + kO + atom_record(2, 1, 0, 0, 1.0, 0, 0, 1.0) +
             atom_record(3, 1, 2, 0, 2.0, 0.5, 0, 1.0) +
             atom_record(4, 1, 2, 3, 1.0, 109.5, 120, 1.0) + kEndRecord,
         "D.DAT:9: warning: reference atoms 1, 2 and 3 are within 1.000000 degree of "
         "collinear (angle 0.500000): the dihedral is ill-defined\n"},
        {"close-atoms",
         molecule_head(3) + kO + kH2 + atom_record(3, 1, 2, 0, 0.3, 90, 0, 1.0) + kEndRecord,
         "D.DAT:8: warning: atoms 1 and 3 are 0.300000 apart, closer than 0.500000 "
         "angstrom\n"},
        // An error, then the next molecule is checked too.
        {"bad-character",
         molecule_head(3) + kO + with_field(kH2, 13, "    1.00.000") + kH3 +
             methane_with(atom_record(4, 4, 2, 3, 1.09, 0, 120, 1.007825)),
         "D.DAT:7:13: error: invalid character in numeric field '    1.00.000'\n"
         "D.DAT:17: warning: reference J is the atom 4 itself: its row is taken as it stands "
         "before this record\n"},
        {"atom-count", molecule_head(501) + kO + kEndRecord,
         "D.DAT:2: error: atom count 501 above 500\n"},
        // An angle typed four columns late: it runs into the dihedral, which atom 3 does not
        // use, the mass reads 0000 and 1.00 squeezed together, and its last digits are lost.
        {"run-on-number",
         molecule_head(3) + kO + kH2 +
             with_field(kH3, 25, "      121.93000050000.000000    1.007825\n") + kEndRecord,
         "D.DAT:8:31: warning: angle and dihedral run together with no blank between them: "
         "'121.93000050000.00' is read as angle 121.930000 and dihedral 50000.000000\n"
         "D.DAT:8:37: warning: dihedral 50000.000000 is not used: the third atom is placed in "
         "the xy plane by its bond length and angle\n"
         "D.DAT:8:49: warning: mass '0000    1.00' has a blank inside: blanks are squeezed out, "
         "so it is read as 1.000000\n"
         "D.DAT:8:61: warning: text after column 60, where an atom record's fields end, is "
         "never read: '7825', so the mass is read as 1.000000\n"},
        {"blank-in-number",
         molecule_head(3) + kO + with_field(kH2, 13, "    1.2 5000") + kH3 + kEndRecord,
         "D.DAT:7:17: warning: bond length '1.2 5000' has a blank inside: blanks are squeezed "
         "out, so it is read as 1.250000\n"},
        // J of the second record naming another atom than the first; zeros are normal.
        {"unused-field",
         molecule_head(3) + kO + with_field(kH2, 4, "  3") + with_field(kH3, 37, "  120.000000") +
             kEndRecord,
         "D.DAT:7:6: warning: reference J = 3 is not used: the second atom is placed on the x "
         "axis, at its bond length from the first\n"
         "D.DAT:8:39: warning: dihedral 120.000000 is not used: the third atom is placed in the "
         "xy plane by its bond length and angle\n"},
        {"unknown-mass",
         molecule_head(3, 1) + kO + kH2 + with_field(kH3, 49, "  100.782500") +
             isotope_header(-6, "D2O") + mass_record({15.994915, 20.14102, 2.014102}) +
             isotope_header(999, ""),
         "D.DAT:8:51: warning: mass 100.782501 is no atom's: no isotope mass or standard atomic "
         "weight lies within 0.01 u of it (the nearest: Ru, isotope 101Ru, 100.905582)\n"
         "D.DAT:10:16: warning: mass 20.141020 is no atom's: no isotope mass or standard atomic "
         "weight lies within 0.01 u of it (the nearest: Ne, standard atomic weight 20.179700)\n"},
        {"unsubstituted-set",
         water_molecule(1) + isotope_header(-6, "H2O") +
             mass_record({15.994915, 1.007825, 1.007825}) + isotope_header(999, ""),
         "D.DAT:10:4: warning: the masses of this isotope set are those of the molecule's atom "
         "records: nothing is substituted, and its block repeats the molecule's\n"},
        // A third title over its 60 columns, a mass typed three columns late, an isotope
        // header's title over its columns 4-63, a mass more than the set holds.
        {"text-past-end",
         molecule_head(3, 1, std::string(60, 'S') + "X") + kO + kH2 +
             with_field(kH3, 49, "       1.007825\n") + isotope_header(-6, std::string(61, 'D')) +
             mass_record({15.994915, 2.014102, 2.014102, 1.0}) + isotope_header(999, ""),
         "D.DAT:5:61: warning: text after column 60, where title 3 ends, is never read: 'X'\n"
         "D.DAT:8:61: warning: text after column 60, where an atom record's fields end, is never "
         "read: '825', so the mass is read as 1.007000\n"
         "D.DAT:9:64: warning: text after column 63, where an isotope header's title ends, is "
         "never read: 'D'\n"
         "D.DAT:10:41: warning: text after column 36, where the mass set's last field ends, is "
         "never read: '1.000000'\n"},
    };
}

ProgramRun check(const fs::path& dir, const std::vector<std::string>& args,
                 const std::string& input = {}) {
    std::vector<std::string> argv{check_binary()};
    argv.insert(argv.end(), args.begin(), args.end());
    return run_program(argv, dir, input);
}

TEST(CheckFindings, EachTrapIsFoundAtItsLine) {
    for (const Trap& trap : traps()) {
        ScratchDir dir;
        write_file(dir / "D.DAT", trap.deck);
        ProgramRun r = check(dir.path(), {"D.DAT"});
        EXPECT_EQ(r.out, trap.findings) << trap.code;
        EXPECT_EQ(r.status, 1) << trap.code;
        EXPECT_EQ(r.err, "") << trap.code;
    }
}

// Real molecules written correctly: dummy atoms of mass 0.0, isotope sets, blank angles
// for the tetrahedral default, implied decimals typed on purpose, a linear molecule.
TEST(CheckFindings, RealMoleculesGiveNone) {
    std::vector<std::string> decks;
    for (const char* name : {"ALL", "BENZENE", "CH4", "H2CO", "LARGE", "WATER"})
        decks.push_back((source_dir() / "examples" / (std::string(name) + ".DAT")).string());
    for (const char* name : {"ALLMOL", "C16H34", "C2H4", "CH3OH", "HCCH", "HCCHX", "ISOTOPE",
                             "ISOTOPE2", "NH3", "OCS", "SHORT", "SO2"})
        decks.push_back((test_dir() / "golden" / (std::string(name) + ".DAT")).string());
    ScratchDir dir;
    ProgramRun r = check(dir.path(), decks);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0) << r.err;
}

// Decks that tessen-deck writes, with isotope sets and dummy atoms, give none either.
TEST(CheckFindings, DecksOfTessenDeckGiveNone) {
    ScratchDir dir;
    write_file(dir / "m.xyz", "3\nwater\nO 0 0 0.1173\nH 0 0.7572 -0.4692\nH 0 -0.7572 -0.4692\n"
                              "4\nammonia\nN 0 0 0.1\nH 0 0.94 -0.27\nH 0.81 -0.47 -0.27\n"
                              "H -0.81 -0.47 -0.27\n"
                              "4\nacetylene\nC 0 0 0.6\nC 0 0 -0.6\nH 0 0 1.66\nH 0 0 -1.66\n"
                              "5\nchloromethane\nC 0 0 0\nCl 0 0 1.78\nH 1.03 0 -0.36\n"
                              "H -0.51 0.89 -0.36\nH -0.51 -0.89 -0.36\n"
                              "1\nargon\nAr 0 0 0\n");
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, {"--single-substitutions"}}) {
        std::vector<std::string> argv{deck_binary(), "m.xyz", "-o", "M.DAT"};
        argv.insert(argv.end(), options.begin(), options.end());
        ASSERT_EQ(run_program(argv, dir.path()).status, 0);
        ProgramRun r = check(dir.path(), {"M.DAT"});
        EXPECT_EQ(r.out, "") << read_file(dir / "M.DAT");
        EXPECT_EQ(r.status, 0) << r.err;
    }
}

TEST(CheckFindings, JsonQuietAndExitStatuses) {
    ScratchDir dir;
    const Trap trap = traps().front();
    write_file(dir / "D.DAT", trap.deck);

    ProgramRun json = check(dir.path(), {"--json", "D.DAT"});
    EXPECT_EQ(json.status, 1);
    const nlohmann::json findings = nlohmann::json::parse(json.out);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0],
              nlohmann::json({{"file", "D.DAT"},
                              {"line", 2},
                              {"column", 1},
                              {"severity", "warning"},
                              {"code", "atom-count-columns"},
                              {"message", "atom count (columns 4-7) is blank while columns 1-3 "
                                          "hold 3: the count may be typed in the wrong columns"}}));

    ProgramRun quiet = check(dir.path(), {"--quiet", "D.DAT"});
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.out + quiet.err, "");

    ProgramRun piped = check(dir.path(), {"-"}, water_molecule() + kEndRecord);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, "");

    ProgramRun missing = check(dir.path(), {"D.DAT", "NONE.DAT"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, trap.findings);
    EXPECT_EQ(missing.err, "tessen-check: NONE.DAT: cannot be opened: No such file or directory\n")
        << missing.err;

    EXPECT_EQ(check(dir.path(), {"--bad", "D.DAT"}).status, 2);
    EXPECT_EQ(check(dir.path(), {}).status, 2);
    ProgramRun version = check(dir.path(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tessen-check ", 0), 0u);
}

} // namespace
} // namespace tessen::test
