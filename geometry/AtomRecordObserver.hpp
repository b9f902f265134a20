#pragma once

#include "geometry/AtomTable.hpp"
#include "geometry/ValenceRecord.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessen {

// Told of the records that BUILDXYZ and READMASSES read, as they read them: a deck checker
// listens; tessen itself passes no observer.
class AtomRecordObserver {
  public:
    // Atom record number index (from 1) of the molecule, as read, before it is checked and
    // placed.
    virtual void atom_record_read(std::int32_t /*index*/, const ValenceRecord& /*record*/) {}
    // The same record once placed in the table.
    virtual void atom_placed(std::int32_t /*index*/, const ValenceRecord& /*record*/,
                             const AtomTable& /*atoms*/) {}
    // The mass of atom `atom` of an isotope mass set, read from the field at columns
    // start..start+width-1 (0-based) of the given line.
    virtual void mass_read(std::int32_t /*atom*/, std::size_t /*line*/, std::size_t /*start*/,
                           std::size_t /*width*/, std::string_view /*text*/, float /*mass*/) {}

  protected:
    ~AtomRecordObserver() = default;
};

} // namespace tessen
