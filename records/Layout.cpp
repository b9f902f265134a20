#include "records/Layout.hpp"

#include <cctype>
#include <stdexcept>

namespace tessen {

namespace {

// Unrolling stops well short of anything a layout of this program needs.
constexpr std::size_t kMaxItems = 100000;

// Recursive-descent parser of the layout notation. Blanks mean nothing.
class LayoutParser {
  public:
    explicit LayoutParser(std::string_view s) : s_(s) {}

    void parse(std::vector<LayoutItem>& items, std::size_t& reversion, bool& holds_line) {
        expect('(');
        parse_list(items, 0, &reversion, &holds_line);
        expect(')');
        skip_blanks();
        if (pos_ != s_.size())
            fail("text after the closing parenthesis");
    }

  private:
    std::string_view s_;
    std::size_t pos_ = 0;

    [[noreturn]] void fail(const char* what) const {
        throw std::logic_error("layout " + std::string(s_) + ": " + what);
    }

    void skip_blanks() {
        while (pos_ < s_.size() && s_[pos_] == ' ')
            ++pos_;
    }
    char peek() {
        skip_blanks();
        return pos_ < s_.size() ? s_[pos_] : '\0';
    }
    void expect(char c) {
        if (peek() != c)
            fail("unexpected character");
        ++pos_;
    }
    bool digit_next() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }
    int number() {
        if (!digit_next())
            fail("number expected");
        int n = 0;
        while (digit_next()) {
            n = n * 10 + (s_[pos_++] - '0');
            if (n > 100000)
                fail("number too large");
        }
        return n;
    }

    // Items up to the closing parenthesis of the current group. At depth 0 the start of
    // the last group is the reversion point, and a trailing backslash holds the line.
    void parse_list(std::vector<LayoutItem>& out, int depth, std::size_t* reversion,
                    bool* holds_line) {
        while (true) {
            char c = peek();
            if (c == ')')
                return;
            if (c == '\\') {
                if (depth != 0)
                    fail("backslash inside a group");
                ++pos_;
                *holds_line = true;
                if (peek() != ')')
                    fail("backslash must be the last item");
                return;
            }
            parse_item(out, depth, reversion);
            c = peek();
            if (c == ',')
                ++pos_;
            else if (c != ')' && c != '\\')
                fail("comma expected");
        }
    }

    void parse_item(std::vector<LayoutItem>& out, int depth, std::size_t* reversion) {
        if (peek() == '/') {
            ++pos_;
            out.push_back({LayoutItem::Kind::slash});
            return;
        }
        if (peek() == '\'') {
            out.push_back(parse_literal());
            return;
        }
        int repeat = digit_next() ? number() : 1;
        char c = peek();
        if (c == '(') {
            if (depth == 0)
                *reversion = out.size();
            ++pos_;
            std::vector<LayoutItem> group;
            parse_list(group, depth + 1, nullptr, nullptr);
            expect(')');
            append_repeated(out, group, repeat);
            return;
        }
        if (c == 'X' || c == 'x') {
            ++pos_;
            out.push_back({LayoutItem::Kind::skip, repeat});
            return;
        }
        append_repeated(out, {parse_data_item()}, repeat);
    }

    LayoutItem parse_data_item() {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(peek())));
        ++pos_;
        if (c == 'A')
            return {LayoutItem::Kind::text};
        if (c == 'I')
            return {LayoutItem::Kind::integer, number()};
        if (c == 'F') {
            int w = number();
            expect('.');
            return {LayoutItem::Kind::real, w, number()};
        }
        fail("unknown item");
    }

    LayoutItem parse_literal() {
        ++pos_; // opening apostrophe; blanks inside the literal count
        std::string text;
        while (true) {
            if (pos_ >= s_.size())
                fail("unterminated literal");
            char c = s_[pos_++];
            if (c == '\'') {
                if (pos_ < s_.size() && s_[pos_] == '\'') {
                    text += '\'';
                    ++pos_;
                    continue;
                }
                break;
            }
            text += c;
        }
        return {LayoutItem::Kind::literal, 0, 0, text};
    }

    void append_repeated(std::vector<LayoutItem>& out, const std::vector<LayoutItem>& items,
                         int repeat) {
        if (repeat < 1)
            fail("repeat count below 1");
        for (int r = 0; r < repeat; ++r) {
            if (out.size() + items.size() > kMaxItems)
                fail("layout too long");
            out.insert(out.end(), items.begin(), items.end());
        }
    }
};

} // namespace

Layout::Layout(std::string_view notation) {
    LayoutParser(notation).parse(items_, reversion_, holds_line_);
    for (const auto& item : items_)
        has_data_ = has_data_ || item.is_data();
    plan_ = RecordPlan::of(items_, reversion_);
}

} // namespace tessen
