#pragma once

namespace tessen {

// Degrees to radians, held in single precision: 0.0174532924, slightly below pi/180,
// so sin(180 degrees) comes out near 2.4e-08 and not zero.
constexpr float kDegreeFactor = 0.017453292f;

} // namespace tessen
