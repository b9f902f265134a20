// libFuzzer entry: one input is one table of measured constants for tessen-fit. A
// CommandError of status 2 is the normal end of a bad table; anything else that escapes, a
// sanitizer report or a hang is a finding, and so is a table read without complaint that
// breaks what the reader promises its caller.

#include "companion/CommandError.hpp"
#include "fit/ObservedTable.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "finding: %s\n", what);
        std::abort();
    }
}

void check_row(const tessen::fit::ObservedRow& row, bool weighted, std::size_t lines) {
    require(row.line >= 1 && row.line <= lines, "a row's line is outside the table");
    require(!row.label.empty(), "a row without a label");
    for (std::size_t axis = 0; axis < 3; ++axis) {
        require(std::isfinite(row.correction[axis]), "a correction that is not finite");
        if (row.sigma[axis])
            require(std::isfinite(*row.sigma[axis]) && *row.sigma[axis] > 0, "a sigma <= 0");
        if (!row.constant[axis])
            continue;
        require(std::isfinite(*row.constant[axis]) && *row.constant[axis] > 0, "a constant <= 0");
        require(*row.constant[axis] + row.correction[axis] > 0, "a corrected constant <= 0");
        require(!weighted || row.sigma[axis], "a weighted constant without its sigma");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const tessen::fit::ObservedTable table = tessen::fit::read_observed_table(text, "FUZZ");
        require(!table.rows.empty(), "a table without rows");
        const bool by_set = table.rows.front().set.has_value();
        const std::size_t lines =
            static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        for (const tessen::fit::ObservedRow& row : table.rows) {
            require(row.set.has_value() == by_set, "rows of one table named two ways");
            check_row(row, table.weighted, lines);
        }
    } catch (const tessen::companion::CommandError& error) {
        require(error.status() == 2, "a bad table that is not a usage fault");
        require(error.file() == "FUZZ", "a fault without its file");
    }
    return 0;
}
