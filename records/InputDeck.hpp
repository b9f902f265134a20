#pragma once

#include "records/ByteStreams.hpp"
#include "records/Diagnostic.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessen {

// Told of every record the deck reads (a deck checker listens; tessen itself does not).
class RecordObserver {
  public:
    // text is the record's readable text; stray_cr is the column (0-based) of a carriage
    // return that stood inside the line, before other characters, when there was one.
    virtual void record_read(std::size_t line, std::string_view text,
                             std::optional<std::size_t> stray_cr) = 0;

  protected:
    ~RecordObserver() = default;
};

// The input deck as a sequence of records. A record ends at a line feed, and a last line
// without a line feed is a record too. A carriage return ends the record's readable
// text: what follows it up to the line feed is never read (so CR LF and CR CR LF line
// ends read alike, and a title stops at a stray CR). Only the first kMaxRecordLength
// characters of a record are kept: no layout looks further, and a long line must not
// make memory grow. A line of more than kLongestRecord characters is no deck record (a
// stream without line ends, such as /dev/zero, would otherwise be read for ever): it ends
// the read with the read diagnostic at its line.
class InputDeck {
  public:
    static constexpr std::size_t kMaxRecordLength = 4096;
    static constexpr std::size_t kLongestRecord = std::size_t{1} << 20;

    InputDeck(ByteSource& source, std::string name);

    // The next record, valid until the next call. At the end of the deck it raises the
    // end-of-file diagnostic: the deck ended while a read still needed a record.
    std::string_view next_record();

    // The next record, valid until the next call, or nothing at the end of the file: for
    // readers to whom the end is no fault (reports read back).
    std::optional<std::string_view> read_record();

    // Tells observer of every record read from now on (nullptr: nobody).
    void observe(RecordObserver* observer) { observer_ = observer; }

    const std::string& name() const { return name_; }
    // The line of the record read last (1-based, every record counted); 0 before the first.
    std::size_t line() const { return line_; }

    // Raises a diagnostic of the given kind naming this deck (READ(name)) and the line of
    // the record read last; the end of the file names the line that was expected.
    [[noreturn]] void fail(ErrorKind kind) const;
    // Raises a diagnostic for a field of the record read last: its columns (0-based start,
    // width) and its text.
    [[noreturn]] void fail_at_field(ErrorKind kind, std::size_t start, std::size_t width,
                                    std::string_view text) const;

  private:
    ByteSource& source_;
    std::string name_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // unread bytes are buffer_[begin_, end_)
    std::size_t end_ = 0;
    bool exhausted_ = false;
    std::size_t line_ = 0;
    RecordObserver* observer_ = nullptr;
    std::string record_;

    bool refill();
    void keep(const char* from, std::size_t n);
    // The line being read holds more than kLongestRecord characters.
    [[noreturn]] void fail_record_too_long() const;
};

} // namespace tessen
