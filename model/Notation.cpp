#include "model/Notation.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace tessen::model {

namespace {

// The most significant digits a value is written with when it has no error.
constexpr int kPlainDigits = 10;
// ... and the most decimals, so that a value near 0 is not written to the last bit.
constexpr int kPlainDecimals = 15;

// printf's rounding of one double, into a string as long as the text needs.
std::string formatted(const char* format, int precision, double value) {
    const int length = std::snprintf(nullptr, 0, format, precision, value);
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, precision, value);
    return text;
}

// A value that rounds to zero is written without a sign: "0.000", not "-0.000".
std::string unsigned_zero(std::string text) {
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// The error rounded to two significant digits, as digits (10 to 99) and the power of ten
// of the first one: 0.000337 gives 34 and -4. printf rounds, so 0.0996 gives 10 and -1.
std::pair<int, int> two_digits(double error) {
    const std::string text = formatted("%.*e", 1, error); // "3.4e-04"
    return {(text[0] - '0') * 10 + (text[2] - '0'), std::atoi(text.c_str() + 4)};
}

// Whether an error limits a value to fewer digits than plain_value writes: whether its
// second digit stands left of plain_value's last digit (the tenth significant one, at most
// the fifteenth decimal).
bool error_limits(double value, double error) {
    if (!std::isfinite(error) || error <= 0)
        return false;
    int last_place = -kPlainDecimals;
    if (value != 0) {
        const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
        last_place = std::max(last_place, magnitude - (kPlainDigits - 1));
    }
    return two_digits(error).second - 1 > last_place;
}

} // namespace

std::string plain_value(double value) {
    if (!std::isfinite(value))
        return "-";
    if (value == 0)
        return "0";
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    const int decimals = std::clamp(kPlainDigits - 1 - magnitude, 0, kPlainDecimals);
    std::string text = formatted("%.*f", decimals, value);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return unsigned_zero(text);
}

std::string value_within_error(double value, double error) {
    return error_limits(value, error) ? value_with_error(value, error) : plain_value(value);
}

std::string value_rounded_to_error(double value, double error) {
    const std::string text = value_within_error(value, error);
    return text.substr(0, text.find('('));
}

std::string error_value(double error) {
    if (!std::isfinite(error) || error < 0)
        return "-";
    if (error == 0)
        return "0";
    if (error < 1e-6)
        return formatted("%.*e", 1, error);
    const auto [digits, power] = two_digits(error);
    return formatted("%.*f", std::max(0, 1 - power), digits * std::pow(10.0, power - 1));
}

std::string value_with_error(double value, double error) {
    if (!std::isfinite(value))
        return "-";
    if (!std::isfinite(error) || error <= 0)
        return plain_value(value);
    const auto [digits, power] = two_digits(error);
    const int decimals = 1 - power;
    if (decimals >= 0)
        return unsigned_zero(formatted("%.*f", decimals, value)) + "(" + std::to_string(digits) +
               ")";
    // The error reaches beyond the units: the value is rounded to the error's last digit
    // and both are written in full, with the zeros that stand for the places below it.
    const std::string zeros(static_cast<std::size_t>(-decimals), '0');
    const double rounded = std::nearbyint(value / std::pow(10.0, -decimals));
    const std::string value_text =
        rounded == 0 ? std::string("0") : unsigned_zero(formatted("%.*f", 0, rounded)) + zeros;
    return value_text + "(" + std::to_string(digits) + zeros + ")";
}

} // namespace tessen::model
