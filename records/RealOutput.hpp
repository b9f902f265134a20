#pragma once

#include <string>

namespace tessen {

// Writes the single-precision value x by the item Fw.d: exactly w characters at dst,
// right-justified, at most seven significant digits, no zero before the decimal point,
// no minus sign on a value that rounds to zero, and w asterisks when the text is too
// wide. Returns dst + w.
char* edit_real(char* dst, float x, int w, int d);

// The same field as a string (tests and callers that are not on a hot path).
std::string edit_real(float x, int w, int d);

} // namespace tessen
