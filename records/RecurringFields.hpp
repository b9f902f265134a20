#pragma once

#include "records/LayoutWriter.hpp"

namespace tessen {

// The Fw.d field of a value that recurs, such as a mass (a deck has a few isotope masses,
// each on many rows): edited once and then found again, in a small cache of this thread
// keyed by the value's bits and the field's w and d. The text is the editor's, so a
// value that is not in the cache, or has been pushed out of it, comes out the same. The
// field is returned as a copy: a later call may reuse its slot.
EditedField recurring_field(float value, int w, int d);

} // namespace tessen
