#pragma once

#include "geometry/AtomRecordObserver.hpp"
#include "geometry/AtomTable.hpp"
#include "geometry/ListedFields.hpp"
#include "geometry/SparseCoordList.hpp"
#include "geometry/TitleSet.hpp"
#include "records/InputDeck.hpp"
#include "records/RecordSink.hpp"
#include "records/ReportPipeline.hpp"

#include <cstdint>
#include <memory>

namespace tessen {

// What a deck held, for the command line's -v line.
struct JobSummary {
    int molecules = 0;   // molecule jobs (code -9), those of fewer than three atoms included
    int mass_blocks = 0; // mass-properties blocks written
};

// Told of the deck's records as the job loop reads them, in deck order: a deck checker
// listens, so that it reads every record exactly as tessen does. Each call comes right
// after its record is read (the deck's line is that record's).
class JobListener : public AtomRecordObserver {
  public:
    virtual void control_read(std::int32_t /*code*/) {}
    virtual void counts_read(std::int32_t /*n*/, std::int32_t /*isotope_flag*/) {}
    // The molecule's atom records are all read and placed (also for N below 3).
    virtual void molecule_built(const AtomTable& /*atoms*/, std::int32_t /*n*/) {}
    virtual void isotope_header_read(std::int32_t /*code*/) {}
    // A mass set begins (by a -6 control record or isotope header), before its masses.
    virtual void mass_set_begun(std::int32_t /*n*/) {}

  protected:
    ~JobListener() = default;
};

// The deck read as its grammar (see JobLoop.cpp), from the first record to the end record,
// writing the report. Every fault ends the walk with a RunError that names the deck's line.
class JobLoop {
  public:
    JobLoop(InputDeck& deck, ReportPipeline& report, JobListener* listener = nullptr)
        : deck_(deck), report_(report), listener_(listener) {}
    // Every record goes to report at once, in this thread (a reader of the records).
    JobLoop(InputDeck& deck, RecordSink& report, JobListener* listener = nullptr)
        : deck_(deck), own_report_(std::make_unique<ReportPipeline>(report)), report_(*own_report_),
          listener_(listener) {}

    // From the first control record to the end record.
    void run();
    // Goes on from a control code already read (a checker that resumes after a fault).
    void run_from(std::int32_t code);

    const JobSummary& summary() const { return summary_; }

  private:
    InputDeck& deck_;
    std::unique_ptr<ReportPipeline> own_report_;
    ReportPipeline& report_;
    JobListener* listener_;
    // The molecule in hand, kept for the whole run.
    AtomTable atoms_{};
    TitleSet titles_;
    ListedFields listed_; // the input frame's listing, for its compact list
    SparseCoordList sparse_;
    std::int32_t n_ = 0;
    std::int32_t isotope_flag_ = 0;
    JobSummary summary_;

    void walk(std::int32_t code);
    std::int32_t run_job(std::int32_t code);
    std::int32_t molecule();
    std::int32_t mass_set();
    std::int32_t isotope_sets_and_trailer();
    void read_masses();
    void mass_block();
    std::int32_t read_control_record();
    void read_counts_and_titles();
    std::int32_t read_isotope_header();
};

// Runs the whole deck into the report.
JobSummary run_job_loop(InputDeck& deck, ReportPipeline& report);

} // namespace tessen
