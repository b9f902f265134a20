#pragma once

#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"

namespace tessen {

// Walks the deck from its first record to the end record (code 999), writing the report:
// molecules (code -9), isotope mass sets (code -6), other codes skipped. Returns at the
// end record; every fault ends the run with a RunError.
void run_job_loop(InputDeck& deck, RecordSink& report);

} // namespace tessen
