// Every program on a standard output that cannot be written: a full device and a closed
// descriptor. A failed write is a failure (exit status 1, with the system's reason); a
// program that writes nothing there is not failed by it.

#include "records/StandardDescriptors.hpp"
#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace tessen::test {
namespace {

// Water with an iodine in place of a hydrogen: an element past bromine.
const std::string kHoiXyz = "3\nHOI\nO 0 0 0\nH 0 0.75 0.58\nI 0 -1.4 1.1\n";

// Water's measured constants (MHz) for tessen-fit: the parent and HDO, a single
// substitution that Kraitchman's equations place.
const std::string kWaterConstants = "set,A,B,C\n1,835840.3,435351.7,278138.7\n"
                                    "3,701931.5,272912.6,192055.2\n";

class Outputs : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(source_dir() / "examples" / "WATER.DAT", dir / "WATER.DAT");
        write_file(dir / "hoi.xyz", kHoiXyz);
        ASSERT_EQ(run_program({tessen_binary(), "WATER.DAT"}, dir.path()).status, 0);
    }
    ProgramRun run(const std::vector<std::string>& argv, StandardOutput output,
                   const std::string& input = {}) {
        return run_program(argv, dir.path(), input, output);
    }
    ScratchDir dir;
};

TEST_F(Outputs, AFailedWriteOnStandardOutputIsAFailureInEveryProgram) {
    const std::string deck = read_file(source_dir() / "examples" / "WATER.DAT");
    struct Case {
        std::vector<std::string> argv;
        std::string input;
    };
    const std::vector<Case> cases = {
        {{tessen_binary(), "--help"}, ""},
        {{tessen_binary(), "-"}, deck},
        {{tessen_binary(), "-o", "-", "WATER.DAT"}, ""},
        {{check_binary(), "--json", "WATER.DAT"}, ""},
        {{check_binary(), "-"}, deck.substr(0, deck.rfind("999"))}, // a finding: no end record
        {{rot_binary(), "WATER.OUT"}, ""},
        {{rot_binary(), "--json", "WATER.OUT"}, ""},
        {{rot_binary(), "--csv", "-"}, read_file(dir / "WATER.OUT")},
        {{xyz_binary(), "WATER.OUT"}, ""},
        {{xyz_binary(), "-o", "-", "WATER.OUT"}, ""},
        {{deck_binary(), "hoi.xyz"}, ""},
        {{deck_binary(), "-i", "xyz", "-", "-o", "-"}, kHoiXyz},
        {{deck_binary(), "--version"}, ""},
        {{fit_binary(), "--model", "rs", "WATER.DAT", "-"}, kWaterConstants},
        {{fit_binary(), "--help"}, ""},
    };
    const std::pair<StandardOutput, std::string> outputs[] = {
        {StandardOutput::full, "No space left on device"},
        {StandardOutput::closed, "Bad file descriptor"}};
    for (const Case& c : cases) {
        for (const auto& [output, reason] : outputs) {
            const ProgramRun r = run(c.argv, output, c.input);
            const std::string what = fs::path(c.argv[0]).filename().string() + " " + c.argv[1];
            EXPECT_EQ(r.status, 1) << what << ": " << reason;
            EXPECT_NE(r.err.find("cannot be written: " + reason), std::string::npos)
                << what << ": " << r.err;
        }
    }
}

TEST_F(Outputs, NothingWrittenOnAClosedStandardOutputIsNoFailure) {
    EXPECT_EQ(run({tessen_binary()}, StandardOutput::closed, "WATER.DAT\n").status, 0);
    EXPECT_EQ(run({deck_binary(), "hoi.xyz", "-o", "HOI.DAT"}, StandardOutput::closed).status, 0);
    EXPECT_EQ(run({check_binary(), "WATER.DAT"}, StandardOutput::closed).status, 0);
    // A deck is no report: nothing computed, the status the input's own.
    EXPECT_EQ(run({xyz_binary(), "-o", "-", "WATER.DAT"}, StandardOutput::closed).status, 2);
}

// In a child process with standard input and output closed: after the guard, a file opened
// takes neither descriptor, and reading or writing them still fails as on a closed one.
bool closed_streams_stay_closed_to_use() {
    ::close(0);
    ::close(1);
    open_standard_descriptors();
    char byte = 'x';
    const bool file_elsewhere = ::open("/dev/null", O_RDONLY) > 2;
    const bool unwritable = ::write(1, &byte, 1) < 0 && errno == EBADF;
    const bool unreadable = ::read(0, &byte, 1) < 0 && errno == EBADF;
    return file_elsewhere && unwritable && unreadable;
}

TEST(StandardDescriptors, AClosedStreamIsHeldOpenButCannotBeUsed) {
    EXPECT_EXIT(std::_Exit(closed_streams_stay_closed_to_use() ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

// Open Babel's tables name every element: iodine goes from a molecule file to a deck, a
// report and an XYZ file as I, with its isotope's mass.
TEST_F(Outputs, IodineGoesThroughEveryProgram) {
    ASSERT_EQ(run({deck_binary(), "hoi.xyz", "-o", "HOI.DAT"}, StandardOutput::captured).status, 0);
    ASSERT_EQ(run({tessen_binary(), "HOI.DAT"}, StandardOutput::captured).status, 0);
    const ProgramRun xyz = run({xyz_binary(), "-o", "-", "HOI.OUT"}, StandardOutput::captured);
    ASSERT_EQ(xyz.status, 0) << xyz.err;
    const std::vector<std::string> lines = text_lines(xyz.out);
    ASSERT_EQ(lines.size(), 10u);
    for (std::size_t atom : {4u, 9u}) {
        EXPECT_EQ(lines[atom].substr(0, 2), "I ") << lines[atom];
        EXPECT_EQ(lines[atom].substr(lines[atom].size() - 10, 6), "126.90") << lines[atom];
    }
}

} // namespace
} // namespace tessen::test
