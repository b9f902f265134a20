#include "fit/ObservedTable.hpp"

#include "companion/CommandError.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace tessen::fit {

namespace {

using companion::CommandError;

// What a column holds; the constants and their sigma and correction columns for one axis.
enum class Column { set, isotopologue, name, constant, sigma, correction };

struct ColumnKind {
    Column column;
    std::size_t axis = 0; // 0, 1, 2 for A, B, C
};

const char* const kKnownColumns = "set, isotopologue, name, A, B, C, sigma_A, sigma_B, sigma_C, "
                                  "corr_A, corr_B, corr_C";

// Where a fault lies, for its message.
struct Place {
    const std::string& file;
    std::size_t line;

    [[noreturn]] void fail(const std::string& what) const {
        throw CommandError(2, what, file, line);
    }
};

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Whether the line holds a comma outside quotes and before a comment.
bool separated_by_commas(std::string_view line) {
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '#')
            return false;
        else if (!quoted && c == ',')
            return true;
    }
    return false;
}

// A quoted field from the opening quote at line[i]; i ends after the closing quote.
std::string quoted_field(std::string_view line, std::size_t& i, const Place& place) {
    std::string field;
    for (++i; i < line.size(); ++i) {
        if (line[i] != '"') {
            field += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else {
            ++i;
            return field;
        }
    }
    place.fail("a quote that is not closed");
}

// The fields of one line, its comment cut off; none for a line of blanks and a comment.
std::vector<std::string> fields_of(std::string_view line, const Place& place) {
    const bool commas = separated_by_commas(line);
    const auto ends_field = [&](char c) { return c == '#' || (commas ? c == ',' : is_blank(c)); };
    std::vector<std::string> fields;
    std::size_t i = 0;
    const auto skip_blanks = [&] {
        while (i < line.size() && is_blank(line[i]))
            ++i;
    };
    skip_blanks();
    if (i == line.size() || line[i] == '#')
        return fields;
    for (;;) {
        skip_blanks();
        if (i < line.size() && line[i] == '"') {
            fields.push_back(quoted_field(line, i, place));
            if (commas)
                skip_blanks();
            if (i < line.size() && !ends_field(line[i]))
                place.fail("text after a closing quote");
        } else {
            const std::size_t start = i;
            while (i < line.size() && !ends_field(line[i]))
                ++i;
            fields.emplace_back(trimmed(line.substr(start, i - start)));
        }
        if (commas && i < line.size() && line[i] == ',') {
            ++i;
            continue;
        }
        skip_blanks();
        if (commas || i == line.size() || line[i] == '#')
            return fields;
    }
}

std::string lower_case(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::optional<ColumnKind> column_kind(std::string_view name) {
    const std::string lower = lower_case(name);
    if (lower == "set")
        return ColumnKind{Column::set};
    if (lower == "isotopologue")
        return ColumnKind{Column::isotopologue};
    if (lower == "name")
        return ColumnKind{Column::name};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::string letter(1, static_cast<char>('a' + axis));
        if (lower == letter)
            return ColumnKind{Column::constant, axis};
        if (lower == "sigma_" + letter)
            return ColumnKind{Column::sigma, axis};
        if (lower == "corr_" + letter)
            return ColumnKind{Column::correction, axis};
    }
    return std::nullopt;
}

// Whether the header has that column; for a constant, sigma or correction column, that of
// the axis when one is given.
bool has_column(const std::vector<ColumnKind>& columns, Column column,
                std::optional<std::size_t> axis = std::nullopt) {
    return std::any_of(columns.begin(), columns.end(), [&](const ColumnKind& c) {
        return c.column == column && (!axis || c.axis == *axis);
    });
}

// The header's columns, checked: every name known and given once, exactly one of set and
// isotopologue, at least one constant, each sigma and correction beside its constant.
std::vector<ColumnKind> header_columns(const std::vector<std::string>& names, const Place& place) {
    std::vector<ColumnKind> columns;
    std::vector<std::string> seen;
    for (const std::string& name : names) {
        if (name.empty())
            place.fail("an empty column name in the header");
        const auto kind = column_kind(name);
        if (!kind)
            place.fail("unknown column '" + name + "' (the columns are " + kKnownColumns + ")");
        if (std::find(seen.begin(), seen.end(), lower_case(name)) != seen.end())
            place.fail("column '" + name + "' given twice");
        seen.push_back(lower_case(name));
        columns.push_back(*kind);
    }
    const bool by_set = has_column(columns, Column::set);
    const bool by_list = has_column(columns, Column::isotopologue);
    if (by_set == by_list)
        place.fail(by_set ? "the header has both 'set' and 'isotopologue': give one of them"
                          : "the header needs a 'set' or an 'isotopologue' column");
    bool any_constant = false;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const bool constant = has_column(columns, Column::constant, axis);
        const std::string letter(1, "ABC"[axis]);
        if (!constant && has_column(columns, Column::sigma, axis))
            place.fail("column 'sigma_" + letter + "' without the column '" + letter + "'");
        if (!constant && has_column(columns, Column::correction, axis))
            place.fail("column 'corr_" + letter + "' without the column '" + letter + "'");
        any_constant = any_constant || constant;
    }
    if (!any_constant)
        place.fail("the header names none of the constants A, B, C");
    return columns;
}

bool is_absent(const std::string& field) {
    return field.empty() || field == "-";
}

// A real number in the usual notations (1.5, -2e3, +0.25), the whole field.
std::optional<double> parse_real(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double real_field(const std::string& field, const std::string& column, const Place& place) {
    const auto value = parse_real(field);
    if (!value)
        place.fail("'" + field + "' is not a number (column " + column + ")");
    return *value;
}

double positive_field(const std::string& field, const std::string& column, const Place& place) {
    const double value = real_field(field, column, place);
    if (value <= 0)
        place.fail(column + " must be greater than 0, not " + field);
    return value;
}

int set_field(const std::string& field, const Place& place) {
    int set = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, set);
    if (field.empty() || error != std::errc() || stop != end)
        place.fail("'" + field + "' is not a set number");
    return set;
}

std::string column_name(const ColumnKind& kind) {
    const std::string letter(1, "ABC"[kind.axis]);
    switch (kind.column) {
    case Column::sigma:
        return "sigma_" + letter;
    case Column::correction:
        return "corr_" + letter;
    default:
        return letter;
    }
}

void read_field(const std::string& field, const ColumnKind& kind, ObservedRow& row,
                const Place& place) {
    switch (kind.column) {
    case Column::set:
        row.set = set_field(field, place);
        break;
    case Column::isotopologue:
        row.isotopologue = is_absent(field) ? std::string() : field;
        row.label = field.empty() ? "-" : field;
        break;
    case Column::name:
        break;
    case Column::constant:
        if (!is_absent(field))
            row.constant[kind.axis] = positive_field(field, column_name(kind), place);
        break;
    case Column::sigma:
        if (!is_absent(field))
            row.sigma[kind.axis] = positive_field(field, column_name(kind), place);
        break;
    case Column::correction:
        if (!is_absent(field))
            row.correction[kind.axis] = real_field(field, column_name(kind), place);
        break;
    }
}

// What a row must hold as a whole: corrected constants above 0, and in a weighted table
// the sigma of every measured constant.
void check_row(const ObservedRow& row, bool weighted, const Place& place) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (!row.constant[axis])
            continue;
        const std::string letter(1, "ABC"[axis]);
        if (*row.constant[axis] + row.correction[axis] <= 0)
            place.fail(letter + " + corr_" + letter + " must be greater than 0");
        if (weighted && !row.sigma[axis])
            place.fail(letter + " is measured but sigma_" + letter +
                       " is not given (a table with sigma columns weights every constant)");
    }
}

ObservedRow read_row(const std::vector<std::string>& fields, const std::vector<ColumnKind>& columns,
                     bool weighted, const Place& place) {
    if (fields.size() != columns.size())
        place.fail(std::to_string(fields.size()) + " fields where the header has " +
                   std::to_string(columns.size()) + " columns");
    ObservedRow row{};
    row.line = place.line;
    std::string name;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        read_field(fields[i], columns[i], row, place);
        if (columns[i].column == Column::name)
            name = fields[i];
    }
    check_row(row, weighted, place);
    if (!name.empty())
        row.label = name;
    else if (row.set)
        row.label = std::to_string(*row.set);
    return row;
}

} // namespace

ObservedTable read_observed_table(std::string_view text, const std::string& file) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") // the byte-order mark of a spreadsheet's CSV
        text.remove_prefix(3);
    ObservedTable table;
    std::vector<ColumnKind> columns;
    std::size_t number = 0;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        std::string_view line = text.substr(from, end - from);
        from = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const Place place{file, number};
        const std::vector<std::string> fields = fields_of(line, place);
        if (fields.empty())
            continue;
        if (columns.empty()) {
            columns = header_columns(fields, place);
            table.weighted = has_column(columns, Column::sigma);
        } else {
            table.rows.push_back(read_row(fields, columns, table.weighted, place));
        }
    }
    if (columns.empty())
        throw CommandError(2, "no header line naming the columns", file);
    if (table.rows.empty())
        throw CommandError(2, "no rows of measured constants", file);
    return table;
}

} // namespace tessen::fit
