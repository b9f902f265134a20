#pragma once

#include <string>
#include <utility>

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

} // namespace tessen
