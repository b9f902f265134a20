#include "rot/RotCommand.hpp"

#include "records/Diagnostic.hpp"
#include "records/FileStreams.hpp"
#include "records/Version.hpp"
#include "rot/RotOutput.hpp"

#include <ostream>
#include <unistd.h>

namespace tessen::rot {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

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

enum class Format { text, json, csv };

// Analyses one report; false (said on err) when it cannot be read or has no block.
bool analyse(const std::string& name, std::vector<MoleculeAnalysis>& molecules, std::ostream& err) {
    ReportAnalysis analysis;
    try {
        if (name == "-") {
            DescriptorSource source(STDIN_FILENO, "<stdin>");
            analysis = analyse_report(source, "<stdin>");
        } else {
            FileSource source(name);
            analysis = analyse_report(source, name);
        }
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
    Format format = Format::text;
    std::vector<std::string> reports;
    bool options_end = false;
    for (const std::string& arg : args) {
        if (options_end || arg == "-" || arg.empty() || arg[0] != '-') {
            reports.push_back(arg);
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "-h" || arg == "--help") {
            out << kUsage;
            return kExitOk;
        } else if (arg == "--version") {
            out << "tessen-rot " << kVersion << "\n";
            return kExitOk;
        } else if (arg == "--json" || arg == "--csv") {
            const Format chosen = arg == "--json" ? Format::json : Format::csv;
            if (format != Format::text && format != chosen) {
                err << "tessen-rot: --json and --csv exclude each other\n" << kUsage;
                return kExitUsage;
            }
            format = chosen;
        } else {
            err << "tessen-rot: unknown option '" << arg << "'\n" << kUsage;
            return kExitUsage;
        }
    }
    if (reports.empty()) {
        err << "tessen-rot: no report given\n" << kUsage;
        return kExitUsage;
    }
    std::vector<MoleculeAnalysis> molecules;
    bool all_analysed = true;
    for (const std::string& report : reports)
        all_analysed = analyse(report, molecules, err) && all_analysed;
    switch (format) {
    case Format::json:
        out << json_document(molecules);
        break;
    case Format::csv:
        out << csv_table(molecules);
        break;
    case Format::text:
        out << text_tables(molecules);
        break;
    }
    out << std::flush;
    return all_analysed ? kExitOk : kExitFailed;
}

} // namespace tessen::rot
