#include "records/ReportFile.hpp"

#include <algorithm>
#include <cstring>

namespace tessen {

namespace {
constexpr char kLineEnd[2] = {'\r', '\n'};
} // namespace

ReportFile::ReportFile(ByteSink& sink, std::size_t buffer_size)
    : sink_(sink), capacity_(buffer_size),
      buffer_(std::make_unique_for_overwrite<char[]>(buffer_size)) {}

void ReportFile::put_record(std::string_view record, bool /*hold*/) {
    const std::size_t n = record.size();
    if (capacity_ - size_ < n + sizeof kLineEnd) {
        put_bytes_across(record);
        put_bytes_across({kLineEnd, sizeof kLineEnd});
        return;
    }
    char* at = buffer_.get() + size_;
    if (n != 0) // an empty view may have no data at all, which memcpy must not be given
        std::memcpy(at, record.data(), n);
    std::memcpy(at + n, kLineEnd, sizeof kLineEnd);
    size_ += n + sizeof kLineEnd;
}

void ReportFile::put_bytes(std::string_view bytes, bool followed) {
    if (followed && size_ == 0 && bytes.size() == capacity_) {
        write_out(bytes.data(), bytes.size());
        return;
    }
    if (capacity_ - size_ >= bytes.size()) {
        if (!bytes.empty())
            std::memcpy(buffer_.get() + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
        return;
    }
    put_bytes_across(bytes);
}

// Fills the buffer up and writes it out as often as the bytes need.
void ReportFile::put_bytes_across(std::string_view bytes) {
    while (!bytes.empty()) {
        if (size_ == capacity_)
            flush();
        const std::size_t n = std::min(bytes.size(), capacity_ - size_);
        std::memcpy(buffer_.get() + size_, bytes.data(), n);
        size_ += n;
        bytes.remove_prefix(n);
    }
}

void ReportFile::close() {
    if (size_ != 0)
        flush();
}

void ReportFile::flush() {
    const std::size_t n = size_;
    size_ = 0;
    write_out(buffer_.get(), n);
}

// The bytes are given up whether the write succeeds or fails: a failed write may have
// put out part of them, and no byte may reach the report twice.
void ReportFile::write_out(const char* bytes, std::size_t n) {
    if (failed_)
        return;
    try {
        sink_.write(bytes, n);
    } catch (...) {
        failed_ = true;
        throw;
    }
}

} // namespace tessen
