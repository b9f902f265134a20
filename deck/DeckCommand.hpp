#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::deck {

// tessen-deck [OPTIONS] FILE... [-o DECK]: a deck of every structure of the files, on
// standard output or in DECK. Returns 0; 1 when a file cannot be read or a structure
// cannot be written (named on err; the others are written), or the deck cannot be
// written; 2 for a usage error, an unknown isotope or atom number (nothing is written
// then). args are the arguments after the program's name.
int run_deck(const std::vector<std::string>& args, std::ostream& err);

} // namespace tessen::deck
