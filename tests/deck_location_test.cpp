// Every diagnostic raised while reading or acting on a deck record names the line of the
// deck, and for a field its columns and text.

#include "support/DeckRun.hpp"
#include "support/Decks.hpp"

#include <gtest/gtest.h>

namespace tessen::test {
namespace {

struct Case {
    const char* what;
    std::string deck;
    ErrorKind kind;
    std::string message; // the whole message line, without its "- "
};

// Water is lines 1-8: control, counts, three titles, three atom records.
std::string water_with_atom(int line, const std::string& record) {
    std::string deck = water_molecule();
    std::size_t at = 0;
    for (int k = 1; k < line; ++k)
        at = deck.find('\n', at) + 1;
    return deck.replace(at, deck.find('\n', at) - at, record);
}

TEST(DeckLocation, EachDiagnosticNamesItsLine) {
    const std::string dummy = atom_record(1, 0, 0, 0, 0, 0, 0, 0);
    const Case cases[] = {
        {"bad character", water_with_atom(7, "  2  1  0  0    1.00.000"), ErrorKind::bad_field,
         "invalid character in numeric field: line 7, columns 13-24 '    1.00.000'"},
        {"real overflow", water_with_atom(8, "  3  1  2  0      1.0E39"), ErrorKind::input_overflow,
         "numeric overflow in input field: line 8, columns 13-24 "
         "'      1.0E39'"},
        {"Ctrl-Z in a field", water_with_atom(6, "  1\x1a"), ErrorKind::end_of_file,
         "end of file encountered: line 6, columns 4-6 '\\x1A'"},
        {"deck ends inside a molecule", molecule_head(3) + dummy, ErrorKind::end_of_file,
         "end of file encountered: line 7"},
        {"N above 500", molecule_head(501), ErrorKind::atom_count,
         "atom count 501 above 500: line 2"},
        {"atom number outside the table",
         water_with_atom(8, "  3  0  2  0    0.957200  104.520000    0.000000    1.007825"),
         ErrorKind::atom_number, "atom number 0 outside 1 to 500: line 8"},
        {"degenerate frame",
         molecule_head(4) + dummy + atom_record(2, 1, 0, 0, 1, 0, 0, 1) +
             atom_record(3, 1, 2, 0, 1, 90, 0, 1) + atom_record(4, 1, 1, 2, 1, 90, 0, 1),
         ErrorKind::fp_invalid, "floating-point error: invalid: line 9"},
        {"zero total mass of a molecule",
         molecule_head(3) + dummy + atom_record(2, 1, 0, 0, 1, 0, 0, 0) +
             atom_record(3, 1, 2, 0, 1, 90, 0, 0),
         ErrorKind::fp_divide_by_zero, "floating-point error: divide by zero: line 8"},
        {"zero total mass of an isotope set",
         water_molecule(1) + isotope_header(-6, "ZERO") + mass_record({0, 0, 0}),
         ErrorKind::fp_divide_by_zero, "floating-point error: divide by zero: line 10"},
        {"isotope set before any molecule", control_record(0) + control_record(-6),
         ErrorKind::fp_divide_by_zero, "floating-point error: divide by zero: line 2"},
    };
    for (const Case& c : cases) {
        const DeckRun run = run_deck(c.deck);
        ASSERT_TRUE(run.error) << c.what;
        EXPECT_EQ(*run.error, c.kind) << c.what;
        EXPECT_EQ(run.message, c.message) << c.what;
    }
}

} // namespace
} // namespace tessen::test
