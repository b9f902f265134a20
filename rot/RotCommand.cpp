#include "rot/RotCommand.hpp"

#include "companion/RunCompanion.hpp"
#include "records/Diagnostic.hpp"
#include "rot/RotOutput.hpp"

#include <ostream>

namespace tessen::rot {

namespace {

using companion::kExitFailed;
using companion::kExitOk;
using companion::kExitUsage;

constexpr const char* kUsage =
    "usage: tessen-rot [--json | --csv] REPORT...\n"
    "       tessen-rot --help | --version\n"
    "Reads TESSEN reports and gives, per molecule and isotopologue (one per mass-properties\n"
    "block), the moments sorted Ia <= Ib <= Ic, the rotor type, the rotational constants\n"
    "in MHz and cm^-1, Ray's kappa, the inertial defect and the planar moments, and for\n"
    "isotope sets that change one atom's mass, Kraitchman's substitution coordinates.\n"
    "A REPORT of - is read from standard input.\n"
    "  --json  a JSON document for programs\n"
    "  --csv   one row per isotopologue, for spreadsheets\n"
    "exit status: 0 done; 1 a report cannot be read or has no mass-properties block;\n"
    "2 the command line is wrong.\n";

// Analyses one report; false (told on standard error) when it cannot be read or has no
// block.
bool analyse(const std::string& report, std::vector<MoleculeAnalysis>& molecules,
             companion::Streams& streams) {
    const std::string name = companion::input_name(report);
    ReportAnalysis analysis;
    try {
        const auto source = companion::open_input(report);
        analysis = analyse_report(*source, name);
    } catch (const RunError& error) {
        streams.report(companion::command_error(error, kExitFailed));
        return false;
    }
    for (const std::string& warning : analysis.warnings)
        streams.report(companion::CommandError(kExitOk, warning));
    molecules.insert(molecules.end(), analysis.molecules.begin(), analysis.molecules.end());
    if (analysis.blocks == 0) {
        streams.report(companion::CommandError(kExitFailed,
                                               "no mass-properties block (not a TESSEN report, "
                                               "or only molecules of fewer than three atoms)",
                                               name));
        return false;
    }
    return true;
}

int analyse_reports(const companion::Arguments& options, companion::Streams& streams) {
    if (options.has("--json") && options.has("--csv"))
        throw companion::CommandError(kExitUsage, "--json and --csv exclude each other");
    std::vector<MoleculeAnalysis> molecules;
    bool all_analysed = true;
    for (const std::string& report : options.operands)
        all_analysed = analyse(report, molecules, streams) && all_analysed;
    if (options.has("--json"))
        streams.out().write(json_document(molecules));
    else if (options.has("--csv"))
        streams.out().write(csv_table(molecules));
    else
        streams.out().write(text_tables(molecules));
    return all_analysed ? kExitOk : kExitFailed;
}

} // namespace

int run_rot(const std::vector<std::string>& args, std::ostream& err) {
    const companion::CommandDefinition command{"tessen-rot", kUsage, {"--json", "--csv"}, {}};
    return companion::run_companion(args, command, analyse_reports, err);
}

} // namespace tessen::rot
