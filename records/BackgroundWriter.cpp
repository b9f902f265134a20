#include "records/BackgroundWriter.hpp"

namespace tessen {

BackgroundWriter::BackgroundWriter(ByteSink& sink, std::size_t chunk_size, std::size_t chunk_count)
    : sink_(sink), chunk_size_(chunk_size) {
    for (std::size_t k = 0; k < chunk_count; ++k) {
        storage_.push_back(std::make_unique_for_overwrite<char[]>(chunk_size));
        empty_.push_back(storage_.back().get());
    }
    thread_ = std::thread([this] { write_queued(); });
}

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

// The thread: takes the queued chunks in order and writes them, outside the lock.
void BackgroundWriter::write_queued() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
        if (queued_.empty())
            return; // stopping, and nothing left to write
        const Chunk chunk = queued_.front();
        queued_.pop_front();
        if (!failed_) {
            writing_ = true;
            lock.unlock();
            std::exception_ptr failure;
            try {
                sink_.write(chunk.bytes, chunk.size);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            writing_ = false;
            if (failure) {
                failed_ = true;
                failure_ = failure;
            }
        }
        if (chunk.buffer != nullptr)
            empty_.push_back(chunk.buffer);
        changed_.notify_all();
    }
}

// Raises a failed write's diagnostic in the caller's thread, the first time only.
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

void BackgroundWriter::hand_over(char* chunk, std::size_t n) {
    std::lock_guard lock(mutex_);
    if (failed_) {
        empty_.push_back(chunk); // a failed write ends the report
    } else {
        queued_.push_back({chunk, n, chunk});
        changed_.notify_all();
    }
}

void BackgroundWriter::write_through(const char* bytes, std::size_t n) {
    std::unique_lock lock(mutex_);
    if (!failed_) {
        queued_.push_back({bytes, n, nullptr});
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return queued_.empty() && !writing_; });
    raise_failure(lock);
}

void BackgroundWriter::raise_failure() {
    std::unique_lock lock(mutex_);
    raise_failure(lock);
}

void BackgroundWriter::wait_idle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_.empty() && !writing_; });
    raise_failure(lock);
}

} // namespace tessen
