#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessen::deck {

// tessen-deck [OPTIONS] FILE... [-o DECK]: a deck of every structure of the files, on out
// or in DECK. Returns 0; 1 when a file cannot be read or a structure cannot be written
// (named on err; the others are written); 2 for a usage error, an unknown isotope or atom
// number (nothing is written then). args are the arguments after the program's name.
int run_deck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tessen::deck
