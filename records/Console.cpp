#include "records/Console.hpp"

#include <algorithm>
#include <istream>
#include <ostream>

namespace tessen {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
} // namespace

bool StreamConsoleInput::read_line(std::string& line) {
    return static_cast<bool>(std::getline(in_, line));
}

void Console::show(std::string_view text) {
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void Console::put_record(std::string_view record, bool hold) {
    if (line_held_) {
        // A held prompt is continued by the whole record, first character included.
        show(record);
        line_held_ = false;
    } else {
        char advance = record.empty() ? ' ' : record.front();
        if (advance == '0') {
            show(line_open_ ? "\r\n\r\n" : "\r\n");
        } else if (advance == '1') {
            show("\r\n\f\r \r");
        } else if (advance == '+') {
            show("\r");
        } else if (line_open_) {
            show(kLineEnd);
        }
        if (!record.empty())
            show(record.substr(1));
    }
    line_open_ = true;
    line_held_ = hold;
    out_.flush();
}

int Console::read_text(std::span<char> text) {
    if (line_open_ && !line_held_)
        show(kLineEnd);
    out_.flush();
    std::string line;
    if (!in_.read_line(line)) {
        // No typed line end was shown: the line stays open, but the next record no
        // longer continues it.
        line_held_ = false;
        return 1;
    }
    // A carriage return typed before the line end is no part of the text.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // The typed line end ended the line on the screen.
    line_open_ = false;
    line_held_ = false;
    std::size_t n = std::min(text.size(), line.size());
    std::copy_n(line.data(), n, text.data());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
    return 0;
}

void Console::end_open_line() {
    if (line_open_)
        show(kLineEnd);
    line_open_ = false;
    line_held_ = false;
    out_.flush();
}

void Console::stop_message() {
    end_open_line();
    show("Stop - Program terminated.");
    show(kLineEnd);
    out_.flush();
}

} // namespace tessen
