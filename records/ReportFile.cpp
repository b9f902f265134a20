#include "records/ReportFile.hpp"

#include <cstring>

namespace tessen {

namespace {
constexpr char kLineEnd[2] = {'\r', '\n'};
} // namespace

ReportFile::ReportFile(ByteSink& sink, Writes writes) : sink_(sink) {
    if (writes == Writes::in_background) {
        writer_ = std::make_unique<BackgroundWriter>(sink, kBufferSize, kBackgroundChunks);
        buffer_ = writer_->take_empty();
        capacity_ = writer_->chunk_size();
    } else {
        own_buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
        buffer_ = own_buffer_.get();
        capacity_ = kBufferSize;
    }
}

void ReportFile::put_record(std::string_view record, bool /*hold*/) {
    const std::size_t n = record.size();
    if (capacity_ - size_ < n + sizeof kLineEnd) {
        if (size_ != 0)
            flush();
        if (capacity_ < n + sizeof kLineEnd) {
            put_long_record(record);
            return;
        }
    }
    char* at = buffer_ + size_;
    if (n != 0) // an empty view may have no data at all, which memcpy must not be given
        std::memcpy(at, record.data(), n);
    std::memcpy(at + n, kLineEnd, sizeof kLineEnd);
    size_ += n + sizeof kLineEnd;
}

// A record longer than the buffer, with the buffer empty, goes to the sink on its own,
// then its CR LF.
void ReportFile::put_long_record(std::string_view record) {
    if (writer_) {
        writer_->write_through(record.data(), record.size());
        writer_->write_through(kLineEnd, sizeof kLineEnd);
        return;
    }
    write_here(record.data(), record.size());
    write_here(kLineEnd, sizeof kLineEnd);
}

// A write in this thread; after one has failed nothing more is written, as in the
// background.
void ReportFile::write_here(const char* bytes, std::size_t n) {
    if (failed_)
        return;
    try {
        sink_.write(bytes, n);
    } catch (...) {
        failed_ = true;
        throw;
    }
}

void ReportFile::settle() {
    if (writer_)
        writer_->wait_idle();
}

void ReportFile::close() {
    if (size_ != 0)
        flush();
    settle();
}

// The buffer is emptied whether the write succeeds or fails: a failed write may have put
// out part of it, and no byte may reach the report twice. In the background the full
// buffer is handed over and an empty one taken before a failure is raised, so the
// buffer in use is never one the writer holds.
void ReportFile::flush() {
    const std::size_t n = size_;
    size_ = 0;
    if (!writer_) {
        write_here(buffer_, n);
        return;
    }
    writer_->hand_over(buffer_, n);
    buffer_ = writer_->take_empty();
    writer_->raise_failure();
}

} // namespace tessen
