#pragma once

#include <optional>
#include <string>

namespace tessen::check {

// Why a mass belongs to no atom: it is neither 0 (a dummy atom) nor within 0.01 u of a
// known isotope mass or standard atomic weight (100.7825 typed for a hydrogen's 1.007825).
// The message names the nearest element and isotope; nothing when the mass is a known one.
std::optional<std::string> unknown_mass(double mass);

} // namespace tessen::check
