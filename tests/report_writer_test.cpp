// The report pipeline: one thread or two, the sink must be given the same writes, healthy
// or failing part-way, so that the report, the first diagnostic and the exit status do not
// depend on TESSEN_THREADS; and each of its waits and fallbacks, driven by its limits.

#include "driver/DeckProcess.hpp"
#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"
#include "records/ReportPipeline.hpp"
#include "support/Decks.hpp"
#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tessen {
namespace {

using Threads = ReportPipeline::Threads;
constexpr Threads kBothModes[] = {Threads::one, Threads::two};

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

// A job of the tests: its text as `lines` records. It notes the thread that wrote it and
// whether it is written; with a gate, it waits for the gate to open first.
struct TextJob : ReportJob {
    std::string text;
    int lines = 1;
    bool throws = false;
    std::shared_future<void> gate;
    std::thread::id writer;
    std::atomic<bool> written = false;
    static inline std::atomic<int> calls = 0; // writes of every text job

    void write(RecordSink& out) override {
        ++calls;
        if (gate.valid())
            gate.wait();
        writer = std::this_thread::get_id();
        for (int k = 0; k < lines; ++k)
            out.put_record(text, false);
        written = true;
        if (throws)
            throw RunError(ErrorKind::fp_divide_by_zero);
    }
};

TextJob& submit_text(ReportPipeline& report, std::string text, int lines = 1, std::size_t bytes = 0,
                     std::shared_future<void> gate = {}) {
    TextJob& job = report.take_job<TextJob>(static_cast<std::size_t>(lines), bytes);
    job.text = std::move(text);
    job.lines = lines;
    job.throws = false;
    job.gate = std::move(gate);
    job.written = false;
    report.submit(job);
    return job;
}

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

// Every 50th record goes through a job, in rows of three.
bool is_job(std::size_t k) {
    return k % 50 == 7;
}

struct Written {
    std::string bytes;
    std::vector<std::size_t> writes;
    int raised = 0; // write diagnostics raised
};

// Puts every record, going on after a diagnostic, then settles and closes the report.
Written write_report(Threads threads, std::size_t fail_at = 0) {
    FlakySink sink(fail_at);
    int raised = 0;
    {
        ReportPipeline report(sink, threads);
        auto counting = [&](auto step) {
            try {
                step();
            } catch (const RunError& error) {
                EXPECT_EQ(error.kind(), ErrorKind::write_failed);
                ++raised;
            }
        };
        const std::vector<std::string>& records = varied_records();
        for (std::size_t k = 0; k < records.size(); ++k)
            counting([&] {
                if (is_job(k))
                    submit_text(report, records[k], 3);
                else
                    report.put_record(records[k], false);
            });
        counting([&] { report.settle(); });
        counting([&] { report.close(); });
    }
    return {sink.bytes, sink.writes, raised};
}

TEST(ReportWriter, BothModesGiveTheSinkTheSameWrites) {
    std::string whole;
    const std::vector<std::string>& records = varied_records();
    for (std::size_t k = 0; k < records.size(); ++k)
        for (int line = 0; line < (is_job(k) ? 3 : 1); ++line)
            whole += records[k] + "\r\n";
    const Written here = write_report(Threads::one);
    const Written background = write_report(Threads::two);
    EXPECT_EQ(here.raised + background.raised, 0);
    EXPECT_TRUE(here.bytes == whole) << test::first_difference(whole, here.bytes);
    EXPECT_TRUE(background.bytes == whole) << test::first_difference(whole, background.bytes);
    EXPECT_EQ(background.writes, here.writes);
}

// Failing at the first write, the second, one within the long record, and the last one.
TEST(ReportWriter, FailedWriteEndsTheReportAlikeInBothModes) {
    const Written healthy = write_report(Threads::one);
    for (std::size_t fail_at :
         {std::size_t{1}, std::size_t{2}, healthy.writes.size() / 2, healthy.writes.size()}) {
        SCOPED_TRACE("the sink fails at write " + std::to_string(fail_at));
        const Written here = write_report(Threads::one, fail_at);
        const Written background = write_report(Threads::two, fail_at);
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

// Behind a failed write the writer thread drops the jobs queued, and gives each back: the
// jobs are large and only two may be out at a time, so one kept would stop the loop.
TEST(ReportPipeline, JobsBehindAFailedWriteAreDroppedAndGivenBack) {
    FlakySink failing(1);
    ReportPipeline::Limits limits;
    limits.max_large_jobs = 2;
    ReportPipeline report(failing, Threads::two, limits);
    TextJob::calls = 0;
    try {
        for (int k = 0; k < 40; ++k)
            submit_text(report, std::string(100000, 's'), 1, limits.large_job_bytes);
        report.close();
        ADD_FAILURE() << "the failed write was not raised";
    } catch (const RunError&) {
        EXPECT_NO_THROW(report.close()) << "the fault is raised once";
    }
    EXPECT_EQ(failing.writes.size(), 1u) << "the first job's records fail the first write";
    EXPECT_EQ(TextJob::calls, 1) << "no job after it is written";
}

// A job taken and never submitted goes back at the next take: with one large job allowed,
// the next large one would otherwise wait for ever.
TEST(ReportPipeline, JobTakenAndNotSubmittedGoesBack) {
    MemorySink sink;
    ReportPipeline::Limits limits;
    limits.max_large_jobs = 1;
    ReportPipeline report(sink, Threads::two, limits);
    TextJob& dropped = report.take_job<TextJob>(1, limits.large_job_bytes);
    TextJob& next = report.take_job<TextJob>(1, limits.large_job_bytes);
    EXPECT_EQ(&next, &dropped);
    TextJob stranger;
    EXPECT_THROW(report.submit(stranger), std::logic_error) << "not the job taken";
}

// What holds a job, and so the writer thread, until it is opened.
struct Gate {
    std::promise<void> opened;
    std::shared_future<void> future = opened.get_future().share();
    void open() { opened.set_value(); }
};

// With the writer held up, the jobs after the limit of waiting ones (or of their records)
// are written in the caller's thread, at once.
TEST(ReportPipeline, JobsRunInTheCallersThreadWhenTheWriterIsBehind) {
    for (const bool by_records : {false, true}) {
        SCOPED_TRACE(by_records ? "records behind" : "jobs behind");
        ReportPipeline::Limits limits;
        limits.batch_jobs = 1;
        limits.jobs_behind = by_records ? 1000 : 3;
        limits.records_behind = by_records ? 30 : 100000;
        MemorySink sink;
        ReportPipeline report(sink, Threads::two, limits);
        Gate gate;
        TextJob& held = submit_text(report, "HELD", 10, 0, gate.future);
        TextJob& queued = submit_text(report, "QUEUED", 20);
        TextJob& second = submit_text(report, "SECOND", 1);
        TextJob& here = submit_text(report, "HERE", 1);
        EXPECT_TRUE(here.written) << "written at once";
        EXPECT_FALSE(held.written);
        gate.open();
        report.close();
        EXPECT_EQ(here.writer, std::this_thread::get_id());
        EXPECT_NE(held.writer, std::this_thread::get_id());
        EXPECT_NE(queued.writer, std::this_thread::get_id());
        EXPECT_EQ(second.writer == std::this_thread::get_id(), by_records);
        const std::vector<std::string> lines = test::report_lines(sink.bytes());
        ASSERT_EQ(lines.size(), 32u);
        EXPECT_EQ(lines[9], "HELD");
        EXPECT_EQ(lines[10], "QUEUED");
        EXPECT_EQ(lines[30], "SECOND");
        EXPECT_EQ(lines[31], "HERE");
    }
}

// Each bound on memory makes the caller's thread wait for the writer: for a large job
// while max_large_jobs are out (the one waited for still in the caller's batch), for a
// hand-over while max_waiting_jobs wait, and for a chunk while every chunk is queued.
TEST(ReportPipeline, CallerWaitsForTheWriterAtEachBound) {
    ReportPipeline::Limits large;
    large.max_large_jobs = 1;
    large.batch_jobs = 100;
    large.records_worth_a_thread = 1000;
    ReportPipeline::Limits waiting;
    waiting.batch_jobs = 1;
    waiting.max_waiting_jobs = 2;
    ReportPipeline::Limits chunks;
    chunks.chunk_size = 64;
    chunks.chunks = 2;
    chunks.batch_jobs = 1;
    const std::string record(62, 'r'); // a chunk with its CR LF
    for (int bound : {0, 1, 2}) {
        SCOPED_TRACE("bound " + std::to_string(bound));
        MemorySink sink;
        ReportPipeline report(sink, Threads::two,
                              bound == 0   ? large
                              : bound == 1 ? waiting
                                           : chunks);
        Gate gate;
        TextJob& held =
            submit_text(report, "HELD", 1, bound == 0 ? large.large_job_bytes : 0, gate.future);
        // Opened some time after the caller has started to wait.
        std::jthread opener([&gate] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            gate.open();
        });
        if (bound == 0) {
            report.take_job<TextJob>(1, large.large_job_bytes);
        } else if (bound == 1) {
            submit_text(report, "QUEUED");
            submit_text(report, "WAITS");
        } else {
            for (int k = 0; k < 3; ++k)
                report.put_record(record, false);
        }
        EXPECT_TRUE(held.written) << "the caller went on before the writer made room";
        report.close();
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

DeckOutcome run_deck(ByteSink& sink, Threads threads, const std::string& deck = late_fault_deck()) {
    MemorySource source(deck);
    DeckOutcome outcome;
    try {
        process_deck(source, "TEST.DAT", sink, threads);
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
