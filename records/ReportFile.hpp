#pragma once

#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"

#include <string>

namespace tessen {

// The report: every record as laid out, followed by CR LF, gathered in a buffer that
// reaches the sink when it fills and when the report is closed.
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
    std::string buffer_;

    void flush();
};

} // namespace tessen
