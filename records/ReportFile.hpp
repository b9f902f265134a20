#pragma once

#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"

#include <cstddef>
#include <memory>
#include <string_view>

namespace tessen {

// The report's bytes: every record as laid out, followed by CR LF, gathered in a buffer
// of fixed size that goes to the sink each time it is full, and at the close. Every write
// but the last is of a full buffer, wherever the records fall. After a failed write
// nothing more reaches the sink: what came after it would follow a hole.
class ReportFile : public RecordSink {
  public:
    static constexpr std::size_t kBufferSize = 1 << 16;

    explicit ReportFile(ByteSink& sink, std::size_t buffer_size = kBufferSize);

    void put_record(std::string_view record, bool hold) override;
    // Bytes already laid out as records with their line ends (a chunk of records laid out
    // elsewhere). followed: more bytes come after them, so that a whole buffer of them,
    // arriving with this buffer empty, is written from where it lies, as it would be at
    // the next byte.
    void put_bytes(std::string_view bytes, bool followed = false);
    // Writes out whatever is buffered. Raises a failed write.
    void close();

  private:
    ByteSink& sink_;
    const std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0; // bytes buffered
    bool failed_ = false;  // a write failed: nothing more is written

    void put_bytes_across(std::string_view bytes);
    void flush();
    void write_out(const char* bytes, std::size_t n);
};

} // namespace tessen
