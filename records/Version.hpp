#pragma once

namespace tessen {

// The project's version, from CMake's project(): what every program's --version shows.
inline constexpr const char* kVersion = TESSEN_VERSION;

} // namespace tessen
