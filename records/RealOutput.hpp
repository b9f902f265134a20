#pragma once

#include <string>

namespace tessen {

// The most significant digits a real field shows of a single-precision value: the last
// one shown is the d-th decimal, or the seventh significant digit when that comes first.
inline constexpr int kShownSignificantDigits = 7;

// Writes the single-precision value x by the item Fw.d: exactly w characters at dst,
// right-justified, at most seven significant digits, no zero before the decimal point,
// no minus sign on a value that rounds to zero, and w asterisks when the text is too
// wide. Returns dst + w.
char* edit_real(char* dst, float x, int w, int d);

// Room edit_real_in_slack may use from dst on, whatever w is: a field narrower than
// this is stored with whole words, and the bytes past it are scratch.
inline constexpr int kRealFieldSlack = 16;

// The same field as edit_real, for a caller that has room for at least kRealFieldSlack
// bytes from dst on (the record buffer): what lies past the field's w columns is
// overwritten. Returns dst + w.
char* edit_real_in_slack(char* dst, float x, int w, int d);

// The same field as a string (tests and callers that are not on a hot path).
std::string edit_real(float x, int w, int d);

} // namespace tessen
