// Every bad input and fault of the table in README.md ("Bad input and faults"), run
// through the built tessen in a fresh folder. Each test checks what the table promises:
// the exit status, the diagnostic on standard error, the report file byte for byte (every
// record written before the fault, each with its CR LF, and nothing after it), and that
// the input deck holds exactly the bytes it held before the run.

#include "support/Decks.hpp"
#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tessen::test;

// The first `count` lines of a report, each with its CR LF.
std::string first_lines(const std::string& report, std::size_t count) {
    std::string text;
    std::vector<std::string> lines = split_lines(report, "\r\n", true);
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        text += lines[i];
    return text;
}

// Index of the `nth` (from 1) line equal to `line` (without its CR LF), or the line count.
std::size_t index_of_line(const std::string& report, const std::string& line, int nth = 1) {
    std::vector<std::string> lines = report_lines(report);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line && --nth == 0)
            return i;
    return lines.size();
}

// A folder holding one deck. run() types a name at the prompt and checks afterwards that
// the deck's bytes are unchanged, whatever the run did.
class Trial {
  public:
    Trial(std::string deck_name, std::string deck)
        : name_(std::move(deck_name)), deck_(std::move(deck)) {
        write_file(dir_ / name_, deck_);
    }
    explicit Trial(const std::string& deck) : Trial("TEST.DAT", deck) {}

    ProgramRun run(const std::string& typed = "TEST.DAT") {
        ProgramRun r = run_tessen(dir_.path(), typed + "\n");
        EXPECT_TRUE(fs::is_regular_file(dir_ / name_)) << name_ << " is gone";
        EXPECT_TRUE(read_file(dir_ / name_) == deck_) << "the deck " << name_ << " was changed";
        return r;
    }

    const ScratchDir& dir() const { return dir_; }
    fs::path path(const std::string& name) const { return dir_ / name; }
    bool has(const std::string& name) const { return fs::exists(fs::symlink_status(dir_ / name)); }
    std::string file(const std::string& name) const { return read_file(dir_ / name); }

  private:
    ScratchDir dir_;
    std::string name_;
    std::string deck_;
};

// The diagnostic on standard error: an empty line, "run-time error " and `head` (the code
// and the file operation), then "- " and a message that begins with `message`.
void expect_diagnostic(const ProgramRun& r, const std::string& head, const std::string& message) {
    EXPECT_EQ(r.status, 1);
    const std::string start = "\nrun-time error " + head + "\n- " + message;
    EXPECT_EQ(r.err.substr(0, start.size()), start) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 3) << r.err;
    EXPECT_TRUE(!r.err.empty() && r.err.back() == '\n') << r.err;
}

// The report a good deck gives (a run that must end at its end record).
std::string report_of(const std::string& deck) {
    Trial good(deck);
    ProgramRun r = good.run();
    EXPECT_EQ(r.status, 0) << r.err;
    return good.file("TEST.OUT");
}

// ---- The files ------------------------------------------------------------------------

// The console of a run that opens no report: the banner, the prompt and the names.
std::string console_up_to_the_names(const std::string& deck, const std::string& report) {
    const auto padded = [](std::string name) { return name.append(12 - name.size(), ' '); };
    return "Program TESSEN\r\nEnter name of the input file, with extension input file is " +
           padded(deck) + ", output file is " + padded(report) + "\r\n\r\n\r\n";
}

// The fifth name, that of a deck that exists, is never read.
TEST(FaultTable, DeckMissingAfterFourNames) {
    Trial trial("OTHER.DAT", water_molecule() + "999\n");
    ProgramRun r = trial.run("A.DAT\nB.DAT\nC.DAT\nD.DAT\nOTHER.DAT");
    expect_diagnostic(r, "T1001: OPEN(D.DAT)", "file cannot be opened");
    std::string retyped;
    for (int k = 0; k < 4; ++k)
        retyped += "Enter name of the input file, with extension  GETNAME: FILE NOT FOUND - "
                   "RETYPE.\r\n";
    EXPECT_EQ(r.out, "Program TESSEN\r\n" + retyped +
                         "input file is D.DAT       , output file is D.OUT       \r\n\r\n\r\n");
    EXPECT_FALSE(trial.has("D.OUT")) << "no report without a deck";
}

// Root may write anywhere, so the report is made impossible to create by the file system
// itself: its name is a folder, or a link into a folder that does not exist.
TEST(FaultTable, ReportCannotBeCreated) {
    {
        Trial trial(water_molecule() + "999\n");
        fs::create_directory(trial.path("TEST.OUT"));
        ProgramRun r = trial.run();
        expect_diagnostic(r, "T1001: OPEN(TEST.OUT)", "file cannot be opened: ");
        EXPECT_TRUE(fs::is_directory(trial.path("TEST.OUT")));
        EXPECT_TRUE(fs::is_empty(trial.path("TEST.OUT")));
    }
    {
        Trial trial(water_molecule() + "999\n");
        fs::create_symlink(trial.path("missing") / "TEST.OUT", trial.path("TEST.OUT"));
        ProgramRun r = trial.run();
        expect_diagnostic(r, "T1001: OPEN(TEST.OUT)", "file cannot be opened: ");
        EXPECT_FALSE(fs::exists(trial.path("missing")));
    }
}

// The plain read-only folder; as root (CI) permission bits do not stop a write, so the
// case is only meaningful for an ordinary user.
TEST(FaultTable, ReportInReadOnlyFolder) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which writes into read-only folders";
    Trial trial(water_molecule() + "999\n");
    fs::permissions(trial.dir().path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ProgramRun r = trial.run();
    fs::permissions(trial.dir().path(), fs::perms::owner_write, fs::perm_options::add);
    expect_diagnostic(r, "T1001: OPEN(TEST.OUT)", "file cannot be opened: ");
    EXPECT_FALSE(trial.has("TEST.OUT"));
}

// The report would be the deck itself: by name (extension OUT; an 11-character stem whose
// extension the cut to 12 characters removes) or through a link. The deck is untouched.
TEST(FaultTable, ReportNameIsTheDeck) {
    const std::string deck = water_molecule() + "999\n";
    for (const std::string name : {"X.OUT", "ABCDEFGHIJK."}) {
        Trial trial(name, deck);
        ProgramRun r = trial.run(name);
        expect_diagnostic(r, "T1002: OPEN(" + name + ")",
                          "report file would overwrite the input deck");
        EXPECT_EQ(r.out, console_up_to_the_names(name, name));
    }
    Trial linked(deck);
    fs::create_symlink("TEST.DAT", linked.path("TEST.OUT"));
    expect_diagnostic(linked.run(), "T1002: OPEN(TEST.OUT)",
                      "report file would overwrite the input deck");
    Trial hard_linked(deck);
    fs::create_hard_link(hard_linked.path("TEST.DAT"), hard_linked.path("TEST.OUT"));
    expect_diagnostic(hard_linked.run(), "T1002: OPEN(TEST.OUT)",
                      "report file would overwrite the input deck");
}

TEST(FaultTable, ReportCannotBeWritten) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this machine";
    Trial trial(water_molecule() + "999\n");
    fs::create_symlink("/dev/full", trial.path("TEST.OUT"));
    ProgramRun r = trial.run();
    expect_diagnostic(r, "T1003: WRITE(TEST.OUT)", "report file cannot be written: ");
    EXPECT_EQ(r.out.find("Stop - Program terminated."), std::string::npos) << r.out;
}

// A name that exists but is a folder fails at the open of the deck, before any report
// file exists.
TEST(FaultTable, DeckIsAFolder) {
    ScratchDir dir;
    fs::create_directory(dir / "D.DAT");
    ProgramRun r = run_tessen(dir.path(), "D.DAT\n");
    expect_diagnostic(r, "T1001: OPEN(D.DAT)", "file cannot be opened: ");
    EXPECT_FALSE(fs::exists(dir / "D.OUT"));
}

// ---- The deck --------------------------------------------------------------------------

// examples/WATER.DAT cut after each of its records: the end-of-file diagnostic, and the
// report holds exactly what the complete deck's report holds up to the last record written
// before the missing one.
TEST(FaultTable, DeckEndsEarlyAtEachKindOfRecord) {
    const std::string deck = read_file(test_dir() / "../examples/WATER.DAT");
    const std::vector<std::string> records = split_lines(deck, "\n", true);
    ASSERT_EQ(records.size(), 13u) << "examples/WATER.DAT has changed; adjust the cuts below";
    const std::string full = report_of(deck);
    const std::size_t header = 5;
    const std::size_t first_set = index_of_line(full, "    NEXT ISOTOPE", 1) - 2;
    const std::size_t second_set = index_of_line(full, "    NEXT ISOTOPE", 2) - 2;
    const std::size_t last_block = report_lines(full).size() - 4; // all but the trailer
    struct Cut {
        std::size_t kept;  // records of the deck that are there
        const char* kind;  // the record that is missing
        std::size_t lines; // report lines written before it
    };
    const Cut cuts[] = {
        {0, "control", 0},
        {1, "counts", 0},
        {2, "title 1", 0},
        {3, "title 2", 0},
        {4, "title 3", 0},
        {5, "atom 1", header},
        {6, "atom 2", header + 1},
        {7, "atom 3", header + 2},
        {8, "isotope header", first_set},
        {9, "mass", first_set},
        {10, "isotope header", second_set},
        {11, "mass", second_set},
        {12, "isotope header", last_block},
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(std::string("deck ends before its ") + cut.kind + " record " +
                     std::to_string(cut.kept + 1));
        std::string shorter;
        for (std::size_t i = 0; i < cut.kept; ++i)
            shorter += records[i];
        Trial trial(shorter);
        ProgramRun r = trial.run();
        // The diagnostic names the line where the missing record was expected.
        expect_diagnostic(r, "T2001: READ(TEST.DAT)",
                          "end of file encountered: line " + std::to_string(cut.kept + 1) + "\n");
        const std::string expected = first_lines(full, cut.lines);
        const std::string report = trial.file("TEST.OUT");
        EXPECT_EQ(report, expected) << first_difference(expected, report);
    }
    // A deck whose last molecule is complete but which has no end record: the molecule,
    // its trailer, then the diagnostic at the control record.
    Trial trial(water_molecule());
    ProgramRun r = trial.run();
    expect_diagnostic(r, "T2001: READ(TEST.DAT)", "end of file encountered");
    const std::string expected = report_of(water_molecule() + "999\n");
    EXPECT_EQ(trial.file("TEST.OUT"), expected);
}

// A bad field ends the run at the record that holds it; the records before it are in the
// report, the echo of an earlier atom record included.
TEST(FaultTable, BadCharacterInNumericFields) {
    const std::string head = molecule_head(3, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 16);
    const std::string echoed = report_of(head + atom_record(2, 1, 0, 0, 1, 0, 0, 1) +
                                         atom_record(3, 1, 2, 0, 1, 90, 0, 1) + "999\n");
    const std::string through_first_atom = first_lines(echoed, 6);
    const std::string whole_water = report_of(water_molecule() + "999\n");
    struct Case {
        const char* what;
        std::string deck;
        const std::string& report; // what was written before the bad field
    };
    const std::string nothing;
    const Case cases[] = {
        {"letter in the control code", " X9\n", nothing},
        {"letter O for zero in the atom count", " -9\n   1O   0\n", nothing},
        {"two signs in an atom number", head + " +-2  1  0  0    1.000000\n", through_first_atom},
        {"two decimal points in a bond length", head + "  2  1  0  0    1.00.000\n",
         through_first_atom},
        {"exponent without digits in a mass",
         head + "  2  1  0  0    1.000000    0.000000    0.000000       1.0E+\n",
         through_first_atom},
        {"letter in a mass record", water_molecule() + " -6\n   15.99491x\n", whole_water},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Trial trial(c.deck);
        ProgramRun r = trial.run();
        expect_diagnostic(r, "T2002: READ(TEST.DAT)", "invalid character in numeric field");
        const std::string report = trial.file("TEST.OUT");
        EXPECT_EQ(report, c.report) << first_difference(c.report, report);
    }
}

// A real beyond the single-precision range. An integer field of a deck can hold no number
// beyond the 32-bit range, as the widest has four columns; the field rule itself is tested
// on wider fields (NumericInputInt.ThirtyTwoBitRange).
TEST(FaultTable, RealOverflowInAField) {
    const std::string head = molecule_head(3, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 16);
    for (const std::string field : {"      1.0E39", "    -3.5E+38", "      1.0D39"}) {
        SCOPED_TRACE(field);
        Trial trial(head + "  2  1  0  0" + field + "\n");
        ProgramRun r = trial.run();
        expect_diagnostic(r, "T2003: READ(TEST.DAT)", "numeric overflow in input field");
        EXPECT_EQ(report_lines(trial.file("TEST.OUT")).size(), 6u);
    }
}

// Ctrl-Z (character 26) in a numeric field is the end of the deck; in a title it is text.
TEST(FaultTable, CtrlZInANumericField) {
    Trial trial(molecule_head(3, 0) + "  1\x1a 0  0\n");
    expect_diagnostic(trial.run(), "T2001: READ(TEST.DAT)", "end of file encountered");
    EXPECT_EQ(report_lines(trial.file("TEST.OUT")).size(), 5u) << "the molecule header";

    std::string in_title = water_molecule() + "999\n";
    in_title[in_title.find("FIRST")] = '\x1a';
    Trial title(in_title);
    EXPECT_EQ(title.run().status, 0);
    EXPECT_EQ(report_lines(title.file("TEST.OUT"))[1].substr(0, 11), "\x1aIRST TITLE");
}

// A NUL byte in a numeric field is a bad character; in a title it is kept as it is.
TEST(FaultTable, NulByte) {
    Trial trial(molecule_head(3, 0) + std::string("  1  0\0 0\n", 10));
    expect_diagnostic(trial.run(), "T2002: READ(TEST.DAT)", "invalid character in numeric field");
    EXPECT_EQ(report_lines(trial.file("TEST.OUT")).size(), 5u);

    std::string in_title = water_molecule() + "999\n";
    in_title[in_title.find("SECOND")] = '\0';
    Trial title(in_title);
    EXPECT_EQ(title.run().status, 0);
    EXPECT_EQ(report_lines(title.file("TEST.OUT"))[2].substr(0, 12),
              std::string("\0ECOND TITLE", 12));
}

// Lines of 100,000 characters in every kind of record: what lies beyond a record's
// layout is never read, so the report is that of the same deck without the long tails.
TEST(FaultTable, LineOf100000Characters) {
    // Blanks up to column 80, the last one any record reads, then digits.
    const auto long_line = [](std::string record) {
        record.pop_back(); // its line feed
        record.resize(80, ' ');
        return record + std::string(100000 - record.size(), '7') + "\n";
    };
    const std::string plain =
        water_molecule(1) + isotope_header(-6, "NEW TITLE") + mass_record({16, 2, 2});
    std::string tailed = "  5" + std::string(99997, 'x') + "\n"; // a skipped control record
    for (const std::string& record : split_lines(plain, "\n", true))
        tailed += long_line(record);
    Trial trial(tailed + "999" + std::string(99997, ' ')); // and a last line without LF
    ProgramRun r = trial.run();
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string expected = report_of(plain + "999\n");
    ASSERT_NE(expected.find("NEW TITLE"), std::string::npos) << "the isotope set was read";
    EXPECT_EQ(trial.file("TEST.OUT"), expected)
        << first_difference(expected, trial.file("TEST.OUT"));
}

// 100 MiB of skipped control records, 20 MiB of them of 1 KiB and then 80 of 1 MiB, the
// longest a record may be, and a molecule: the run reads it all, writes the molecule's
// report, and holds neither the deck nor a long record in memory. The deck is written and
// checked piece by piece, so that this test itself stays small as well.
struct DeckPiece {
    std::string text;
    std::size_t copies;
};

std::vector<DeckPiece> big_deck() {
    const std::string short_record = "  1" + std::string(1020, ' ') + "\n"; // 1 KiB
    const std::string longest_record = "  1" + std::string((1u << 20) - 3, 'x') + "\n";
    return {{short_record, 20 * 1024}, {longest_record, 80}, {water_molecule() + "999\n", 1}};
}

void write_big_deck(const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    for (const DeckPiece& piece : big_deck())
        for (std::size_t i = 0; i < piece.copies; ++i)
            out << piece.text;
}

bool is_big_deck(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    for (const DeckPiece& piece : big_deck()) {
        std::string read(piece.text.size(), '\0');
        for (std::size_t i = 0; i < piece.copies; ++i)
            if (!in.read(read.data(), static_cast<std::streamsize>(read.size())) ||
                read != piece.text)
                return false;
    }
    return in.peek() == std::ifstream::traits_type::eof();
}

TEST(FaultTable, DeckOf100MegaBytes) {
    const std::string expected = report_of(water_molecule() + "999\n");
    ScratchDir dir;
    write_big_deck(dir / "BIG.DAT");
    ASSERT_EQ(fs::file_size(dir / "BIG.DAT"), (100u << 20) + 80 + water_molecule().size() + 4);
    ProgramRun r = run_tessen(dir.path(), "BIG.DAT\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file(dir / "BIG.OUT"), expected);
    EXPECT_TRUE(is_big_deck(dir / "BIG.DAT")) << "the deck was changed";
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 64 * 1024) << "peak memory of a child process, in KiB";
}

// A line longer than any record may be (1 MiB) ends the run with the read diagnostic at its
// line, after the report of what came before it; a stream without line ends ends too.
TEST(FaultTable, RecordLongerThanAnyDeckRecord) {
    Trial trial(water_molecule() + "  1" + std::string((1u << 20) - 2, 'x') + "\n999\n");
    ProgramRun r = trial.run();
    expect_diagnostic(r, "T1004: READ(TEST.DAT)",
                      "input deck cannot be read: a record of more than 1048576 characters: "
                      "line 9\n");
    EXPECT_EQ(trial.file("TEST.OUT"), report_of(water_molecule() + "999\n"));

    ProgramRun endless =
        run_program({tessen_binary(), "-o", "ZERO.OUT", "/dev/zero"}, trial.dir().path());
    expect_diagnostic(endless, "T1004: READ(/dev/zero)",
                      "input deck cannot be read: a record of more than 1048576 characters: "
                      "line 1\n");
}

// ---- The molecule ----------------------------------------------------------------------

// The table has rows 1 to 500: N = 501 is rejected when its counts record has been read,
// before anything of that molecule is written; the molecule before it stays complete.
TEST(FaultTable, AtomCountAbove500) {
    Trial trial(water_molecule() + molecule_head(501, 0) + "999\n");
    ProgramRun r = trial.run();
    expect_diagnostic(r, "T3001", "atom count 501 above 500");
    EXPECT_EQ(trial.file("TEST.OUT"), report_of(water_molecule() + "999\n"));
}

// An atom number that a record uses must name a row; the offending record is echoed
// first. Fields a record does not use are read and echoed, whatever they hold.
TEST(FaultTable, AtomNumbersOutOfRange) {
    const std::string first = atom_record(1, 0, 0, 0, 0, 0, 0, 16);
    const std::string second = atom_record(2, 1, 0, 0, 1, 0, 0, 1);
    struct Case {
        std::string records; // the atom records up to the offending one
        const char* message; // the number and the words after it
    };
    const Case cases[] = {
        {atom_record(0, 0, 0, 0, 0, 0, 0, 16), "atom number 0 outside 1 to 500"},
        {first + atom_record(501, 1, 0, 0, 1, 0, 0, 1), "atom number 501 outside 1 to 500"},
        {first + second + atom_record(3, -1, 2, 0, 1, 90, 0, 1), "atom number -1 outside 1 to 500"},
        {first + second + atom_record(3, 1, 2, 0, 1, 90, 0, 1) +
             atom_record(4, 1, 2, 999, 1, 90, 0, 1),
         "atom number 999 outside 1 to 500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Trial trial(molecule_head(4, 0) + c.records + "999\n");
        ProgramRun r = trial.run();
        expect_diagnostic(r, "T3002", c.message);
        const std::vector<std::string> lines = report_lines(trial.file("TEST.OUT"));
        const std::vector<std::string> records = split_lines(c.records, "\n", true);
        ASSERT_EQ(lines.size(), 5 + records.size());
        EXPECT_EQ(lines.back().substr(0, 12), records.back().substr(0, 12)) << "echoed first";
    }
    // Unused fields: J to L of record 1, J, K and L of record 2, K and L of record 3.
    Trial unused(molecule_head(3, 0) + atom_record(1, 999, -5, 700, 0, 0, 0, 16) +
                 atom_record(2, 0, 501, -1, 1, 0, 0, 1) + atom_record(3, 1, 0, 900, 1, 90, 0, 1) +
                 "999\n");
    EXPECT_EQ(unused.run().status, 0);
}

// A reference atom that no record has placed yet is taken from its row as it stands: at
// the start of the run every row is at the origin, where atom 1 is.
TEST(FaultTable, ReferenceToAtomNotYetPlaced) {
    const std::string head = molecule_head(4, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 12) +
                             atom_record(2, 1, 0, 0, 1.1, 0, 0, 1) +
                             atom_record(3, 2, 1, 0, 1.2, 100, 0, 1);
    Trial unplaced(head + atom_record(4, 2, 3, 17, 1.3, 110, 60, 1) + "999\n");
    ProgramRun r = unplaced.run();
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> got = report_lines(unplaced.file("TEST.OUT"));
    std::vector<std::string> as_atom_1 =
        report_lines(report_of(head + atom_record(4, 2, 3, 1, 1.3, 110, 60, 1) + "999\n"));
    ASSERT_EQ(got.size(), as_atom_1.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (i != 8) { // the echo of record 4, which names 17 instead of 1
            EXPECT_EQ(got[i], as_atom_1[i]) << "line " << i + 1;
        }
    }
}

// A frame without a direction ends the run with "floating-point error: invalid" right
// after the echo of the record: K where J is (no J-K axis), or L on the line J-K.
TEST(FaultTable, DegenerateFrame) {
    const std::string head = molecule_head(4, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 12) +
                             atom_record(2, 1, 0, 0, 1.1, 0, 0, 1) +
                             atom_record(3, 1, 2, 0, 1.1, 0, 0, 1);
    struct Case {
        const char* what;
        std::string record;
    };
    const Case cases[] = {
        {"K at the place of J", atom_record(4, 2, 2, 3, 1.0, 100, 0, 1)},
        {"L at the place of J", atom_record(4, 1, 2, 1, 1.0, 100, 0, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Trial trial(head + c.record + "999\n");
        ProgramRun r = trial.run();
        expect_diagnostic(r, "T4001", "floating-point error: invalid");
        std::vector<std::string> lines = report_lines(trial.file("TEST.OUT"));
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(lines.back().substr(0, 36), c.record.substr(0, 36)) << "echoed first";
    }
    // L between J and K on their axis: row 2 of the molecule before, at (2, 0, 0), while
    // this molecule has atom 1 at the origin and atom 7 at (3, 0, 0).
    const std::string before = molecule_head(3, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 12) +
                               atom_record(2, 1, 0, 0, 2.0, 0, 0, 1) +
                               atom_record(3, 1, 2, 0, 1, 90, 0, 1);
    const std::string on_axis = atom_record(4, 1, 7, 2, 1.0, 100, 0, 1);
    Trial trial(before + molecule_head(4, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 12) +
                atom_record(7, 1, 0, 0, 3.0, 0, 0, 1) + atom_record(3, 1, 7, 0, 1, 90, 0, 1) +
                on_axis + "999\n");
    ProgramRun r = trial.run();
    expect_diagnostic(r, "T4001", "floating-point error: invalid");
    EXPECT_EQ(report_lines(trial.file("TEST.OUT")).back().substr(0, 36), on_axis.substr(0, 36));
    // Only a frame exactly without a direction is a fault: atom 3 at 180 degrees from
    // atom 2 lies about 3.7e-08 off the axis 1-2, and atom 4 can be placed from it.
    Trial near(molecule_head(4, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
               atom_record(2, 1, 0, 0, 1, 0, 0, 1) + atom_record(3, 1, 2, 0, 1, 180, 0, 1) +
               atom_record(4, 1, 2, 3, 1, 90, 0, 1) + "999\n");
    EXPECT_EQ(near.run().status, 0);
}

// A total mass of zero: "floating-point error: divide by zero" before any line of the
// mass-properties block, after the distance check.
TEST(FaultTable, MassesSummingToZero) {
    const std::string coordinates = molecule_head(3, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 0);
    for (const std::string& masses :
         {atom_record(2, 1, 0, 0, 1, 0, 0, 0) + atom_record(3, 1, 2, 0, 1, 90, 0, 0),
          atom_record(2, 1, 0, 0, 1, 0, 0, 2.5) + atom_record(3, 1, 2, 0, 1, 90, 0, -2.5)}) {
        Trial trial(coordinates + masses + "999\n");
        ProgramRun r = trial.run();
        expect_diagnostic(r, "T4002", "floating-point error: divide by zero");
        std::vector<std::string> lines = report_lines(trial.file("TEST.OUT"));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2], " ATOM  3") << "the distance check ends the report";
        EXPECT_EQ(trial.file("TEST.OUT").find("TOTAL MASS"), std::string::npos);
    }
}

// A -6 control record before any molecule finds N = 0: no mass is read, the set's opening
// lines are written, and the total mass of zero ends the run.
TEST(FaultTable, IsotopeSetBeforeAnyMolecule) {
    Trial trial(" -6\n" + water_molecule() + "999\n");
    ProgramRun r = trial.run();
    expect_diagnostic(r, "T4002", "floating-point error: divide by zero");
    EXPECT_EQ(trial.file("TEST.OUT"), " \r\n \r\n    NEXT ISOTOPE\r\n");
}

// Coordinates beyond the single-precision range, and an inertia tensor beyond it, end the
// run with "floating-point error: overflow"; nothing that overflowed is written.
TEST(FaultTable, SinglePrecisionOverflow) {
    // x(3) = x(2) - R cos 180 degrees = 3e38 + 3e38.
    Trial coordinate(molecule_head(3, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                     "  2  1  0  0     3.0E+38    0.000000    0.000000    1.000000\n"
                     "  3  2  1  0     3.0E+38  180.000000    0.000000    1.000000\n999\n");
    expect_diagnostic(coordinate.run(), "T4003", "floating-point error: overflow");
    EXPECT_EQ(report_lines(coordinate.file("TEST.OUT")).size(), 8u) << "header and 3 echoes";

    // Coordinates of 1e18 fit; the moments, 1e36 times masses of 1e6, do not.
    Trial tensor(molecule_head(3, 0) + atom_record(1, 0, 0, 0, 0, 0, 0, 1) +
                 "  2  1  0  0     1.0E+18    0.000000    0.000000     1.0E+06\n"
                 "  3  1  2  0     1.0E+18   90.000000    0.000000     1.0E+06\n999\n");
    expect_diagnostic(tensor.run(), "T4003", "floating-point error: overflow");
    const std::vector<std::string> lines = report_lines(tensor.file("TEST.OUT"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], " ATOM  3") << "the distance check ends the report";
}

// ---- The report that was there before --------------------------------------------------

// An existing report is emptied by the first record written, and only then: a run that
// writes no record leaves it as it was, whether it stops or fails.
TEST(FaultTable, ExistingReportEmptiedOnlyByTheFirstRecord) {
    const std::string old_report = "OLD REPORT\r\n" + std::string(300000, 'o') + "\r\n";
    struct Case {
        const char* what;
        std::string deck;
        int status;
    };
    const Case untouched[] = {
        {"end record first", "999\n", 0},
        {"deck ends at a title", " -9\n   3   0\nTITLE\n", 1},
        {"atom count above 500 in the first molecule", molecule_head(600, 0), 1},
        {"bad control code first", "abc\n", 1},
    };
    for (const Case& c : untouched) {
        SCOPED_TRACE(c.what);
        Trial trial(c.deck);
        write_file(trial.path("TEST.OUT"), old_report);
        EXPECT_EQ(trial.run().status, c.status);
        EXPECT_TRUE(trial.file("TEST.OUT") == old_report) << "the old report was changed";
    }
    // A run that fails after the header: the header alone, nothing of the longer old file.
    Trial trial(molecule_head(3, 0));
    write_file(trial.path("TEST.OUT"), old_report);
    expect_diagnostic(trial.run(), "T2001: READ(TEST.DAT)", "end of file encountered");
    const std::string header = "  PROGRAM TESSEN\r\n"
                               "FIRST TITLE" +
                               std::string(69, ' ') + "\r\nSECOND TITLE" + std::string(68, ' ') +
                               "\r\n \r\n          INPUT VALENCE COORDINATES\r\n";
    EXPECT_EQ(trial.file("TEST.OUT"), header);
}

// A new report takes an older one's place under its name: the name keeps its
// permissions, and no other file is left in the folder. An old report that is a link,
// or has a second name, is emptied in place, so every name shows the new report.
TEST(FaultTable, ExistingReportReplacedUnderItsNames) {
    const std::string deck = water_molecule() + "999\n";
    const std::string expected = report_of(deck);
    const std::string old_report = std::string(200000, 'o') + "\r\n";
    const auto names_in = [](const Trial& trial) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(trial.dir().path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };

    Trial plain(deck);
    write_file(plain.path("TEST.OUT"), old_report);
    fs::permissions(plain.path("TEST.OUT"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(plain.run().status, 0);
    EXPECT_TRUE(plain.file("TEST.OUT") == expected);
    EXPECT_EQ(fs::status(plain.path("TEST.OUT")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(names_in(plain), (std::vector<std::string>{"TEST.DAT", "TEST.OUT"}));

    Trial linked(deck);
    write_file(linked.path("TEST.OUT"), old_report);
    fs::create_hard_link(linked.path("TEST.OUT"), linked.path("SECOND.OUT"));
    EXPECT_EQ(linked.run().status, 0);
    EXPECT_TRUE(linked.file("TEST.OUT") == expected);
    EXPECT_TRUE(linked.file("SECOND.OUT") == expected) << "the second name kept the old report";

    Trial symbolic(deck);
    write_file(symbolic.path("REAL.OUT"), old_report);
    fs::create_symlink("REAL.OUT", symbolic.path("TEST.OUT"));
    EXPECT_EQ(symbolic.run().status, 0);
    EXPECT_TRUE(fs::is_symlink(symbolic.path("TEST.OUT")));
    EXPECT_TRUE(symbolic.file("REAL.OUT") == expected);
}

// A report far larger than the write buffer, ended by a fault: every record before the
// fault reaches the file, in order and complete.
TEST(FaultTable, LongReportEndedByAFault) {
    const std::string one = report_of(methane_molecule() + "999\n");
    std::string deck;
    std::string expected;
    for (int copy = 0; copy < 200; ++copy) {
        deck += methane_molecule();
        expected += one;
    }
    Trial trial(deck + " -9\n  xx\n");
    expect_diagnostic(trial.run(), "T2002: READ(TEST.DAT)", "invalid character in numeric field");
    const std::string report = trial.file("TEST.OUT");
    EXPECT_GT(report.size(), 4u * 65536u);
    EXPECT_TRUE(report == expected) << first_difference(expected, report);
}

} // namespace
