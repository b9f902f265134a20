#include "records/ReportFile.hpp"

namespace tessen {

ReportFile::ReportFile(ByteSink& sink) : sink_(sink) {
    buffer_.reserve(kBufferSize);
}

void ReportFile::put_record(std::string_view record, bool /*hold*/) {
    if (buffer_.size() + record.size() + 2 > kBufferSize && !buffer_.empty()) {
        sink_.write(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    buffer_ += record;
    buffer_ += "\r\n";
}

void ReportFile::close() {
    if (buffer_.empty())
        return;
    std::string pending;
    pending.swap(buffer_); // nothing is written twice, even if the write fails
    sink_.write(pending.data(), pending.size());
}

} // namespace tessen
