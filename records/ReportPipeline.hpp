#pragma once

// The report pipeline: the one place where the report is written by more than one thread.
//
// The caller (the thread that reads the deck) puts records and submits jobs. A job is an
// object that lays out records later (a mass-properties block from a copy of the
// molecule, the lines of a distance table); the pipeline knows nothing of what it holds.
//
// Order. The report holds the records put and the records of the jobs submitted in the
// order of the calls, whichever thread lays them out, in the very writes that one thread
// would make: every write of the sink but the last is a full chunk of the report.
//
// Where a job runs: the pipeline alone decides. On the writer thread while it keeps up;
// at once in the caller's thread when there is no writer thread (Threads::one, a thread
// that cannot be started, a pipeline of records), or when the writer thread is behind
// (jobs_behind jobs or records_behind records of jobs waiting for it), which keeps both
// threads busy. The bytes are the same either way.
//
// First fault. A failed write or a RunError raised by a job is the report's first fault.
// A job run in the caller's thread raises its fault from submit(); a fault met by the
// writer thread is raised in the caller's thread once, by a later put_record that hands
// a chunk over, submit, settle or close, and nothing after it in the report reaches the
// sink. A job locates its own fault (the deck line it was submitted at); the pipeline
// passes it on as is. A caller that meets a fault, its own or one raised here, ends the
// report with close_after_fault(): what came before the fault is written, and the first
// fault of the report is raised, one found earlier by the writer thread if there is one.
//
// Memory is bounded whatever the deck: chunks of chunk_size bytes go round (chunks of
// them), at most max_waiting_jobs jobs wait for the writer thread (a batch more while
// they are handed over), and at most max_large_jobs jobs of large_job_bytes or more are
// taken and not yet written: take_job waits for one to come back. A job goes back to the
// pipeline's pool of its type once written, after a fault, or dropped unwritten, and
// is reused by a later take_job of the same type; the pools go with the pipeline.
//
// Threads. Only the caller's thread calls the pipeline. With a writer thread, only that
// thread writes the sink, from construction to close(); once close() returns, or the
// pipeline is gone, the thread has ended and the sink is the caller's again.

#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"
#include "records/ReportFile.hpp"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <type_traits>
#include <typeindex>
#include <vector>

namespace tessen {

// Records to be laid out later, perhaps by another thread: see ReportPipeline. A job is
// taken from the pipeline (take_job), filled by the caller, and submitted.
class ReportJob {
  public:
    virtual ~ReportJob() = default;
    // Lays out the job's records into out. May raise a RunError: the report's fault.
    virtual void write(RecordSink& out) = 0;

  private:
    friend class ReportPipeline;
    std::size_t pool_ = 0;    // the pool of the job's type
    std::size_t records_ = 0; // about how many records it writes
    bool large_ = false;      // counted among the large jobs taken
};

class ReportPipeline final : public RecordSink {
  public:
    enum class Threads { one, two };

    struct Limits {
        // The report goes through chunks of this many bytes: the size of every write.
        std::size_t chunk_size = ReportFile::kBufferSize;
        std::size_t chunks = 32;
        // Jobs go to the writer thread in batches: each hand-over may wake it, which costs
        // more than a small job. A batch goes when a chunk is full, when it holds
        // batch_jobs jobs, or at once with a job of records_worth_a_thread records.
        std::size_t batch_jobs = 16;
        std::size_t records_worth_a_thread = 200;
        // The writer thread is behind with this many jobs, or records of jobs, waiting. A
        // distance check of 500 atoms (32,000 records) alone is not behind: the mass
        // blocks after it go to the writer thread too, while the caller's thread is busy
        // with the next molecule's distances (measured on the bench decks).
        std::size_t jobs_behind = 48;
        std::size_t records_behind = 40000;
        std::size_t max_waiting_jobs = 64;
        // A distance table of 46 atoms or more (16 KiB and up, 2 MB for 500 atoms).
        std::size_t large_job_bytes = 1 << 14;
        std::size_t max_large_jobs = 3;
    };

    // A report written into sink, by a writer thread of its own with Threads::two.
    ReportPipeline(ByteSink& sink, Threads threads, const Limits& limits);
    ReportPipeline(ByteSink& sink, Threads threads) : ReportPipeline(sink, threads, Limits{}) {}
    // Records put and jobs submitted go into records at once, in the caller's thread, and
    // a job's fault is raised by its submit() with nothing held back: for readers of the
    // records (the deck checker, tests), which may go on after a fault.
    explicit ReportPipeline(RecordSink& records);
    // Stops the writer thread; what close() has not written is dropped.
    ~ReportPipeline() override;
    ReportPipeline(const ReportPipeline&) = delete;
    ReportPipeline& operator=(const ReportPipeline&) = delete;

    void put_record(std::string_view record, bool hold) override;

    // A job of type Job (a ReportJob with a default constructor) to fill and submit, one
    // of the pool when one is free: records is about how many records it will write,
    // bytes how much memory it holds. A job taken and not submitted goes back to the pool
    // at the next take_job.
    template <typename Job> Job& take_job(std::size_t records, std::size_t bytes) {
        static_assert(std::is_base_of_v<ReportJob, Job>);
        return static_cast<Job&>(
            take(typeid(Job), records, bytes,
                 []() -> std::unique_ptr<ReportJob> { return std::make_unique<Job>(); }));
    }
    // The job last taken, filled: its records take their place after everything put or
    // submitted before.
    void submit(ReportJob& job);

    // Waits until everything put so far has reached the sink as it would in one thread;
    // raises the first fault among it.
    void settle();
    // Writes out everything put and submitted, stops the writer thread, and raises the
    // first fault.
    void close();
    // For a caller that met a fault of its own (a RunError being handled): writes out
    // what was put before it, closes, and raises the report's first fault.
    [[noreturn]] void close_after_fault();

  private:
    // What the caller hands over, in report order: bytes [begin, end) of a chunk, or a
    // job.
    struct Piece {
        char* chunk = nullptr;
        std::size_t begin = 0;
        std::size_t end = 0;
        bool releases_chunk = false; // the chunk's last piece: it goes back to the free ones
        bool followed = false;       // a full chunk handed over with more bytes to come
        ReportJob* job = nullptr;
    };

    const Limits limits_;
    RecordSink* records_ = nullptr;    // a pipeline of records
    std::unique_ptr<ReportFile> file_; // where pieces are laid out in order: the writer's

    // The caller's side: the chunk being filled and the batch not yet handed over.
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::size_t segment_start_ = 0; // where the bytes not yet in the batch begin
    std::vector<Piece> batch_;
    std::size_t batch_jobs_ = 0;
    ReportJob* taken_ = nullptr; // taken and not yet submitted
    std::vector<std::type_index> pool_types_;
    std::vector<std::unique_ptr<ReportJob>> jobs_made_;
    std::vector<std::vector<ReportJob*>> free_jobs_; // by pool: given back here, or collected

    // Shared with the writer thread, under mutex_.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<char[]>> chunk_storage_;
    std::vector<char*> free_chunks_;
    std::deque<Piece> queued_; // handed over, not yet laid out, in order
    // Changed under the lock; read without it to tell whether the writer is behind.
    std::atomic<std::size_t> queued_jobs_ = 0;
    std::atomic<std::size_t> queued_job_records_ = 0;
    bool busy_ = false; // the writer thread holds a piece outside the queue
    bool stopping_ = false;
    std::exception_ptr failure_; // the first fault, until raised
    bool failed_ = false;        // a fault happened: later pieces are dropped
    std::vector<std::vector<ReportJob*>> returned_jobs_; // by pool: given back by the writer
    std::size_t large_jobs_taken_ = 0;

    std::thread thread_; // last: started when everything above is in place

    ReportJob& take(std::type_index type, std::size_t records, std::size_t bytes,
                    std::unique_ptr<ReportJob> (*make)());
    std::size_t pool_of(std::type_index type);
    void wait_for_large_job();
    void give_back_here(ReportJob& job);
    void give_back_from_writer(ReportJob& job);
    void run_here(ReportJob& job, RecordSink& out);
    bool is_behind() const;

    void put_bytes_across(std::string_view bytes);
    void flush();
    void add_segment(bool releases_chunk, bool followed);
    void hand_over_batch();
    void hand_over_buffer(bool followed);
    char* take_free_chunk();

    void lay_out_queued();
    void lay_out(Piece& piece, std::unique_lock<std::mutex>& lock);
    void wait_until_idle(std::unique_lock<std::mutex>& lock);
    void raise_failure();
    void raise_failure(std::unique_lock<std::mutex>& lock);
    void stop_thread();
};

} // namespace tessen
