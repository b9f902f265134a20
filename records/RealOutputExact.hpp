#pragma once

#include <string>

namespace tessen {

// The item Fw.d worked out digit by digit: the exact value of x rounded to 17
// significant digits, then to at most seven, then laid out. Slow, and kept as the
// reference that edit_real must match byte for byte. Same contract as edit_real.
char* edit_real_exact(char* dst, float x, int w, int d);

std::string edit_real_exact(float x, int w, int d);

} // namespace tessen
