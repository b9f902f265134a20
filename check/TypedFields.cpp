#include "check/TypedFields.hpp"

#include "records/FieldWalker.hpp"
#include "report/ReportVocabulary.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

namespace tessen::check {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_exponent_letter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

} // namespace

TypedRecord typed_record(const Layout& layout, std::string_view record, std::size_t count) {
    TypedRecord typed;
    FieldWalker walker(layout, record);
    for (const LayoutItem& item : layout.items()) {
        if (count != 0 && typed.fields.size() == count)
            break;
        TypedField field;
        if (item.kind == LayoutItem::Kind::integer) {
            std::int32_t value = 0;
            field.status = walker.get_int(value);
            field.value = value;
        } else if (item.kind == LayoutItem::Kind::real) {
            float value = 0;
            field.status = walker.get_real(value);
            field.value = value;
            field.real = true;
        } else {
            continue;
        }
        field.start = walker.last_field_start();
        field.width = walker.last_field_width();
        field.text = std::string(walker.last_field());
        typed.fields.push_back(std::move(field));
    }
    typed.end = walker.column();
    return typed;
}

std::vector<TypedField> typed_reals(const Layout& layout, std::string_view record) {
    std::vector<TypedField> reals;
    for (TypedField& field : typed_record(layout, record).fields) {
        if (field.real)
            reals.push_back(std::move(field));
    }
    return reals;
}

bool is_blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::optional<double> number_as_typed(std::string_view text) {
    std::string number;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == ',')
            continue;
        if (c == '.')
            return std::nullopt;
        number += c;
    }
    if (std::none_of(number.begin(), number.end(), is_digit))
        return std::nullopt;
    // An exponent given by a sign alone (15-3) or by D is written with E for strtod.
    for (std::size_t k = 1; k < number.size(); ++k) {
        if (is_exponent_letter(number[k])) {
            number[k] = 'E';
            break;
        }
        if ((number[k] == '+' || number[k] == '-') && is_digit(number[k - 1])) {
            number.insert(k, 1, 'E');
            break;
        }
    }
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size())
        return std::nullopt;
    return value;
}

bool looks_like_atom_record(std::string_view record) {
    FieldWalker walker(report::kAtomRecord, record);
    std::int32_t numbers[4] = {};
    for (std::int32_t& n : numbers) {
        if (walker.get_int(n) != FieldStatus::ok)
            return false;
    }
    if (numbers[0] < 1 || numbers[0] > 500)
        return false;
    for (int k = 1; k < 4; ++k) {
        if (numbers[k] < 0 || numbers[k] > 500)
            return false;
    }
    bool any_real = false;
    for (int k = 0; k < 4; ++k) {
        float value = 0;
        if (walker.get_real(value) != FieldStatus::ok)
            return false;
        any_real = any_real || !is_blank(walker.last_field());
    }
    return any_real;
}

std::optional<int> control_code_in(std::string_view record) {
    std::string_view code = record.substr(0, std::min<std::size_t>(3, record.size()));
    const std::string_view rest = record.substr(code.size());
    code.remove_prefix(std::min(code.find_first_not_of(' '), code.size()));
    if (code == "999" || code == "-9") {
        if (is_blank(rest))
            return code == "999" ? 999 : -9;
        return std::nullopt;
    }
    if (code == "-6")
        return -6;
    return std::nullopt;
}

} // namespace tessen::check
