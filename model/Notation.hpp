#pragma once

#include <string>

namespace tessen::model {

// A value with its standard error in the notation of structure tables: the error rounded
// to two significant digits and given in units of the value's last digit, "1.49906(34)".
// An error of 1 or more of the unit keeps the value's decimals, "12.3(15)"; one of 100
// or more rounds the value to the error's second digit, "12340(150)". A value without an
// error (an error of 0, as when there are as many data as parameters, or one that is not
// finite) is written alone with ten significant digits at most, "1.0958". A value that is
// not finite is written "-".
std::string value_with_error(double value, double error);

// The value alone, as value_with_error writes it without an error.
std::string plain_value(double value);

// The digits that a value's error leaves it: value_with_error where the error's second
// digit stands left of the last digit that plain_value writes, "822482.02(67)";
// plain_value where it does not or the error is 0, "793971.18".
std::string value_within_error(double value, double error);

// The value without the error's digits, rounded where value_within_error rounds it:
// "822482.02". For a column beside one of errors.
std::string value_rounded_to_error(double value, double error);

// An error by itself, to two significant digits: "0.67", "0.0020", "1200", and "1.5e-08"
// below a millionth.
std::string error_value(double error);

} // namespace tessen::model
