// The report written in the calling thread and by a writer thread of its own: the sink
// must be given the same writes either way, healthy or failing part-way, so that the
// report, the first diagnostic and the exit status do not depend on TESSEN_THREADS.

#include "driver/DeckProcess.hpp"
#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "records/ReportFile.hpp"
#include "support/Decks.hpp"
#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace tessen {
namespace {

using Writes = ReportFile::Writes;
constexpr Writes kBothModes[] = {Writes::in_this_thread, Writes::in_background};

// A sink that keeps what reaches it and the size of every write it is given. Its
// fail_at-th write (from 1; 0 never) puts out half of its bytes and fails, as a write
// that fills the disk does.
class FlakySink : public ByteSink {
  public:
    explicit FlakySink(std::size_t fail_at = 0) : fail_at_(fail_at) {}
    void write(const char* src, std::size_t n) override {
        writes.push_back(n);
        const bool fails = writes.size() == fail_at_;
        bytes.append(src, fails ? n / 2 : n);
        if (fails)
            throw RunError(ErrorKind::write_failed, "No space left on device", FileOp::write,
                           "TEST.OUT");
    }
    std::string bytes;
    std::vector<std::size_t> writes;

  private:
    std::size_t fail_at_;
};

// Records of 0 to 180 characters, some 1.5 MB of them, with a record longer than any
// buffer and one that fills a buffer exactly with its CR LF among them.
const std::vector<std::string>& varied_records() {
    static const std::vector<std::string> records = [] {
        std::vector<std::string> made;
        for (int i = 0; i < 14000; ++i)
            made.emplace_back(i * 7919 % 181, static_cast<char>('A' + i % 26));
        made.insert(made.begin() + 3000, std::string(65534, 'f'));
        made.insert(made.begin() + 9000, std::string(300000, 'L'));
        return made;
    }();
    return records;
}

struct Written {
    std::string bytes;
    std::vector<std::size_t> writes;
    int raised = 0; // write diagnostics raised
};

// Puts every record, going on after a diagnostic, then settles and closes the report.
Written write_report(Writes writes, std::size_t fail_at = 0) {
    FlakySink sink(fail_at);
    int raised = 0;
    {
        ReportFile report(sink, writes);
        auto counting = [&](auto step) {
            try {
                step();
            } catch (const RunError& error) {
                EXPECT_EQ(error.kind(), ErrorKind::write_failed);
                ++raised;
            }
        };
        for (const std::string& record : varied_records())
            counting([&] { report.put_record(record, false); });
        counting([&] { report.settle(); });
        counting([&] { report.close(); });
    }
    return {sink.bytes, sink.writes, raised};
}

TEST(ReportWriter, BothModesGiveTheSinkTheSameWrites) {
    std::string whole;
    for (const std::string& record : varied_records())
        whole += record + "\r\n";
    const Written here = write_report(Writes::in_this_thread);
    const Written background = write_report(Writes::in_background);
    EXPECT_EQ(here.raised + background.raised, 0);
    EXPECT_TRUE(here.bytes == whole) << test::first_difference(whole, here.bytes);
    EXPECT_TRUE(background.bytes == whole) << test::first_difference(whole, background.bytes);
    EXPECT_EQ(background.writes, here.writes);
}

// Failing at the first write, the second, one within the long record, and the last one.
TEST(ReportWriter, FailedWriteEndsTheReportAlikeInBothModes) {
    const Written healthy = write_report(Writes::in_this_thread);
    for (std::size_t fail_at :
         {std::size_t{1}, std::size_t{2}, healthy.writes.size() / 2, healthy.writes.size()}) {
        SCOPED_TRACE("the sink fails at write " + std::to_string(fail_at));
        const Written here = write_report(Writes::in_this_thread, fail_at);
        const Written background = write_report(Writes::in_background, fail_at);
        EXPECT_EQ(here.raised, 1);
        EXPECT_EQ(background.raised, 1);
        // Nothing reaches the sink after the failed write: it is not tried again, and no
        // later record follows it.
        EXPECT_EQ(here.writes.size(), fail_at);
        EXPECT_EQ(background.writes.size(), fail_at);
        EXPECT_LT(background.bytes.size(), healthy.bytes.size());
        EXPECT_TRUE(healthy.bytes.starts_with(background.bytes))
            << "not a start of the report: "
            << test::first_difference(healthy.bytes, background.bytes);
        EXPECT_TRUE(background.bytes == here.bytes)
            << test::first_difference(here.bytes, background.bytes);
    }
}

// Molecules that fill one report buffer and part of the next, then a bad field in the next
// molecule's atoms: the sink is written once before the fault is found.
// A section's source counts what became of it. A section is written once and gives its
// source back then, also when writing raises; one dropped unwritten, as the writer thread
// drops those after a failed write, gives it back all the same. (A large distance table
// not given back would leave a later molecule waiting for it for ever.)
struct CountedSource {
    int writes = 0;
    int given_back = 0;
    bool throws = false;
    void write(RecordSink& out) {
        ++writes;
        out.put_record(std::string(100000, 's'), false);
        if (throws)
            throw RunError(ErrorKind::fp_divide_by_zero);
    }
    void give_back() { ++given_back; }
};

TEST(ReportWriter, EverySectionGivesItsSourceBackOnce) {
    CountedSource written, raising, dropped, moved;
    raising.throws = true;
    MemorySink memory;
    ReportFile here(memory);
    here.write_section(RecordSink::Section(&written), 1);
    EXPECT_THROW(here.write_section(RecordSink::Section(&raising), 1), RunError);
    {
        RecordSink::Section unwritten(&dropped);
        RecordSink::Section first(&moved);
        RecordSink::Section second(std::move(first));
    }
    EXPECT_EQ(written.writes + written.given_back, 2);
    EXPECT_EQ(raising.writes + raising.given_back, 2);
    EXPECT_EQ(dropped.writes + dropped.given_back, 1);
    EXPECT_EQ(moved.writes + moved.given_back, 1);

    // Behind a failed write, the writer thread drops what is queued.
    std::vector<CountedSource> queued(40);
    std::size_t made = 0;
    FlakySink failing(1);
    ReportFile background(failing, Writes::in_background);
    try {
        for (CountedSource& source : queued) {
            ++made;
            background.write_section(RecordSink::Section(&source), 1000);
        }
        background.close();
    } catch (const RunError&) {
        EXPECT_NO_THROW(background.close()) << "the fault is raised once";
    }
    // The first section's records fail the first write; none after it is written.
    EXPECT_EQ(queued[0].writes, 1);
    for (std::size_t k = 0; k < queued.size(); ++k) {
        EXPECT_EQ(queued[k].given_back, k < made ? 1 : 0) << "section " << k;
        EXPECT_EQ(queued[k].writes, k == 0 ? 1 : 0) << "section " << k;
    }
}

std::string late_fault_deck() {
    std::string deck;
    for (int copy = 0; copy < 32; ++copy)
        deck += test::methane_molecule();
    return deck + test::molecule_head(3) + test::atom_record(1, 0, 0, 0, 0, 0, 0, 16) +
           "  2  1  0  0    1.00.000\n";
}

struct DeckOutcome {
    std::string report;
    ErrorKind kind = ErrorKind::open_failed;
    std::string message; // empty when the deck ran to its end
};

DeckOutcome run_deck(ByteSink& sink, Writes writes, const std::string& deck = late_fault_deck()) {
    MemorySource source(deck);
    DeckOutcome outcome;
    try {
        process_deck(source, "TEST.DAT", sink, writes);
    } catch (const RunError& error) {
        outcome.kind = error.kind();
        outcome.message = error.what();
    }
    return outcome;
}

// A write that fails before the deck's fault is found is the diagnostic, in both modes;
// with a sound sink the deck's fault is, after every record written before it.
TEST(ReportWriter, FirstDiagnosticOfADeckIsTheSameInBothModes) {
    DeckOutcome failed[2];
    DeckOutcome sound[2];
    for (int mode : {0, 1}) {
        FlakySink failing(1);
        failed[mode] = run_deck(failing, kBothModes[mode]);
        FlakySink sink;
        sound[mode] = run_deck(sink, kBothModes[mode]);
        sound[mode].report = sink.bytes;
    }
    EXPECT_EQ(failed[0].kind, ErrorKind::write_failed);
    EXPECT_EQ(failed[1].kind, ErrorKind::write_failed);
    EXPECT_EQ(failed[1].message, failed[0].message);

    // One buffer is written before the fault and the next is not: in the background the
    // failed write is then found only by waiting for the writer before closing.
    ASSERT_GT(sound[0].report.size(), 65536u);
    ASSERT_LT(sound[0].report.size(), 2u * 65536u);
    EXPECT_EQ(sound[0].kind, ErrorKind::bad_field);
    EXPECT_EQ(sound[1].kind, ErrorKind::bad_field);
    EXPECT_EQ(sound[1].message, sound[0].message);
    EXPECT_TRUE(sound[1].report == sound[0].report)
        << test::first_difference(sound[0].report, sound[1].report);
}

// A chain of 120 atoms of mass zero, large enough that its blocks go to the writer
// thread (divide by zero in the mass block), then at once a deck fault: in the
// background the reading thread meets the deck fault before it hears of the block's,
// which must still be the diagnostic, after the same records.
TEST(ReportWriter, FaultOfABlockWrittenInTheBackgroundComesFirst) {
    constexpr int kAtoms = 120;
    std::string deck = test::molecule_head(kAtoms) + test::atom_record(1, 0, 0, 0, 0, 0, 0, 0);
    for (int i = 2; i <= kAtoms; ++i)
        deck += test::atom_record(i, i - 1, i > 2 ? i - 2 : 0, i > 3 ? i - 3 : 0, 1.5,
                                  i > 2 ? 110 : 0, i > 3 ? 60.0 * (i % 3) - 60 : 0, 0);
    deck += test::molecule_head(3) + test::atom_record(1, 0, 0, 0, 0, 0, 0, 16) +
            "  2  1  0  0    1.00.000\n";
    DeckOutcome outcome[2];
    for (int mode : {0, 1}) {
        FlakySink sink;
        outcome[mode] = run_deck(sink, kBothModes[mode], deck);
        outcome[mode].report = sink.bytes;
    }
    EXPECT_EQ(outcome[0].kind, ErrorKind::fp_divide_by_zero) << outcome[0].message;
    EXPECT_EQ(outcome[1].kind, outcome[0].kind);
    EXPECT_EQ(outcome[1].message, outcome[0].message);
    EXPECT_NE(outcome[0].report.find(" ATOM120"), std::string::npos) << "distances written";
    EXPECT_TRUE(outcome[1].report == outcome[0].report)
        << test::first_difference(outcome[0].report, outcome[1].report);
}

// The built tessen on every shipped example, and on the late fault into a full device:
// the same reports, console, diagnostics and exit status with TESSEN_THREADS=1 and
// without it.
TEST(ReportWriter, ProgramGivesTheSameResultsInBothModes) {
    std::vector<std::string> decks;
    for (const auto& entry : test::fs::directory_iterator(test::source_dir() / "examples"))
        if (entry.path().extension() == ".DAT")
            decks.push_back(entry.path().filename().string());
    ASSERT_GE(decks.size(), 6u);
    const std::vector<std::string> modes[] = {{"env", "TESSEN_THREADS=1"},
                                              {"env", "-u", "TESSEN_THREADS"}};
    test::ScratchDir dirs[2];
    test::ProgramRun runs[2];
    test::ProgramRun full[2];
    for (int mode : {0, 1}) {
        for (const std::string& deck : decks)
            test::fs::copy_file(test::source_dir() / "examples" / deck, dirs[mode] / deck);
        test::write_file(dirs[mode] / "FAULT.DAT", late_fault_deck());
        std::vector<std::string> argv = modes[mode];
        argv.push_back(test::tessen_binary());
        std::vector<std::string> all = argv;
        all.insert(all.end(), decks.begin(), decks.end());
        runs[mode] = test::run_program(all, dirs[mode].path());
        argv.insert(argv.end(), {"-o", "/dev/full", "FAULT.DAT"});
        full[mode] = test::run_program(argv, dirs[mode].path());
    }
    EXPECT_EQ(runs[0].status, 0) << runs[0].err;
    EXPECT_EQ(runs[1].status, runs[0].status);
    EXPECT_EQ(runs[1].out + runs[1].err, runs[0].out + runs[0].err);
    for (const std::string& deck : decks) {
        const std::string report = test::fs::path(deck).replace_extension(".OUT").string();
        const std::string here = test::read_file(dirs[0] / report);
        EXPECT_FALSE(here.empty()) << report;
        EXPECT_TRUE(test::read_file(dirs[1] / report) == here) << report << " differs";
    }
    if (!test::fs::exists("/dev/full"))
        return; // no full device to write to here
    EXPECT_EQ(full[0].status, 1);
    EXPECT_NE(full[0].err.find("WRITE(/dev/full)"), std::string::npos) << full[0].err;
    EXPECT_EQ(full[1].status, full[0].status);
    EXPECT_EQ(full[1].err, full[0].err);
}

// Where no second thread can be had (a limit of one process for the user), tessen writes
// the report in its own thread: the same report, exit status 0. Needs root, to run the
// program as the user nobody under that limit.
TEST(ReportWriter, ProgramWithoutASecondThreadWritesTheSameReport) {
    if (geteuid() != 0 || !test::fs::exists("/usr/bin/setpriv") ||
        !test::fs::exists("/usr/bin/prlimit"))
        GTEST_SKIP() << "needs root, setpriv and prlimit";
    // A sanitizer's run-time starts threads of its own, which the limit refuses.
    if (std::getenv("ASAN_OPTIONS") != nullptr || std::getenv("TSAN_OPTIONS") != nullptr)
        GTEST_SKIP() << "not with a sanitized program";
    test::ScratchDir dirs[2];
    for (test::ScratchDir& dir : dirs) {
        test::fs::copy_file(test::source_dir() / "examples" / "WATER.DAT", dir / "WATER.DAT");
        test::fs::permissions(dir.path(), test::fs::perms::all);
    }
    const test::ProgramRun usual =
        test::run_program({test::tessen_binary(), "WATER.DAT"}, dirs[0].path());
    const test::ProgramRun limited = test::run_program(
        {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
         "/usr/bin/prlimit", "--nproc=1", test::tessen_binary(), "WATER.DAT"},
        dirs[1].path());
    EXPECT_EQ(usual.status, 0) << usual.err;
    EXPECT_EQ(limited.status, 0) << limited.err;
    const std::string report = test::read_file(dirs[0] / "WATER.OUT");
    EXPECT_FALSE(report.empty());
    EXPECT_TRUE(test::read_file(dirs[1] / "WATER.OUT") == report);
}

} // namespace
} // namespace tessen
