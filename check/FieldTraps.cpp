#include "check/FieldTraps.hpp"

#include "check/FindingFormat.hpp"

namespace tessen::check {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// A character that can end the text of a number, or begin it.
bool ends_number(char c) {
    return is_digit(c) || c == '.';
}
bool begins_number(char c) {
    return is_digit(c) || c == '.' || c == '+' || c == '-';
}

// The value as the messages give it: an integer field's without decimals.
std::string value_text(const TypedField& field) {
    return field.real ? number_text(field.value) : std::to_string(static_cast<long>(field.value));
}

} // namespace

std::size_t text_column(const TypedField& field) {
    const std::size_t first = field.text.find_first_not_of(' ');
    return field.start + 1 + (first == std::string::npos ? 0 : first);
}

std::optional<FieldTrap> number_run_on(const TypedField& field, const std::string& name,
                                       const TypedField& next, const std::string& next_name) {
    if (field.text.size() != field.width || !ends_number(field.text.back()) || next.text.empty() ||
        !begins_number(next.text.front()))
        return std::nullopt;
    return FieldTrap{text_column(field), "run-on-number",
                     name + " and " + next_name + " run together with no blank between them: " +
                         quoted_text(field.text + next.text, 32) + " is read as " + name + " " +
                         value_text(field) + " and " + next_name + " " + value_text(next)};
}

std::optional<FieldTrap> blank_in_number(const TypedField& field, const std::string& name) {
    std::string_view text = field.text;
    if (!text.empty() && text.back() == ',')
        text.remove_suffix(1);
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (text.find(' ') == std::string_view::npos)
        return std::nullopt;
    return FieldTrap{text_column(field), "blank-in-number",
                     name + " " + quoted_text(text) +
                         " has a blank inside: blanks are squeezed out, so it is read as " +
                         value_text(field)};
}

std::optional<FieldTrap> text_past_end(std::string_view record, std::size_t end,
                                       const std::string& where, const TypedField* last_field,
                                       const std::string& last_name) {
    if (end >= record.size())
        return std::nullopt;
    const std::size_t first = record.find_first_not_of(" \t", end);
    if (first == std::string_view::npos)
        return std::nullopt;
    std::string message = "text after column " + std::to_string(end) + ", " + where +
                          ", is never read: " + quoted_text(record.substr(first));
    if (last_field && first == end && !last_field->text.empty() &&
        ends_number(last_field->text.back()) && begins_number(record[first]))
        message += ", so the " + last_name + " is read as " + value_text(*last_field);
    return FieldTrap{first + 1, "text-past-end", message};
}

FieldTrap unused_field(const TypedField& field, const std::string& name, const std::string& why) {
    const std::string held = name + (field.real ? " " : " = ") + value_text(field);
    return FieldTrap{text_column(field), "unused-field", held + " is not used: " + why};
}

} // namespace tessen::check
