#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessen {

// One item of a parsed layout. Repeat counts and groups are unrolled when the layout is
// parsed, so a walk is a straight pass over the items.
struct LayoutItem {
    enum class Kind {
        integer, // Iw
        real,    // Fw.d
        text,    // A
        skip,    // nX
        literal, // 'text'
        slash,   // /
    };
    LayoutItem(Kind k, int w = 0, int d = 0, std::string t = {})
        : kind(k), width(w), decimals(d), text(std::move(t)) {}

    Kind kind;
    int width = 0;    // Iw, Fw.d: the field width; nX: n
    int decimals = 0; // Fw.d: d
    std::string text; // 'text'

    bool is_data() const {
        return kind == Kind::integer || kind == Kind::real || kind == Kind::text;
    }
};

// A record layout such as "(4I3,4F12.6)" or "(1X,'ATOM',I3,/,(1X,8(F9.6,1X)))",
// parsed once. When values remain at the closing parenthesis the walk goes on in a new
// record from the reversion point: the opening of the last group that stands directly
// inside the outer parentheses, or the beginning when there is none.
class Layout {
  public:
    // Parses the notation; a malformed layout is a fault of the program itself and
    // throws std::logic_error.
    explicit Layout(std::string_view notation);

    const std::vector<LayoutItem>& items() const { return items_; }
    std::size_t reversion_point() const { return reversion_; }
    // A trailing backslash: the console keeps the line open after this record.
    bool holds_line() const { return holds_line_; }
    bool has_data() const { return has_data_; }

  private:
    std::vector<LayoutItem> items_;
    std::size_t reversion_ = 0;
    bool holds_line_ = false;
    bool has_data_ = false;
};

} // namespace tessen
