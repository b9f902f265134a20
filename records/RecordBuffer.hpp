#pragma once

#include "records/RealOutput.hpp"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace tessen {

// A record under construction: characters at the end of which the field editors write
// in place. Unlike std::string it does not fill what it grows by before the editors
// overwrite it. Its first kInlineCapacity characters live inside the object, so that a
// writer can own one without allocating: every record of the report fits there (the
// longest is a title of 80 characters), and only a longer one moves to the heap.
class RecordBuffer {
  public:
    RecordBuffer() = default;
    RecordBuffer(const RecordBuffer&) = delete;
    RecordBuffer& operator=(const RecordBuffer&) = delete;

    // n more characters at the end, for the caller to fill, every one of them.
    char* extend(std::size_t n) {
        if (capacity_ - size_ < n)
            grow(n);
        char* at = data_ + size_;
        size_ += n;
        return at;
    }

    // blanks blank characters and then n more for the caller to fill, every one of
    // them; returns where those n begin. A few blanks (the usual 1X or 2X before a
    // field) are placed with one eight-byte store into the slack past the end.
    char* extend_after_blanks(std::size_t blanks, std::size_t n) {
        char* at = extend(blanks + n);
        if (blanks <= sizeof kBlanks)
            std::memcpy(at, kBlanks, sizeof kBlanks);
        else
            std::memset(at, ' ', blanks);
        return at + blanks;
    }

    void append(std::string_view text) {
        // An empty view may have no data at all, and memcpy must not be given a null
        // pointer, not even for no bytes.
        if (!text.empty())
            std::memcpy(extend(text.size()), text.data(), text.size());
    }

    std::string_view view() const { return {data_, size_}; }
    // Where the record lies: valid until the record next grows.
    char* data() { return data_; }
    void clear() { size_ = 0; }

  private:
    static constexpr std::size_t kInlineCapacity = 256;
    // Bytes past the capacity, which extend_after_blanks and the field editors may write
    // (a real field is stored with whole words, see edit_real_in_slack).
    static constexpr std::size_t kSlack = kRealFieldSlack;
    static constexpr char kBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};

    char inline_[kInlineCapacity + kSlack];
    std::unique_ptr<char[]> heap_; // once the record has outgrown inline_
    char* data_ = inline_;
    std::size_t size_ = 0;
    std::size_t capacity_ = kInlineCapacity;
    // Room for at least n more characters, keeping those written. Out of line: it runs
    // only until the longest record has been seen.
    void grow(std::size_t n);
};

} // namespace tessen
