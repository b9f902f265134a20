#include "records/InputDeck.hpp"

#include <algorithm>
#include <cstring>
#include <string>

namespace tessen {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
} // namespace

InputDeck::InputDeck(ByteSource& source, std::string name)
    : source_(source), name_(std::move(name)), buffer_(kBufferSize) {
    record_.reserve(kMaxRecordLength);
}

void InputDeck::fail(ErrorKind kind) const {
    RunError error(kind, {}, FileOp::read, name_);
    error.locate(kind == ErrorKind::end_of_file ? line_ + 1 : line_);
    throw error;
}

void InputDeck::fail_at_field(ErrorKind kind, std::size_t start, std::size_t width,
                              std::string_view text) const {
    RunError error(kind, {}, FileOp::read, name_);
    error.locate_field(line_, start + 1, start + width, text);
    throw error;
}

void InputDeck::fail_record_too_long() const {
    RunError error(ErrorKind::read_failed,
                   "a record of more than " + std::to_string(kLongestRecord) + " characters",
                   FileOp::read, name_);
    error.locate(line_ + 1);
    throw error;
}

bool InputDeck::refill() {
    if (exhausted_)
        return false;
    begin_ = 0;
    end_ = source_.read(buffer_.data(), buffer_.size());
    exhausted_ = end_ == 0;
    return !exhausted_;
}

// Appends to the record what still fits under the length limit.
void InputDeck::keep(const char* from, std::size_t n) {
    std::size_t room = kMaxRecordLength - std::min(record_.size(), kMaxRecordLength);
    record_.append(from, std::min(n, room));
}

std::string_view InputDeck::next_record() {
    std::optional<std::string_view> record = read_record();
    if (!record)
        fail(ErrorKind::end_of_file);
    return *record;
}

std::optional<std::string_view> InputDeck::read_record() {
    record_.clear();
    std::size_t length = 0; // the characters of the line so far, line feed excluded
    bool any = false;
    while (true) {
        if (begin_ == end_ && !refill()) {
            if (!any)
                return std::nullopt;
            break;
        }
        any = true;
        const char* start = buffer_.data() + begin_;
        std::size_t avail = end_ - begin_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        std::size_t take = lf ? static_cast<std::size_t>(lf - start) : avail;
        keep(start, take);
        begin_ += take;
        length += take;
        if (length > kLongestRecord)
            fail_record_too_long();
        if (lf) {
            ++begin_;
            break;
        }
    }
    ++line_;
    // A carriage return ends what can be read of the record.
    const std::size_t cr = record_.find('\r');
    std::optional<std::size_t> stray_cr;
    if (cr != std::string::npos) {
        if (cr + 1 < record_.size())
            stray_cr = cr;
        record_.resize(cr);
    }
    if (observer_)
        observer_->record_read(line_, record_, stray_cr);
    return std::string_view(record_);
}

} // namespace tessen
