#include "geometry/AtomTable.hpp"

#include "records/Diagnostic.hpp"

#include <string>

namespace tessen {

void check_atom_number(std::int32_t number) {
    if (number < 1 || number > kMaxAtoms)
        throw RunError(ErrorKind::atom_number,
                       std::to_string(number) + " outside 1 to " + std::to_string(kMaxAtoms));
}

void check_atom_count(std::int32_t n) {
    if (n > kMaxAtoms)
        throw RunError(ErrorKind::atom_count,
                       std::to_string(n) + " above " + std::to_string(kMaxAtoms));
}

} // namespace tessen
