#pragma once

#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"

#include <cstddef>
#include <memory>
#include <string_view>

namespace tessen {

// The report: every record as laid out, followed by CR LF, gathered in a buffer of fixed
// size that reaches the sink when it fills and when the report is closed. A record too
// long for the buffer goes to the sink on its own, after what was buffered before it.
class ReportFile : public RecordSink {
  public:
    explicit ReportFile(ByteSink& sink);
    ~ReportFile() override = default;

    void put_record(std::string_view record, bool hold) override;
    // Writes out whatever is buffered. Raises the write diagnostic if the sink fails.
    void close();

  private:
    static constexpr std::size_t kBufferSize = 1 << 16;
    ByteSink& sink_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0; // bytes buffered

    void put_long_record(std::string_view record);
    void flush();
};

} // namespace tessen
