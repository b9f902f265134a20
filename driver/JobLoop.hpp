#pragma once

#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"

namespace tessen {

// What a deck held, for the command line's -v line.
struct JobSummary {
    int molecules = 0;   // molecule jobs (code -9), those of fewer than three atoms included
    int mass_blocks = 0; // mass-properties blocks written
};

// Walks the deck from its first record to the end record (code 999), writing the report:
// molecules (code -9), isotope mass sets (code -6), other codes skipped. Returns at the
// end record; every fault ends the run with a RunError that names the deck's line.
JobSummary run_job_loop(InputDeck& deck, RecordSink& report);

} // namespace tessen
