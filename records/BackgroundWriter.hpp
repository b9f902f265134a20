#pragma once

#include "records/ByteStreams.hpp"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tessen {

// Writes the report's chunks to the sink on a thread of its own, in the order they are
// handed over, so that the copy into the file costs the thread that lays out the report
// nothing. The chunks are a fixed set of buffers that go round: the caller fills one,
// hands it over and takes an empty one, waiting only when every buffer is still queued.
//
// A write that fails is raised in the caller's thread by the next raise_failure() or
// wait_idle(), once; every chunk after the failed one is dropped, as a failed write ends
// the report. Nothing is ever written twice.
class BackgroundWriter {
  public:
    BackgroundWriter(ByteSink& sink, std::size_t chunk_size, std::size_t chunk_count);
    // Writes what is still queued, then stops the thread.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    std::size_t chunk_size() const { return chunk_size_; }
    // An empty chunk of chunk_size() bytes, once one is free.
    char* take_empty();
    // Queues the first n bytes of a chunk taken from take_empty() for writing.
    void hand_over(char* chunk, std::size_t n);
    // Writes n bytes of the caller's own, as one write after everything handed over, and
    // waits for it (the bytes need live only until then); then raises the diagnostic of a
    // write that failed. A record too long for a chunk reaches the sink this way in the
    // same single write that the calling thread would give it.
    void write_through(const char* bytes, std::size_t n);
    // Raises the diagnostic of a write that failed, if one did and it is not yet raised.
    void raise_failure();
    // Waits until every chunk handed over is written (or dropped after a failure), then
    // raises the diagnostic of a write that failed.
    void wait_idle();

  private:
    struct Chunk {
        const char* bytes;
        std::size_t size;
        char* buffer; // the buffer to give back once written; none for the caller's bytes
    };

    ByteSink& sink_;
    const std::size_t chunk_size_;
    std::vector<std::unique_ptr<char[]>> storage_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk> queued_; // handed over, not yet written, in order
    std::vector<char*> empty_; // free for the caller
    bool writing_ = false;     // the thread holds a chunk outside the queue
    bool stopping_ = false;
    std::exception_ptr failure_; // the failed write's diagnostic, until raised
    bool failed_ = false;        // a write failed: later chunks are dropped

    std::thread thread_; // last: started when everything above is in place

    void write_queued();
    void raise_failure(std::unique_lock<std::mutex>& lock);
};

} // namespace tessen
