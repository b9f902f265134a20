#include "records/BackgroundWriter.hpp"

#include "records/Diagnostic.hpp"
#include "records/ReportFile.hpp"

#include <string_view>

namespace tessen {

BackgroundWriter::BackgroundWriter(ByteSink& sink, std::size_t chunk_size, std::size_t chunk_count)
    : chunk_size_(chunk_size),
      report_(std::make_unique<ReportFile>(sink, ReportFile::Writes::in_this_thread)) {
    for (std::size_t k = 0; k < chunk_count; ++k) {
        storage_.push_back(std::make_unique_for_overwrite<char[]>(chunk_size));
        empty_.push_back(storage_.back().get());
    }
    thread_ = std::thread([this] { put_queued(); });
}

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

// The thread: takes the queued pieces in order and puts them into its report file,
// outside the lock.
void BackgroundWriter::put_queued() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
        if (queued_.empty())
            return; // stopping, and nothing left to put
        Piece piece = std::move(queued_.front());
        queued_.pop_front();
        if (!failed_) {
            busy_ = true;
            lock.unlock();
            std::exception_ptr failure;
            try {
                if (piece.chunk)
                    report_->put_bytes({piece.chunk + piece.begin, piece.end - piece.begin},
                                       piece.followed);
                else
                    piece.section.write(*report_);
            } catch (...) {
                failure = std::current_exception();
            }
            piece.section = {}; // what the section holds goes back here, not under the lock
            lock.lock();
            busy_ = false;
            if (failure) {
                failed_ = true;
                failure_ = failure;
            }
        }
        if (!piece.chunk) {
            --queued_sections_;
            queued_section_records_ -= piece.records;
        } else if (piece.releases_chunk)
            empty_.push_back(piece.chunk);
        changed_.notify_all();
    }
}

void BackgroundWriter::wait_until_idle(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return queued_.empty() && !busy_; });
}

// Raises the first fault in the caller's thread, the first time only.
void BackgroundWriter::raise_failure(std::unique_lock<std::mutex>& lock) {
    if (!failure_)
        return;
    std::exception_ptr failure = std::move(failure_);
    failure_ = nullptr;
    lock.unlock();
    std::rethrow_exception(failure);
}

char* BackgroundWriter::take_empty() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !empty_.empty(); });
    char* chunk = empty_.back();
    empty_.pop_back();
    return chunk;
}

void BackgroundWriter::hand_over(std::vector<Piece>& batch) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queued_sections_ < kMaxQueuedSections; });
        for (Piece& piece : batch) {
            queued_sections_ += piece.chunk ? 0 : 1;
            queued_section_records_ += piece.records;
            queued_.push_back(std::move(piece));
        }
    }
    batch.clear();
    changed_.notify_all();
}

BackgroundWriter::Backlog BackgroundWriter::backlog() {
    std::lock_guard lock(mutex_);
    return {queued_sections_, queued_section_records_};
}

void BackgroundWriter::raise_failure() {
    std::unique_lock lock(mutex_);
    raise_failure(lock);
}

void BackgroundWriter::settle() {
    std::unique_lock lock(mutex_);
    wait_until_idle(lock);
    raise_failure(lock);
}

// The thread is idle from here on (the caller hands over nothing more), so the report
// file is closed in the caller's thread. After a fault, what the report file holds (the
// records before it) is still written, and the fault is the one raised, as in one thread.
void BackgroundWriter::close() {
    std::unique_lock lock(mutex_);
    wait_until_idle(lock);
    if (!failed_) {
        lock.unlock();
        report_->close();
        return;
    }
    try {
        report_->close();
    } catch (const RunError&) {
        // The first fault is the one to raise.
    }
    raise_failure(lock);
}

} // namespace tessen
