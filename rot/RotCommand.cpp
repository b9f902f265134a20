#include "rot/RotCommand.hpp"

#include "companion/CompanionCommand.hpp"
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

// Analyses one report; false (said on err) when it cannot be read or has no block.
bool analyse(const std::string& name, std::vector<MoleculeAnalysis>& molecules, std::ostream& err) {
    ReportAnalysis analysis;
    try {
        const auto source = companion::open_input(name);
        analysis = analyse_report(*source, companion::input_name(name));
    } catch (const RunError& error) {
        err << "tessen-rot: " << name << ": " << error.what() << "\n";
        return false;
    }
    for (const std::string& warning : analysis.warnings)
        err << "tessen-rot: " << warning << "\n";
    molecules.insert(molecules.end(), analysis.molecules.begin(), analysis.molecules.end());
    if (analysis.blocks == 0) {
        err << "tessen-rot: " << name
            << ": no mass-properties block (not a TESSEN report, or "
               "only molecules of fewer than three atoms)\n";
        return false;
    }
    return true;
}

} // namespace

int run_rot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const companion::Parsed parsed =
        companion::parse_arguments(args, "tessen-rot", kUsage, {"--json", "--csv"}, {}, out, err);
    if (!parsed.arguments)
        return parsed.status;
    const companion::Arguments& options = *parsed.arguments;
    if (options.has("--json") && options.has("--csv")) {
        err << "tessen-rot: --json and --csv exclude each other\n" << kUsage;
        return kExitUsage;
    }
    std::vector<MoleculeAnalysis> molecules;
    bool all_analysed = true;
    for (const std::string& report : options.operands)
        all_analysed = analyse(report, molecules, err) && all_analysed;
    if (options.has("--json"))
        out << json_document(molecules);
    else if (options.has("--csv"))
        out << csv_table(molecules);
    else
        out << text_tables(molecules);
    out << std::flush;
    return all_analysed ? kExitOk : kExitFailed;
}

} // namespace tessen::rot
