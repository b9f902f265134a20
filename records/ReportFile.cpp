#include "records/ReportFile.hpp"

#include <cstring>

namespace tessen {

namespace {
constexpr char kLineEnd[2] = {'\r', '\n'};
} // namespace

ReportFile::ReportFile(ByteSink& sink)
    : sink_(sink), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

void ReportFile::put_record(std::string_view record, bool /*hold*/) {
    const std::size_t n = record.size();
    if (kBufferSize - size_ < n + sizeof kLineEnd) {
        if (size_ != 0)
            flush();
        if (kBufferSize < n + sizeof kLineEnd) {
            put_long_record(record);
            return;
        }
    }
    char* at = buffer_.get() + size_;
    if (n != 0) // an empty view may have no data at all, which memcpy must not be given
        std::memcpy(at, record.data(), n);
    std::memcpy(at + n, kLineEnd, sizeof kLineEnd);
    size_ += n + sizeof kLineEnd;
}

// Only called with the buffer empty.
void ReportFile::put_long_record(std::string_view record) {
    sink_.write(record.data(), record.size());
    sink_.write(kLineEnd, sizeof kLineEnd);
}

void ReportFile::close() {
    if (size_ != 0)
        flush();
}

// The buffer is emptied whether the write succeeds or fails: a failed write may have put
// out part of it, and no byte may reach the report twice.
void ReportFile::flush() {
    const std::size_t n = size_;
    size_ = 0;
    sink_.write(buffer_.get(), n);
}

} // namespace tessen
