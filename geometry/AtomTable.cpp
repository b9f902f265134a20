#include "geometry/AtomTable.hpp"

#include "records/Diagnostic.hpp"

namespace tessen {

void check_atom_number(std::int32_t number) {
    if (number < 1 || number > kMaxAtoms)
        throw atom_number_error(number, kMaxAtoms);
}

void check_atom_count(std::int32_t n) {
    if (n > kMaxAtoms)
        throw atom_count_error(n, kMaxAtoms);
}

} // namespace tessen
