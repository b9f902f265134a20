#include "records/NumericInput.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <iterator>
#include <optional>
#include <type_traits>

namespace tessen {
namespace {

constexpr char kEndOfDeckMark = 26; // Ctrl-Z
constexpr int kUsedDigits = 25;     // significant digits that take part in a real
// Exponents are held at this magnitude: any larger one gives the same outcome (overflow
// or zero).
constexpr std::int64_t kExponentCap = 1'000'000'000;
// Decimal exponents X of 0.D1D2... * 10^X outside this range are decided without
// conversion: from 10^39 on a magnitude is beyond single precision, below 10^-46 it is
// less than half the smallest subnormal.
constexpr std::int64_t kMaxDecimalExponent = 39;
constexpr std::int64_t kMinDecimalExponent = -46;

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_sign(char c) {
    return c == '+' || c == '-';
}
bool is_exponent_letter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// The columns of one field and whether a Ctrl-Z stands among them.
struct Field {
    std::string_view text;
    bool end_of_deck = false;
};

// Takes the next w columns from pos on, stopping early at the end of the record, before
// a carriage return or line feed, or at a comma, which is consumed. pos moves past what
// was taken.
Field take_field(std::string_view record, std::size_t& pos, int w) {
    Field field;
    if (pos >= record.size() || w <= 0) {
        return field;
    }
    const std::size_t start = pos;
    const std::size_t limit = start + std::min(record.size() - start, static_cast<std::size_t>(w));
    std::size_t end = start;
    for (; end < limit; ++end) {
        const char c = record[end];
        if (c == '\r' || c == '\n') {
            break;
        }
        if (c == ',') {
            pos = end + 1;
            field.text = record.substr(start, end - start);
            return field;
        }
        if (c == kEndOfDeckMark) {
            field.end_of_deck = true;
        }
    }
    pos = end;
    field.text = record.substr(start, end - start);
    return field;
}

// Walks the characters of a field that count: blanks and tabs are passed over.
class FieldCursor {
  public:
    explicit FieldCursor(std::string_view text) : text_(text) { skip_blanks(); }

    bool at_end() const { return at_ == text_.size(); }
    char peek() const { return text_[at_]; }
    void advance() {
        ++at_;
        skip_blanks();
    }
    // Takes a leading "+" or "-"; true for "-".
    bool take_sign() {
        if (at_end() || !is_sign(peek())) {
            return false;
        }
        const bool negative = peek() == '-';
        advance();
        return negative;
    }

  private:
    void skip_blanks() {
        while (at_ < text_.size() && is_blank(text_[at_])) {
            ++at_;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Reads one or more digits up to the end of the field, saturating at cap. False when a
// non-digit follows or there is no digit at all.
bool take_digits_to_end(FieldCursor& cursor, std::int64_t cap, std::int64_t& value) {
    if (cursor.at_end()) {
        return false;
    }
    value = 0;
    for (; !cursor.at_end(); cursor.advance()) {
        if (!is_digit(cursor.peek())) {
            return false;
        }
        value = std::min(value * 10 + (cursor.peek() - '0'), cap);
    }
    return true;
}

FieldStatus parse_int(std::string_view text, std::int32_t& value) {
    FieldCursor cursor(text);
    if (cursor.at_end()) {
        value = 0;
        return FieldStatus::ok;
    }
    const bool negative = cursor.take_sign();
    constexpr std::int64_t kLimit = std::int64_t{1} << 31; // magnitude of INT32_MIN
    std::int64_t magnitude = 0;
    if (!take_digits_to_end(cursor, kLimit + 1, magnitude)) {
        return FieldStatus::bad_character;
    }
    if (magnitude > (negative ? kLimit : kLimit - 1)) {
        return FieldStatus::overflow;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return FieldStatus::ok;
}

// A real field as read: sign * S * 10^scale, S the integer of the first (at most 25)
// significant digits.
struct DecimalNumber {
    bool negative = false;
    char digits[kUsedDigits] = {};
    int count = 0;
    std::int64_t scale = 0;

    void add_digit(char c, bool after_point) {
        if (count == 0 && c == '0') { // a leading zero only places the point
            scale -= after_point ? 1 : 0;
        } else if (count < kUsedDigits) {
            digits[count++] = c;
            scale -= after_point ? 1 : 0;
        } else { // beyond the used digits: a zero in its place
            scale += after_point ? 0 : 1;
        }
    }
};

// Sign, digits with at most one point; without a point the digits get d implied
// decimals. False when there is no digit.
bool take_mantissa(FieldCursor& cursor, int d, DecimalNumber& number) {
    number.negative = cursor.take_sign();
    bool point = false;
    bool any_digit = false;
    for (; !cursor.at_end(); cursor.advance()) {
        const char c = cursor.peek();
        if (is_digit(c)) {
            number.add_digit(c, point);
            any_digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!point) {
        number.scale -= d;
    }
    return any_digit;
}

// The optional exponent: a letter E, e, D or d with an optional sign, or a sign alone,
// then digits to the end of the field. False for anything else.
bool take_exponent(FieldCursor& cursor, std::int64_t& exponent) {
    exponent = 0;
    if (cursor.at_end()) {
        return true;
    }
    const char c = cursor.peek();
    if (!is_exponent_letter(c) && !is_sign(c)) {
        return false;
    }
    if (is_exponent_letter(c)) {
        cursor.advance();
    }
    const bool negative = cursor.take_sign();
    if (!take_digits_to_end(cursor, kExponentCap, exponent)) {
        return false;
    }
    exponent = negative ? -exponent : exponent;
    return true;
}

// Decimal exponents X of 0.D1D2... * 10^X outside [min, max] are decided without
// conversion: overflow above, zero below. The deck's reals are single precision; a report
// read back by a companion is read into double precision.
template <typename Real> struct DecimalRange;
template <> struct DecimalRange<float> {
    static constexpr std::int64_t max = kMaxDecimalExponent;
    static constexpr std::int64_t min = kMinDecimalExponent;
};
template <> struct DecimalRange<double> {
    static constexpr std::int64_t max = 310;
    static constexpr std::int64_t min = -325;
};

template <typename Real> Real signed_zero(bool negative) {
    return negative ? -Real(0) : Real(0);
}

// Converts once to the nearest value of the type through the canonical text
// "<digits>e<scale>".
template <typename Real> FieldStatus to_real(const DecimalNumber& number, Real& value) {
    if (number.count == 0) {
        value = signed_zero<Real>(number.negative);
        return FieldStatus::ok;
    }
    const std::int64_t decimal_exponent = number.scale + number.count;
    if (decimal_exponent > DecimalRange<Real>::max) {
        return FieldStatus::overflow;
    }
    if (decimal_exponent < DecimalRange<Real>::min) {
        value = signed_zero<Real>(number.negative);
        return FieldStatus::ok;
    }
    char text[kUsedDigits + 8];
    char* end = std::copy(number.digits, number.digits + number.count, text);
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, number.scale).ptr;
    Real magnitude = 0;
    if (std::from_chars(text, end, magnitude).ec == std::errc::result_out_of_range) {
        // Out of range is either beyond the largest value or below half the smallest.
        if (decimal_exponent > 0) {
            return FieldStatus::overflow;
        }
        magnitude = 0;
    }
    value = number.negative ? -magnitude : magnitude;
    return FieldStatus::ok;
}

template <typename Real> FieldStatus parse_real(std::string_view text, int d, Real& value) {
    FieldCursor cursor(text);
    if (cursor.at_end()) {
        value = 0;
        return FieldStatus::ok;
    }
    DecimalNumber number;
    std::int64_t exponent = 0;
    if (!take_mantissa(cursor, d, number) || !take_exponent(cursor, exponent)) {
        return FieldStatus::bad_character;
    }
    number.scale += exponent;
    return to_real(number, value);
}

template <typename Real>
FieldStatus read_real(std::string_view record, std::size_t& pos, int w, int d, Real& value) {
    const Field field = take_field(record, pos, w);
    if (field.end_of_deck) {
        return FieldStatus::end_of_deck;
    }
    return parse_real(field.text, d, value);
}

// ---- The shortcut for the common field ------------------------------------------------
//
// Most fields of a deck are leading blanks, an optional sign, digits with an optional
// point, and perhaps trailing blanks. Such a field is read in one pass; any other field
// (a tab, an inner blank, an exponent, a comma, a carriage return, a Ctrl-Z, no digit at
// all, more columns than the shortcut takes) is left to the general reader above, whose
// outcome the shortcut reproduces bit for bit.

// Fields of at most 19 columns: their digits fit in 64 bits.
constexpr int kPlainRealWidth = 19;
// Fields of at most 9 columns: their magnitude is below 10^9, inside the 32-bit range.
constexpr int kPlainIntWidth = 9;

// The columns of a plain field: pos to the end of the field, w columns at most and no
// further than the end of the record. Null when the field is not for the shortcut.
struct PlainColumns {
    const char* at = nullptr;
    const char* end = nullptr;
};

PlainColumns plain_columns(std::string_view record, std::size_t pos, int w, int max_width) {
    if (w <= 0 || w > max_width || pos >= record.size()) {
        return {};
    }
    const std::size_t n = std::min(record.size() - pos, static_cast<std::size_t>(w));
    return {record.data() + pos, record.data() + pos + n};
}

const char* skip_spaces(const char* at, const char* end) {
    while (at != end && *at == ' ') {
        ++at;
    }
    return at;
}

const char* take_plain_digits(const char* at, const char* end, std::uint64_t& value) {
    for (; at != end && is_digit(*at); ++at) {
        value = value * 10 + static_cast<std::uint64_t>(*at - '0');
    }
    return at;
}

// A plain field opened: past its leading blanks, its sign and the digits that follow.
// digits: where those digits begin; at: past them; leading: their value. blank: nothing
// but blanks (the value is zero); next_pos: the column after the field.
struct PlainStart {
    const char* digits;
    const char* at;
    const char* end;
    std::uint64_t leading;
    std::size_t next_pos;
    bool blank;
    bool negative;
};

// The field's start, or nothing when the field is not one for the plain readers.
std::optional<PlainStart> start_plain_field(std::string_view record, std::size_t pos, int w,
                                            int max_width) {
    const PlainColumns field = plain_columns(record, pos, w, max_width);
    if (field.at == nullptr) {
        return std::nullopt;
    }
    const char* at = skip_spaces(field.at, field.end);
    const auto next_pos = static_cast<std::size_t>(field.end - record.data());
    if (at == field.end) {
        return PlainStart{at, at, field.end, 0, next_pos, true, false};
    }
    const bool negative = *at == '-';
    at += negative || *at == '+' ? 1 : 0;
    std::uint64_t leading = 0;
    const char* past = take_plain_digits(at, field.end, leading);
    return PlainStart{at, past, field.end, leading, next_pos, false, negative};
}

// An all-blank field: zero.
template <typename Value>
FieldStatus read_blank_field(const PlainStart& field, std::size_t& pos, Value& value) {
    pos = field.next_pos;
    value = 0;
    return FieldStatus::ok;
}

// Conversion without rounding twice (Clinger): an integer significand that the type holds
// exactly, times or divided by a power of ten that it holds exactly, is one IEEE operation
// and so correctly rounded. The arithmetic is done in the type itself.
template <typename Real> struct ExactPowers;
template <> struct ExactPowers<float> {
    static constexpr std::uint64_t max_significand = std::uint64_t{1} << 24;
    static constexpr float powers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                       1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
};
template <> struct ExactPowers<double> {
    static constexpr std::uint64_t max_significand = std::uint64_t{1} << 53;
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
};

// significand * 10^scale rounded once to the nearest float by way of double precision;
// false when that way cannot promise it (the caller converts otherwise).
//
// With the significand below 2^53 and |scale| at most 22 both operands are exact doubles, so
// q = significand * or / 10^|scale| is RN53(v), the double nearest to the decimal value v.
// Rounding q to float gives RN24(v), the float nearest to v, unless q is itself a float
// midpoint (a value halfway between two adjacent floats):
//   Every float and every float midpoint of the normal range has at most 25 significant
//   bits and is a double. Let M1 < M2 be the adjacent midpoints around the float f, so that
//   RN24 maps the open interval (M1, M2) to f. If v lies in it, then M1 <= q <= M2, since
//   RN53 is monotonic and leaves the doubles M1 and M2 as they are. When q is neither M1 nor
//   M2 it lies inside (M1, M2) as well and float(q) = f = RN24(v). When v is a midpoint M,
//   q = M exactly: a midpoint, refused.
//   So when q is not a midpoint, float(q) = RN24(v).
// A double q is a float midpoint when its 53-bit significand ends in the 29 bits 1 followed
// by 28 zeros: the 24 bits a float keeps, then exactly one half of the last of them. That
// holds for normal floats only, so q must lie well inside the normal range of floats (no
// subnormal result, no overflow): the check costs two comparisons where the bounds of
// significand and scale already keep q within 10^-22 and 2^53 * 10^22.
bool float_by_double(std::uint64_t significand, std::int64_t scale, float& magnitude) {
    constexpr auto max_power =
        static_cast<std::int64_t>(std::size(ExactPowers<double>::powers)) - 1;
    if (significand > ExactPowers<double>::max_significand || scale < -max_power ||
        scale > max_power) {
        return false;
    }
    const auto s = static_cast<double>(significand);
    const double q = scale < 0 ? s / ExactPowers<double>::powers[-scale]
                               : s * ExactPowers<double>::powers[scale];
    constexpr std::uint64_t kDroppedBits = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 28;
    if (!(q >= 0x1p-125 && q <= 0x1p127) ||
        (std::bit_cast<std::uint64_t>(q) & kDroppedBits) == kHalf) {
        return false;
    }
    magnitude = static_cast<float>(q);
    return true;
}

// Converts the whole text by from_chars; false when it stops short or is out of range.
template <typename Real> bool from_chars_whole(std::string_view text, Real& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// sign * significand * 10^scale, significand not zero, rounded once to the nearest value of
// the type, as the general reader rounds it. number is the field's digits with their point,
// or empty when the field has none (its decimals are implied).
template <typename Real>
FieldStatus convert_plain(bool negative, std::uint64_t significand, std::int64_t scale,
                          std::string_view number, Real& value) {
    using Powers = ExactPowers<Real>;
    constexpr auto max_power = static_cast<std::int64_t>(std::size(Powers::powers)) - 1;
    while (significand > Powers::max_significand && significand % 10 == 0) {
        significand /= 10;
        ++scale;
    }
    Real magnitude = 0;
    bool converted = false;
    if (significand <= Powers::max_significand && scale >= -max_power && scale <= max_power) {
        const Real s = static_cast<Real>(significand);
        magnitude = scale < 0 ? s / Powers::powers[-scale] : s * Powers::powers[scale];
        converted = true;
    } else if constexpr (std::is_same_v<Real, float>) {
        converted = float_by_double(significand, scale, magnitude);
    }
    if (!converted && (number.empty() || !from_chars_whole(number, magnitude))) {
        // Implied decimals: the general conversion with its range checks. (A number with a
        // point has at most 19 digits here and is always within range.)
        DecimalNumber decimal;
        decimal.negative = negative;
        decimal.count = static_cast<int>(
            std::to_chars(decimal.digits, decimal.digits + kUsedDigits, significand).ptr -
            decimal.digits);
        decimal.scale = scale;
        return to_real(decimal, value);
    }
    value = negative ? -magnitude : magnitude;
    return FieldStatus::ok;
}

// The status of a plain real field, or nothing when the field is for the general reader
// (pos and value are then untouched).
template <typename Real>
std::optional<FieldStatus> read_plain_real(std::string_view record, std::size_t& pos, int w, int d,
                                           Real& value) {
    const std::optional<PlainStart> field = start_plain_field(record, pos, w, kPlainRealWidth);
    if (!field) {
        return std::nullopt;
    }
    if (field->blank) {
        return read_blank_field(*field, pos, value);
    }
    const bool negative = field->negative;
    const char* digits = field->digits;
    const char* at = field->at;
    std::uint64_t significand = field->leading;
    std::int64_t scale = -static_cast<std::int64_t>(d);
    std::ptrdiff_t digit_count = at - digits;
    bool point = false;
    if (at != field->end && *at == '.') {
        const char* fraction = ++at;
        at = take_plain_digits(at, field->end, significand);
        scale = -(at - fraction);
        digit_count += at - fraction;
        point = true;
    }
    if (digit_count == 0 || skip_spaces(at, field->end) != field->end) {
        return std::nullopt;
    }
    pos = field->next_pos;
    if (significand == 0) {
        value = signed_zero<Real>(negative);
        return FieldStatus::ok;
    }
    const std::string_view number(digits, point ? static_cast<std::size_t>(at - digits) : 0);
    return convert_plain(negative, significand, scale, number, value);
}

std::optional<FieldStatus> read_plain_int(std::string_view record, std::size_t& pos, int w,
                                          std::int32_t& value) {
    const std::optional<PlainStart> field = start_plain_field(record, pos, w, kPlainIntWidth);
    if (!field) {
        return std::nullopt;
    }
    if (field->blank) {
        return read_blank_field(*field, pos, value);
    }
    if (field->at == field->digits || skip_spaces(field->at, field->end) != field->end) {
        return std::nullopt;
    }
    pos = field->next_pos;
    const auto m = static_cast<std::int32_t>(field->leading);
    value = field->negative ? -m : m;
    return FieldStatus::ok;
}

} // namespace

FieldStatus read_int_field(std::string_view record, std::size_t& pos, int w, std::int32_t& value) {
    if (const std::optional<FieldStatus> status = read_plain_int(record, pos, w, value)) {
        return *status;
    }
    return detail::read_int_field_general(record, pos, w, value);
}

FieldStatus read_real_field(std::string_view record, std::size_t& pos, int w, int d, float& value) {
    if (const std::optional<FieldStatus> status = read_plain_real(record, pos, w, d, value)) {
        return *status;
    }
    return read_real(record, pos, w, d, value);
}

FieldStatus read_real_field(std::string_view record, std::size_t& pos, int w, int d,
                            double& value) {
    if (const std::optional<FieldStatus> status = read_plain_real(record, pos, w, d, value)) {
        return *status;
    }
    return read_real(record, pos, w, d, value);
}

namespace detail {

FieldStatus read_int_field_general(std::string_view record, std::size_t& pos, int w,
                                   std::int32_t& value) {
    const Field field = take_field(record, pos, w);
    if (field.end_of_deck) {
        return FieldStatus::end_of_deck;
    }
    return parse_int(field.text, value);
}

FieldStatus read_real_field_general(std::string_view record, std::size_t& pos, int w, int d,
                                    float& value) {
    return read_real(record, pos, w, d, value);
}

FieldStatus read_real_field_general(std::string_view record, std::size_t& pos, int w, int d,
                                    double& value) {
    return read_real(record, pos, w, d, value);
}

} // namespace detail

} // namespace tessen
