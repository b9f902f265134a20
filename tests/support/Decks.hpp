#pragma once

#include <initializer_list>
#include <string>

// Input decks for tests, record by record: each function gives one record (or a few) in
// its columns, ended by a line feed, ready to be joined with +.
namespace tessen::test {

// The end record, which ends the run where a control record is read.
inline const std::string kEndRecord = "999\n";

// A control record: the code in columns 1-3 (-9 a molecule, -6 an isotope set).
std::string control_record(int code);

// A counts record: N and the isotope flag by I4 after three unused columns.
std::string counts_record(int n, int isotope_flag = 0);

// The three title records.
std::string title_records(const std::string& first, const std::string& second,
                          const std::string& third);

// One atom record: I, J, K, L by I3 and R, A, T, M by F12.6.
std::string atom_record(int i, int j, int k, int l, double r, double a, double t, double m);

// An isotope header: a code by I3, then the title of the next isotopic species.
std::string isotope_header(int code, const std::string& title);

// A record of masses by F12.6 (six to a record).
std::string mass_record(std::initializer_list<double> masses);

// The -9 control record, the counts record and the titles FIRST TITLE, SECOND TITLE and
// the species.
std::string molecule_head(int n, int isotope_flag = 0, const std::string& species = "SPECIES");

// Water (O, H, H at 0.9572 and 104.52 degrees) and methane around its carbon atom, each
// a whole molecule without the end record.
std::string water_molecule(int isotope_flag = 0);
std::string methane_molecule();

} // namespace tessen::test
