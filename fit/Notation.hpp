#pragma once

#include <string>

namespace tessen::fit {

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

} // namespace tessen::fit
