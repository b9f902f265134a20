#include "report/PrintedDigits.hpp"

#include "records/RealOutput.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tessen::report {

namespace {

// The digits before the decimal point of a printed number (0 below 1).
int integer_digits(double printed) {
    const double magnitude = std::fabs(printed);
    int digits = 0;
    while (digits < 40 && magnitude >= std::pow(10.0, digits))
        ++digits;
    return digits;
}

} // namespace

int real_decimals(const Layout& layout) {
    for (const LayoutItem& item : layout.items())
        if (item.kind == LayoutItem::Kind::real)
            return item.decimals;
    throw std::logic_error("a layout without a real field has no printed digits");
}

double half_unit(double printed, const Layout& layout) {
    const int decimals =
        std::min(real_decimals(layout), kShownSignificantDigits - integer_digits(printed));
    return 0.5 * std::pow(10.0, -decimals);
}

} // namespace tessen::report
