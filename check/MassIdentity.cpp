#include "check/MassIdentity.hpp"

#include "check/FindingFormat.hpp"
#include "model/MassTable.hpp"

namespace tessen::check {

namespace {

// model::kMassTolerance as the message gives it.
constexpr const char* kToleranceText = "0.01";
static_assert(model::kMassTolerance == 0.01);

} // namespace

std::optional<std::string> unknown_mass(double mass) {
    if (mass == 0.0 || model::identify_mass(mass))
        return std::nullopt;
    const std::string text = "mass " + number_text(mass);
    const std::optional<model::KnownMass> nearest = model::nearest_known_mass(mass);
    if (!nearest)
        return text + " is below 0: no atom has it (a dummy atom has mass 0)";
    const std::string known =
        nearest->mass_number == 0 ? "standard atomic weight " : "isotope " + nearest->name() + ", ";
    return text + " is no atom's: no isotope mass or standard atomic weight lies within " +
           kToleranceText + " u of it (the nearest: " + nearest->symbol + ", " + known +
           number_text(nearest->mass) + ")";
}

} // namespace tessen::check
