#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tessen {

// A text of fixed length, filled out with blanks (names, titles).
template <std::size_t N> struct FixedText {
    std::array<char, N> chars;

    FixedText() { chars.fill(' '); }
    explicit FixedText(std::string_view s) { assign(s); }

    // The first N characters of s, filled out with blanks.
    void assign(std::string_view s) {
        chars.fill(' ');
        for (std::size_t i = 0; i < N && i < s.size(); ++i)
            chars[i] = s[i];
    }
    std::string_view view() const { return {chars.data(), N}; }
    // The text less its trailing blanks.
    std::string trimmed() const {
        std::string_view v = view();
        std::size_t end = v.find_last_not_of(' ');
        return std::string(end == std::string_view::npos ? std::string_view{}
                                                         : v.substr(0, end + 1));
    }
};

} // namespace tessen
