#pragma once

#include "records/BackgroundWriter.hpp"
#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"

#include <cstddef>
#include <memory>
#include <string_view>

namespace tessen {

// The report: every record as laid out, followed by CR LF, gathered in a buffer of fixed
// size that reaches the sink when it fills and when the report is closed.
//
// The sink is written either in the calling thread or, with Writes::in_background, by a
// BackgroundWriter while the caller goes on laying out records. Either way the sink is
// given the same writes, buffers of the same size and a record too long for one as a
// write of its own, so that a sink failing part-way holds the same bytes and the writes
// that reach it before any later fault of the deck are the same. A failed write ends the
// report: it is raised once (in the background at the next buffer handed over, at
// settle() or at close()) and nothing after it reaches the sink.
class ReportFile : public RecordSink {
  public:
    enum class Writes { in_this_thread, in_background };

    explicit ReportFile(ByteSink& sink, Writes writes = Writes::in_this_thread);
    ~ReportFile() override = default;

    void put_record(std::string_view record, bool hold) override;
    // Waits until the buffers handed to the sink so far are written; raises the write
    // diagnostic if one of them failed. (In the calling thread they already are.)
    void settle();
    // Writes out whatever is buffered and waits for it. Raises the write diagnostic if
    // the sink fails.
    void close();

  private:
    // The background's buffers are the size of the one in this thread, so that both
    // write at the same records; sixteen of them let the writer fall 1 MiB behind.
    static constexpr std::size_t kBufferSize = 1 << 16;
    static constexpr std::size_t kBackgroundChunks = 16;

    ByteSink& sink_;
    std::unique_ptr<char[]> own_buffer_;       // when writing in this thread
    std::unique_ptr<BackgroundWriter> writer_; // when writing in the background
    char* buffer_;
    std::size_t capacity_;
    std::size_t size_ = 0; // bytes buffered
    bool failed_ = false;  // a write in this thread failed: the report ends there

    void put_long_record(std::string_view record);
    void write_here(const char* bytes, std::size_t n);
    void flush();
};

} // namespace tessen
