#include "records/ReportFile.hpp"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace tessen {

namespace {
constexpr char kLineEnd[2] = {'\r', '\n'};
} // namespace

ReportFile::ReportFile(ByteSink& sink, Writes writes) : sink_(sink) {
    if (writes == Writes::in_background) {
        try {
            writer_ =
                std::make_unique<BackgroundWriter>(sink, kBackgroundChunkSize, kBackgroundChunks);
        } catch (const std::system_error&) {
            // No thread to be had (a limit on processes, say): the report is written in
            // this thread, with the same bytes.
        }
    }
    if (writer_) {
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
        put_bytes_across(record);
        put_bytes_across({kLineEnd, sizeof kLineEnd});
        return;
    }
    char* at = buffer_ + size_;
    if (n != 0) // an empty view may have no data at all, which memcpy must not be given
        std::memcpy(at, record.data(), n);
    std::memcpy(at + n, kLineEnd, sizeof kLineEnd);
    size_ += n + sizeof kLineEnd;
}

void ReportFile::put_bytes(std::string_view bytes, bool followed) {
    if (followed && size_ == 0 && bytes.size() == capacity_ && !writer_) {
        write_out(bytes.data(), bytes.size());
        return;
    }
    if (capacity_ - size_ >= bytes.size()) {
        if (!bytes.empty())
            std::memcpy(buffer_ + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
        return;
    }
    put_bytes_across(bytes);
}

// Fills the buffer up and sends it on as often as the bytes need: every write but the
// last is of a full buffer, wherever the records fall.
void ReportFile::put_bytes_across(std::string_view bytes) {
    while (!bytes.empty()) {
        if (size_ == capacity_)
            flush();
        const std::size_t n = std::min(bytes.size(), capacity_ - size_);
        std::memcpy(buffer_ + size_, bytes.data(), n);
        size_ += n;
        bytes.remove_prefix(n);
    }
}

// In the background a section goes to the writer thread, after the bytes put before it,
// unless that thread is behind: then it is written here, into the buffer. The bytes are
// the same either way.
void ReportFile::write_section(Section section, std::size_t records) {
    if (!writer_ || is_behind(writer_->backlog())) {
        section.write(*this);
        return;
    }
    add_segment(false, false);
    batch_.push_back({nullptr, 0, 0, false, false, std::move(section), records});
    if (++batch_sections_ >= kBatchSections || records >= kRecordsWorthAThread) {
        hand_over_batch();
        writer_->raise_failure();
    }
}

bool ReportFile::is_behind(BackgroundWriter::Backlog backlog) {
    return backlog.sections >= kSectionsBehind || backlog.records >= kRecordsBehind;
}

void ReportFile::hand_over_sections() {
    if (writer_ && batch_sections_ != 0) {
        add_segment(false, false);
        hand_over_batch();
    }
}

// Everything put so far goes to the writer thread first: a write that fails there,
// brought on by a byte put before now, is raised, as it would have been in one thread.
void ReportFile::settle() {
    if (!writer_)
        return;
    hand_over_buffer(false);
    writer_->settle();
}

void ReportFile::close() {
    if (!writer_) {
        if (size_ != 0)
            flush();
        return;
    }
    hand_over_buffer(false);
    writer_->close();
}

// In this thread the buffer is written and emptied; in the background it is handed
// over, full, with more bytes to come.
void ReportFile::flush() {
    if (!writer_) {
        const std::size_t n = size_;
        size_ = 0;
        write_out(buffer_, n);
        return;
    }
    hand_over_buffer(true);
    writer_->raise_failure();
}

// The bytes are given up whether the write succeeds or fails: a failed write may have
// put out part of them, and no byte may reach the report twice. After a failed write
// nothing more is written: what came after it would follow a hole.
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

// The bytes put since the last piece, as a piece of the batch.
void ReportFile::add_segment(bool releases_chunk, bool followed) {
    if (size_ > segment_start_ || releases_chunk)
        batch_.push_back({buffer_, segment_start_, size_, releases_chunk, followed, {}, 0});
    segment_start_ = size_;
}

void ReportFile::hand_over_batch() {
    writer_->hand_over(batch_);
    batch_sections_ = 0;
}

// The buffer, with the batch before it, goes to the background and an empty one takes
// its place, before any fault is raised: the buffer in use is never one the writer holds.
void ReportFile::hand_over_buffer(bool followed) {
    add_segment(true, followed);
    hand_over_batch();
    size_ = 0;
    segment_start_ = 0;
    buffer_ = writer_->take_empty();
}

} // namespace tessen
