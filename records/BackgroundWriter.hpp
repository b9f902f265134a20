#pragma once

#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tessen {

class ReportFile;

// Writes the report on a thread of its own, so that the copy into the file, and the
// sections handed to it, cost the thread that reads the deck nothing. The caller hands
// over, in report order, chunks of finished records and sections (RecordSink::Section)
// that write records themselves; the thread puts both, in that order, into a report
// file of its own that writes the sink. The bytes reach the sink exactly as a report file
// written in one thread would give them, in the same writes.
//
// Chunks are a fixed set of buffers that go round: the caller fills one, hands it over
// and takes an empty one, waiting only when every buffer is still queued. Sections
// waiting their turn are limited too.
//
// The first fault (a write that fails, or a RunError raised by a section) is raised in
// the caller's thread once, by the next raise_failure(), settle() or close(); everything
// handed over after it is dropped, as the fault ends the report. Nothing is written
// twice.
class BackgroundWriter {
  public:
    BackgroundWriter(ByteSink& sink, std::size_t chunk_size, std::size_t chunk_count);
    // Puts what is still queued, then stops the thread. What it put but did not write
    // is dropped: close() writes it.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // What the caller hands over, in report order: bytes [begin, end) of a chunk, or a
    // section when chunk is null.
    struct Piece {
        char* chunk = nullptr;
        std::size_t begin = 0;
        std::size_t end = 0;
        bool releases_chunk = false; // the chunk's last piece: it goes back to the empty ones
        bool followed = false;       // a full chunk handed over with more bytes to come
        RecordSink::Section section;
        std::size_t records = 0; // a section's records, about
    };

    std::size_t chunk_size() const { return chunk_size_; }
    // An empty chunk of chunk_size() bytes, once one is free.
    char* take_empty();
    // Queues the pieces, in order, and empties the batch; waits first while the limit of
    // sections is waiting. A chunk's bytes must not change once handed over.
    void hand_over(std::vector<Piece>& batch);
    // Sections handed over and not yet written, and about how many records they hold.
    struct Backlog {
        std::size_t sections;
        std::size_t records;
    };
    Backlog backlog();
    // Raises the first fault, if there is one and it is not yet raised.
    void raise_failure();
    // Waits until everything handed over is put, then raises the first fault.
    void settle();
    // Settles, then writes out what is still buffered; raises the first fault, or the
    // failure of that last write.
    void close();

  private:
    static constexpr std::size_t kMaxQueuedSections = 64;

    const std::size_t chunk_size_;
    std::vector<std::unique_ptr<char[]>> storage_;
    std::unique_ptr<ReportFile> report_; // the thread's own, in front of the sink

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> queued_; // handed over, not yet put, in order
    std::vector<char*> empty_; // free for the caller
    std::size_t queued_sections_ = 0;
    std::size_t queued_section_records_ = 0;
    bool busy_ = false; // the thread holds a piece outside the queue
    bool stopping_ = false;
    std::exception_ptr failure_; // the first fault, until raised
    bool failed_ = false;        // a fault happened: later pieces are dropped

    std::thread thread_; // last: started when everything above is in place

    void put_queued();
    void wait_until_idle(std::unique_lock<std::mutex>& lock);
    void raise_failure(std::unique_lock<std::mutex>& lock);
};

} // namespace tessen
