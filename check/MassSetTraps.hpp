#pragma once

#include "check/FieldTraps.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessen::check {

// A trap at a line of the deck.
struct LocatedTrap {
    std::size_t line = 0;
    FieldTrap trap;
};

// The traps of an isotope mass set, told its fields one by one as tessen reads them: a
// mass that is no atom's, numbers run together or holding a blank, text past the last
// field of a mass record, and a set whose masses are the molecule's own (nothing
// substituted).
class MassSetTraps {
  public:
    // A set of n masses begins, for the molecule whose atom records gave `own` (rows 1 to
    // n; empty when there is no molecule in hand).
    void begin(std::int32_t n, std::vector<float> own);

    // The mass of `atom` from a field of the mass record `record` at `line`;
    // `reported` tells that the field has a finding already, so its value is not judged
    // again. Traps come in column order.
    std::vector<LocatedTrap> field_read(std::int32_t atom, std::size_t line,
                                        std::string_view record, const TypedField& field,
                                        bool reported);

  private:
    std::int32_t n_ = 0;
    std::vector<float> own_;
    std::vector<float> masses_;
    std::size_t first_line_ = 0; // where the set's first mass begins
    std::size_t first_column_ = 0;
    std::optional<TypedField> previous_; // the field before on the same record
    bool previous_run_into_ = false;

    std::optional<FieldTrap> unsubstituted() const;
};

} // namespace tessen::check
