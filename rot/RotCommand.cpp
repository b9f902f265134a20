#include "rot/RotCommand.hpp"

#include "companion/ReplayedSource.hpp"
#include "companion/RunCompanion.hpp"
#include "companion/RunOutcome.hpp"
#include "records/Diagnostic.hpp"
#include "report/InputKind.hpp"
#include "rot/DeckAnalysis.hpp"
#include "rot/ReportAnalysis.hpp"
#include "rot/RotOutput.hpp"

#include <ostream>

namespace tessen::rot {

namespace {

using companion::CommandError;
using companion::kExitFailed;
using companion::kExitUsage;

constexpr const char* kUsage =
    "usage: tessen-rot [--json | --csv] INPUT...\n"
    "       tessen-rot --help | --version\n"
    "Reads TESSEN reports and decks and gives, per molecule and isotopologue (one per\n"
    "mass-properties block of a report, one per mass set of a deck), the moments sorted\n"
    "Ia <= Ib <= Ic, the rotor type, the rotational constants in MHz and cm^-1, Ray's\n"
    "kappa, the inertial defect and the planar moments, and for isotope sets that change\n"
    "one atom's mass, Kraitchman's substitution coordinates.\n"
    "An INPUT is told by its content: a report begins with the line PROGRAM TESSEN; a deck\n"
    "with its first control record (-9). An INPUT of - is read from standard input.\n"
    "A report's numbers are taken as printed, each within half a unit of its last digit;\n"
    "that is carried to every value, shown as its digits and its uncertainty in them,\n"
    "822482.02(67). A deck's numbers are taken as exact: its structure is built in double\n"
    "precision and its values are shown with ten significant digits. Two moments are equal\n"
    "when they differ by no more than their uncertainties (for a deck: than half a unit of\n"
    "the sixth decimal of its lengths and angles moves them).\n"
    "  --json  a JSON document for programs (full values and their uncertainties)\n"
    "  --csv   one row per isotopologue, for spreadsheets (with uncertainty columns)\n"
    "exit status: 0 done; 1 a report gives no value (every block's moments asterisks), or\n"
    "an input cannot be used beside others that were; 2 no input could be used (unreadable,\n"
    "neither a report nor a deck, a deck that tessen stops at, no molecule to analyse), or\n"
    "the command line is wrong.\n";

// Why an input that is neither a report nor a deck is not taken for one.
std::string neither_message(const report::InputHead& head) {
    if (head.bytes.empty())
        return "empty: neither a TESSEN report nor a deck";
    if (head.line == 0)
        return "neither a TESSEN report nor a deck: no line PROGRAM TESSEN and no control "
               "record -9 at its head";
    return "neither a TESSEN report nor a deck: this line is neither a report's first line "
           "(PROGRAM TESSEN) nor a deck's control record";
}

// The input read as what its content says it is. Raises CommandError when it is neither,
// or a deck that cannot be used; RunError when it cannot be read.
Analysis analyse_input(ByteSource& source, const std::string& name) {
    report::InputHead head = report::read_input_head(source);
    if (head.kind == report::InputKind::neither)
        throw CommandError(kExitUsage, neither_message(head), name, head.line);
    const report::InputKind kind = head.kind;
    companion::ReplayedSource whole(std::move(head.bytes), source);
    if (kind == report::InputKind::report)
        return analyse_report(whole, name);
    try {
        return analyse_deck(whole, name);
    } catch (const CommandError& error) {
        throw CommandError(kExitUsage, error.what(), name, error.line());
    }
}

// Why an input gave nothing to analyse.
std::string nothing_analysed(const Analysis& analysis) {
    return analysis.from_deck ? "no molecule of three atoms or more"
                              : "no mass-properties block (not a whole TESSEN report, or only "
                                "molecules of fewer than three atoms)";
}

// Analyses one input, telling on standard error why it cannot be read or used, or gives no
// value.
void analyse(const std::string& input, std::vector<MoleculeAnalysis>& molecules,
             companion::Streams& streams, companion::RunOutcome& outcome) {
    const std::string name = companion::input_name(input);
    Analysis analysis;
    try {
        const auto source = companion::open_input(input);
        analysis = analyse_input(*source, name);
    } catch (const RunError& error) {
        streams.report(companion::command_error(error, kExitUsage));
        return outcome.input_unusable();
    } catch (const CommandError& error) {
        streams.report(error);
        return outcome.input_unusable();
    }
    for (const CommandError& warning : analysis.warnings)
        streams.report(warning);
    molecules.insert(molecules.end(), analysis.molecules.begin(), analysis.molecules.end());
    if (analysis.isotopologues == 0) {
        streams.report(CommandError(kExitUsage, nothing_analysed(analysis), name));
        return outcome.input_unusable();
    }
    outcome.input_used();
    if (analysis.with_moments == 0) {
        streams.report(CommandError(
            kExitFailed, "no block gives a value: every block's principal moments are asterisks",
            name));
        outcome.result_failed();
    }
}

int analyse_inputs(const companion::Arguments& options, companion::Streams& streams) {
    if (options.has("--json") && options.has("--csv"))
        throw CommandError(kExitUsage, "--json and --csv exclude each other");
    std::vector<MoleculeAnalysis> molecules;
    companion::RunOutcome outcome;
    for (const std::string& input : options.operands)
        analyse(input, molecules, streams, outcome);
    if (options.has("--json"))
        streams.out().write(json_document(molecules));
    else if (options.has("--csv"))
        streams.out().write(csv_table(molecules));
    else
        streams.out().write(text_tables(molecules));
    return outcome.status();
}

} // namespace

int run_rot(const std::vector<std::string>& args, std::ostream& err) {
    const companion::CommandDefinition command{"tessen-rot", kUsage, {"--json", "--csv"}, {}};
    return companion::run_companion(args, command, analyse_inputs, err);
}

} // namespace tessen::rot
