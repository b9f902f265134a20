// The checker reads and builds every molecule as tessen does: for each reference deck that
// runs to its end, the molecules it builds are the input frames of tessen's own report
// (same atoms, same coordinates and masses to the last printed digit).

#include "check/DeckChecker.hpp"
#include "records/FileStreams.hpp"
#include "records/RealOutput.hpp"
#include "report/ReportReader.hpp"
#include "support/Files.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tessen::test {
namespace {

// A molecule as the report prints it: x, y, z and mass of rows 1 to N, by F12.6.
using Printed = std::vector<std::string>;

Printed printed(const AtomTable& atoms, std::int32_t n) {
    Printed rows;
    for (std::int32_t i = 1; i <= n; ++i)
        rows.push_back(edit_real(atoms.pos[i][0], 12, 6) + edit_real(atoms.pos[i][1], 12, 6) +
                       edit_real(atoms.pos[i][2], 12, 6) + edit_real(atoms.mass[i], 12, 6));
    return rows;
}

// A field read back from the report, as printed again: asterisks where the report has them.
std::string field(const report::Shown& value) {
    return value ? edit_real(static_cast<float>(*value), 12, 6) : std::string(12, '*');
}

Printed printed(const report::Listing& listing) {
    Printed rows;
    for (const report::ListingRow& row : listing.rows)
        rows.push_back(field(row.x) + field(row.y) + field(row.z) + field(row.mass));
    return rows;
}

TEST(CheckAgreement, CheckerBuildsTheMoleculesThatTessenReports) {
    int decks = 0;
    for (const auto& entry : fs::directory_iterator(test_dir() / "golden")) {
        const fs::path deck = entry.path();
        if (deck.extension() != ".DAT" ||
            read_file(fs::path(deck).replace_extension(".status")).substr(0, 2) != "0\n")
            continue;
        std::vector<Printed> built;
        FileSource source(deck.string());
        check::check_deck(source, deck.string(), [&](const AtomTable& atoms, std::int32_t n) {
            if (n >= 3)
                built.push_back(printed(atoms, n));
        });
        MemorySource report(read_file(fs::path(deck).replace_extension(".OUT")));
        std::vector<Printed> reported;
        for (const report::Molecule& m : report::read_report(report, "report").molecules)
            if (m.input_frame)
                reported.push_back(printed(*m.input_frame));
        EXPECT_EQ(built, reported) << deck;
        ++decks;
    }
    EXPECT_GT(decks, 40);
}

} // namespace
} // namespace tessen::test
