#include "check/MassSetTraps.hpp"

#include "check/MassIdentity.hpp"

namespace tessen::check {

namespace {

// The masses a mass record holds (the layout (6F12.6)).
constexpr std::int32_t kMassesPerRecord = 6;

std::string mass_name(std::int32_t atom) {
    return "mass of atom " + std::to_string(atom);
}

} // namespace

void MassSetTraps::begin(std::int32_t n, std::vector<float> own) {
    n_ = n;
    own_ = std::move(own);
    masses_.clear();
    previous_.reset();
    previous_run_into_ = false;
}

std::vector<LocatedTrap> MassSetTraps::field_read(std::int32_t atom, std::size_t line,
                                                  std::string_view record, const TypedField& field,
                                                  bool reported) {
    std::vector<LocatedTrap> traps;
    const auto add = [&](std::optional<FieldTrap> trap) {
        if (trap)
            traps.push_back({line, std::move(*trap)});
    };
    if (masses_.empty()) {
        first_line_ = line;
        first_column_ = text_column(field);
    }
    masses_.push_back(static_cast<float>(field.value));
    if (atom % kMassesPerRecord == 1) { // the first field of a record
        previous_.reset();
        previous_run_into_ = false;
    }
    if (previous_) { // found at this field, reported where the number began
        std::optional<FieldTrap> run_on =
            number_run_on(*previous_, mass_name(atom - 1), field, mass_name(atom));
        if (!previous_run_into_)
            add(run_on);
        previous_run_into_ = run_on.has_value();
    }
    previous_ = field;
    add(blank_in_number(field, mass_name(atom)));
    if (!reported) {
        if (std::optional<std::string> unknown = unknown_mass(field.value))
            add(FieldTrap{text_column(field), "unknown-mass", *unknown});
    }
    if (atom % kMassesPerRecord == 0 || atom == n_)
        add(text_past_end(record, field.start + field.text.size(),
                          atom == n_ ? "where the mass set's last field ends"
                                     : "where a mass record's six fields end",
                          &field, mass_name(atom)));
    if (atom == n_) {
        if (std::optional<FieldTrap> trap = unsubstituted())
            traps.push_back({first_line_, std::move(*trap)});
    }
    return traps;
}

// The whole set against the molecule's own masses.
std::optional<FieldTrap> MassSetTraps::unsubstituted() const {
    if (own_.size() != masses_.size() || own_.empty() || own_ != masses_)
        return std::nullopt;
    return FieldTrap{first_column_, "unsubstituted-set",
                     "the masses of this isotope set are those of the molecule's atom records: "
                     "nothing is substituted, and its block repeats the molecule's"};
}

} // namespace tessen::check
