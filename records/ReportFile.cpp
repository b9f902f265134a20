#include "records/ReportFile.hpp"

namespace tessen {

ReportFile::ReportFile(ByteSink& sink) : sink_(sink) {
    buffer_.reserve(kBufferSize);
}

void ReportFile::put_record(std::string_view record, bool /*hold*/) {
    if (buffer_.size() + record.size() + 2 > kBufferSize && !buffer_.empty())
        flush();
    buffer_ += record;
    buffer_ += "\r\n";
}

void ReportFile::close() {
    if (!buffer_.empty())
        flush();
}

// The buffer is emptied whether the write succeeds or fails: a failed write may have put
// out part of it, and no byte may reach the report twice.
void ReportFile::flush() {
    try {
        sink_.write(buffer_.data(), buffer_.size());
    } catch (...) {
        buffer_.clear();
        throw;
    }
    buffer_.clear();
}

} // namespace tessen
