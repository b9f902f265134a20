#pragma once

#include "records/ByteStreams.hpp"
#include "rot/Analysis.hpp"

#include <string>

namespace tessen::rot {

// The rotational analysis of every molecule of a deck, read through the Model: the
// structure built in double precision by tessen's construction rules from the deck's own
// numbers (taken as exact), an isotopologue per mass set. The values carry the rounding of
// the double computation only. The moments' spreads, which decide the rotor type and the
// Kraitchman case, are what half a unit of the sixth decimal of the deck's lengths and
// angles moves them by (the analytic derivatives of the construction): the deck states a
// symmetry no more closely. A deck that tessen stops at, or a record without a frame,
// raises CommandError naming the line.
Analysis analyse_deck(ByteSource& source, const std::string& name);

} // namespace tessen::rot
