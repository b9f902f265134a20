#include "records/ReportPipeline.hpp"

#include "records/Diagnostic.hpp"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace tessen {

namespace {

constexpr char kLineEnd[2] = {'\r', '\n'};

// Every count must leave room to go on: a limit of none would wait for ever.
void check_limits(const ReportPipeline::Limits& limits) {
    if (limits.chunk_size == 0 || limits.chunks == 0 || limits.batch_jobs == 0 ||
        limits.max_waiting_jobs == 0 || limits.max_large_jobs == 0)
        throw std::invalid_argument("report pipeline limit of zero");
}

} // namespace

ReportPipeline::ReportPipeline(ByteSink& sink, Threads threads, const Limits& limits)
    : limits_(limits), file_(std::make_unique<ReportFile>(sink, limits.chunk_size)) {
    check_limits(limits);
    for (std::size_t k = 0; k < limits.chunks; ++k) {
        chunk_storage_.push_back(std::make_unique_for_overwrite<char[]>(limits.chunk_size));
        free_chunks_.push_back(chunk_storage_.back().get());
    }
    buffer_ = take_free_chunk();
    if (threads == Threads::two) {
        try {
            thread_ = std::thread([this] { lay_out_queued(); });
        } catch (const std::system_error&) {
            // No thread to be had (a limit on processes, say): the report is written in
            // this thread, with the same bytes.
        }
    }
}

ReportPipeline::ReportPipeline(RecordSink& records) : records_(&records) {}

// What is still queued is dropped: only close() writes.
ReportPipeline::~ReportPipeline() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        failed_ = true;
    }
    stop_thread();
}

void ReportPipeline::put_record(std::string_view record, bool hold) {
    if (records_ != nullptr) [[unlikely]] {
        records_->put_record(record, hold);
        return;
    }
    const std::size_t n = record.size();
    if (limits_.chunk_size - size_ < n + sizeof kLineEnd) {
        put_bytes_across(record);
        put_bytes_across({kLineEnd, sizeof kLineEnd});
        return;
    }
    char* at = buffer_ + size_;
    if (n != 0) // an empty view may have no data at all, which memcpy must not be given
        std::memcpy(at, record.data(), n);
    std::memcpy(at + n, kLineEnd, sizeof kLineEnd);
    size_ += n + sizeof kLineEnd;
}

// Fills the chunk up and hands it over as often as the bytes need.
void ReportPipeline::put_bytes_across(std::string_view bytes) {
    while (!bytes.empty()) {
        if (size_ == limits_.chunk_size)
            flush();
        const std::size_t n = std::min(bytes.size(), limits_.chunk_size - size_);
        std::memcpy(buffer_ + size_, bytes.data(), n);
        size_ += n;
        bytes.remove_prefix(n);
    }
}

// A full chunk goes on, with more bytes to come.
void ReportPipeline::flush() {
    hand_over_buffer(true);
    raise_failure();
}

// ---- Jobs and their pools ----

ReportJob& ReportPipeline::take(std::type_index type, std::size_t records, std::size_t bytes,
                                std::unique_ptr<ReportJob> (*make)()) {
    if (taken_ != nullptr)
        give_back_here(*std::exchange(taken_, nullptr));
    const bool large = bytes >= limits_.large_job_bytes;
    if (large)
        wait_for_large_job();
    const std::size_t pool = pool_of(type);
    std::vector<ReportJob*>& free = free_jobs_[pool];
    if (free.empty()) { // the jobs that the writer thread has given back since
        std::lock_guard lock(mutex_);
        free.swap(returned_jobs_[pool]);
    }
    ReportJob* job = nullptr;
    if (free.empty()) {
        jobs_made_.push_back(make());
        job = jobs_made_.back().get();
        job->pool_ = pool;
    } else {
        job = free.back();
        free.pop_back();
    }
    job->records_ = records;
    job->large_ = large;
    taken_ = job;
    return *job;
}

// The pool of a job type, made at its first job.
std::size_t ReportPipeline::pool_of(std::type_index type) {
    const auto found = std::find(pool_types_.begin(), pool_types_.end(), type);
    if (found != pool_types_.end())
        return static_cast<std::size_t>(found - pool_types_.begin());
    pool_types_.push_back(type);
    free_jobs_.emplace_back();
    std::lock_guard lock(mutex_);
    returned_jobs_.emplace_back();
    return pool_types_.size() - 1;
}

// Waits until fewer than max_large_jobs large jobs are out, and counts one more. The jobs
// waited for may still be in the batch: it goes first.
void ReportPipeline::wait_for_large_job() {
    if (thread_.joinable() && batch_jobs_ != 0) {
        add_segment(false, false);
        hand_over_batch();
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return large_jobs_taken_ < limits_.max_large_jobs; });
    ++large_jobs_taken_;
}

void ReportPipeline::give_back_here(ReportJob& job) {
    free_jobs_[job.pool_].push_back(&job);
    if (job.large_) {
        std::lock_guard lock(mutex_);
        --large_jobs_taken_;
    }
}

// Under the lock; the waiting thread is told once the piece is done (lay_out).
void ReportPipeline::give_back_from_writer(ReportJob& job) {
    returned_jobs_[job.pool_].push_back(&job);
    large_jobs_taken_ -= job.large_ ? 1 : 0;
}

void ReportPipeline::submit(ReportJob& job) {
    if (&job != taken_)
        throw std::logic_error("report job submitted that is not the one taken");
    taken_ = nullptr;
    if (records_ != nullptr) {
        run_here(job, *records_);
        return;
    }
    if (!thread_.joinable() || is_behind()) {
        run_here(job, *this);
        return;
    }
    add_segment(false, false);
    batch_.push_back({.job = &job});
    if (++batch_jobs_ >= limits_.batch_jobs || job.records_ >= limits_.records_worth_a_thread) {
        hand_over_batch();
        raise_failure();
    }
}

// The job's records go into out now; the job goes back to its pool, come what may.
void ReportPipeline::run_here(ReportJob& job, RecordSink& out) {
    struct GiveBack {
        ReportPipeline& pipeline;
        ReportJob& job;
        ~GiveBack() { pipeline.give_back_here(job); }
    } give_back_after{*this, job};
    job.write(out);
}

bool ReportPipeline::is_behind() const {
    return queued_jobs_ >= limits_.jobs_behind || queued_job_records_ >= limits_.records_behind;
}

// ---- Handing over ----

// The bytes put since the last piece, as a piece of the batch.
void ReportPipeline::add_segment(bool releases_chunk, bool followed) {
    if (size_ > segment_start_ || releases_chunk)
        batch_.push_back({buffer_, segment_start_, size_, releases_chunk, followed, nullptr});
    segment_start_ = size_;
}

// The batch goes to the writer thread, once fewer than max_waiting_jobs jobs wait there;
// without one it is laid out here and now.
void ReportPipeline::hand_over_batch() {
    std::unique_lock lock(mutex_);
    const bool threaded = thread_.joinable();
    if (threaded)
        changed_.wait(lock, [this] { return queued_jobs_ < limits_.max_waiting_jobs; });
    for (Piece& piece : batch_) {
        if (piece.job != nullptr) {
            ++queued_jobs_;
            queued_job_records_ += piece.job->records_;
        }
        if (threaded)
            queued_.push_back(piece);
        else
            lay_out(piece, lock);
    }
    batch_.clear();
    batch_jobs_ = 0;
    if (threaded)
        changed_.notify_all();
}

// The chunk, with the batch before it, goes on and a free one takes its place, before any
// fault is raised: the chunk being filled is never one the writer holds.
void ReportPipeline::hand_over_buffer(bool followed) {
    add_segment(true, followed);
    hand_over_batch();
    size_ = 0;
    segment_start_ = 0;
    buffer_ = take_free_chunk();
}

char* ReportPipeline::take_free_chunk() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !free_chunks_.empty(); });
    char* chunk = free_chunks_.back();
    free_chunks_.pop_back();
    return chunk;
}

// ---- Laying out, in order ----

// The writer thread: takes the queued pieces in order and lays them out.
void ReportPipeline::lay_out_queued() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
        if (queued_.empty())
            return; // stopping, and nothing left to lay out
        Piece piece = queued_.front();
        queued_.pop_front();
        lay_out(piece, lock);
    }
}

// Lays out one piece into the report file, outside the lock, unless a fault came before
// it; then gives back what it holds.
void ReportPipeline::lay_out(Piece& piece, std::unique_lock<std::mutex>& lock) {
    if (!failed_) {
        busy_ = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            if (piece.job != nullptr)
                piece.job->write(*file_);
            else
                file_->put_bytes({piece.chunk + piece.begin, piece.end - piece.begin},
                                 piece.followed);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        busy_ = false;
        if (failure) {
            failed_ = true;
            failure_ = failure;
        }
    }
    if (piece.job != nullptr) {
        --queued_jobs_;
        queued_job_records_ -= piece.job->records_;
        give_back_from_writer(*piece.job);
    } else if (piece.releases_chunk) {
        free_chunks_.push_back(piece.chunk);
    }
    changed_.notify_all();
}

// ---- Faults and the end ----

void ReportPipeline::wait_until_idle(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return queued_.empty() && !busy_; });
}

void ReportPipeline::raise_failure() {
    std::unique_lock lock(mutex_);
    raise_failure(lock);
}

// Raises the first fault in the caller's thread, the first time only.
void ReportPipeline::raise_failure(std::unique_lock<std::mutex>& lock) {
    if (!failure_)
        return;
    std::exception_ptr failure = std::exchange(failure_, nullptr);
    lock.unlock();
    std::rethrow_exception(failure);
}

// Everything put so far goes on first: a write that fails, brought on by a byte put
// before now, is raised, as it would have been in one thread.
void ReportPipeline::settle() {
    if (records_ != nullptr)
        return;
    hand_over_buffer(false);
    std::unique_lock lock(mutex_);
    wait_until_idle(lock);
    raise_failure(lock);
}

// After a fault, what the report file holds (the records before it) is still written,
// and the fault is the one raised, as in one thread.
void ReportPipeline::close() {
    if (records_ != nullptr)
        return;
    hand_over_buffer(false);
    stop_thread();
    std::unique_lock lock(mutex_);
    if (!failed_) {
        lock.unlock();
        file_->close();
        return;
    }
    try {
        file_->close();
    } catch (const RunError&) {
        // The first fault is the one to raise.
    }
    raise_failure(lock);
}

void ReportPipeline::close_after_fault() {
    std::exception_ptr first = std::current_exception();
    if (!first)
        throw std::logic_error("close_after_fault called without a fault");
    try {
        settle();
    } catch (const RunError&) {
        first = std::current_exception();
    }
    try {
        close();
    } catch (const RunError&) {
        // The first fault is the one to raise.
    }
    std::rethrow_exception(first);
}

// The thread lays out what is queued, then ends.
void ReportPipeline::stop_thread() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

} // namespace tessen
