#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessen::fit {

// One row of measured constants.
struct ObservedRow {
    std::size_t line;       // its line in the file
    std::string label;      // `name`, else the `set` number, else the isotopologue LIST as written
    std::optional<int> set; // the `set` column
    // The `isotopologue` column (LIST syntax `2:2H,3:2H`), as written; empty for the
    // molecule's own masses (the field written `-` or left empty, labelled "-"), and in a
    // table by `set`.
    std::string isotopologue;
    std::array<std::optional<double>, 3> constant; // A, B, C in MHz, nothing where `-` or empty
    std::array<std::optional<double>, 3> sigma;    // sigma_A.. (MHz), when given
    std::array<double, 3> correction{};            // corr_A.. (MHz), 0 when not given
};

// The table; weighted when it has a sigma column, and then every measured constant has
// its uncertainty.
struct ObservedTable {
    std::vector<ObservedRow> rows;
    bool weighted = false;
};

// Reads a table of measured constants. Each line is comma-separated when it holds a comma
// outside quotes, blank-separated otherwise; a field may be quoted as in CSV ("2:2H,3:2H",
// "" for a quote inside); `#` outside quotes starts a comment; empty lines are skipped.
// The first other line names the columns, in any order and any case: `set` or
// `isotopologue` (exactly one), `name`, and at least one of `A`, `B`, `C`, with
// `sigma_X` and `corr_X` only beside the column X. Raises CommandError(2, what, file,
// line) for a header or field that breaks these rules, a text where a number belongs, a
// constant or a corrected constant <= 0, a sigma <= 0, a measured constant without its
// sigma in a weighted table, a row with the wrong number of fields, or no rows at all.
ObservedTable read_observed_table(std::string_view text, const std::string& file);

} // namespace tessen::fit
