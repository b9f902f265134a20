#include "xyz/XyzCommand.hpp"

#include "companion/RunCompanion.hpp"
#include "companion/RunOutcome.hpp"
#include "records/Diagnostic.hpp"
#include "xyz/CoordinateSets.hpp"
#include "xyz/XyzFileName.hpp"
#include "xyz/XyzText.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <set>
#include <system_error>

namespace tessen::xyz {

namespace {

namespace fs = std::filesystem;
using companion::CommandError;
using companion::kExitFailed;
using companion::kExitUsage;

constexpr const char* kUsage =
    "usage: tessen-xyz [-o OUTDIR] REPORT...\n"
    "       tessen-xyz REPORT OUTDIR\n"
    "       tessen-xyz --help | --version\n"
    "Writes one extended XYZ file (symbols, coordinates and masses) per coordinate\n"
    "listing of each TESSEN report into OUTDIR (default: the current folder; created\n"
    "when missing) and names each file written on standard output:\n"
    "STEM_m_input.xyz for the input axis frame of molecule m,\n"
    "STEM_m_principal_k_SPECIES.xyz for its k-th mass-properties block, in a, b, c order\n"
    "(Ia <= Ib <= Ic), SPECIES being the block's isotopic species title in letters,\n"
    "digits, '-' and '_'. STEM is the report's name less its extension; a REPORT of -\n"
    "is read from standard input, with the stem \"stdin\".\n"
    "  -o OUTDIR  the folder for the files; - writes every listing on standard output\n"
    "             instead, one XYZ frame after another\n"
    "The second form, one report and a folder that exists or is to be made, is the same\n"
    "as tessen-xyz -o OUTDIR REPORT.\n"
    "exit status: 0 every listing written; 1 a listing unusable, a file not written, or a\n"
    "report unreadable or without listings beside others that were used; 2 no report could\n"
    "be used (unreadable, or without listings), or the command line is wrong.\n";

constexpr const char* kStandardInputStem = "stdin";

// Where the files go: a folder (empty: the current one), or standard output.
struct Destination {
    std::vector<std::string> reports;
    std::string folder;
    bool standard_output = false;
};

// Whether an operand after the first names the output folder of the older form, REPORT
// OUTDIR: a folder, or nothing yet. An existing file is a report.
bool names_folder(const std::string& operand) {
    std::error_code ec;
    const fs::file_status status = fs::status(operand, ec);
    return operand != "-" &&
           (fs::is_directory(status) || status.type() == fs::file_type::not_found);
}

Destination destination_of(const companion::Arguments& arguments) {
    const std::vector<std::string>& operands = arguments.operands;
    if (const std::optional<std::string> out = arguments.last("-o"))
        return {operands, *out == "-" ? std::string() : *out, *out == "-"};
    if (operands.size() == 2 && names_folder(operands[1]))
        return {{operands[0]}, operands[1], false};
    return {operands, {}, false};
}

// Converts reports one after another; every fault is told and the next goes on.
class XyzRun {
  public:
    XyzRun(const Destination& destination, companion::Streams& streams)
        : destination_(destination), streams_(streams) {}

    void convert(const std::string& report) {
        const std::string name = companion::input_name(report);
        const std::optional<ReportContents> contents = read(report, name);
        if (!contents)
            return outcome_.input_unusable();
        outcome_.input_used();
        for (const ListingProblem& problem : contents->problems)
            fail(CommandError(kExitFailed, problem.text, name, problem.line));
        const std::string stem = report == "-" ? kStandardInputStem : report_stem(report);
        for (const CoordinateSet& set : contents->sets)
            write(stem, set);
    }

    int status() const { return outcome_.status(); }

  private:
    const Destination& destination_;
    companion::Streams& streams_;
    std::set<fs::path> written_;
    bool folder_made_ = false;
    companion::RunOutcome outcome_;

    void fail(const CommandError& error) {
        streams_.report(error);
        outcome_.result_failed();
    }

    // The report's listings; nothing (told) when it cannot be read or holds none.
    std::optional<ReportContents> read(const std::string& report, const std::string& name) {
        try {
            const auto source = companion::open_input(report);
            ReportContents contents = read_coordinate_sets(*source, name);
            if (contents.sets.empty() && contents.problems.empty())
                throw CommandError(kExitUsage,
                                   "no coordinate listing (not a TESSEN report, or no molecule "
                                   "of three or more atoms)",
                                   name);
            return contents;
        } catch (const RunError& error) {
            streams_.report(companion::command_error(error, kExitUsage));
        } catch (const CommandError& error) {
            streams_.report(error);
        }
        return std::nullopt;
    }

    // A file of the same name from an earlier report (two reports named alike in two
    // folders) is not overwritten.
    void write(const std::string& stem, const CoordinateSet& set) {
        if (destination_.standard_output) {
            streams_.out().write(xyz_text(set));
            return;
        }
        make_folder();
        const fs::path path = fs::path(destination_.folder) / xyz_file_name(stem, set);
        if (!written_.insert(path).second)
            return fail(CommandError(kExitFailed,
                                     "written already from another report; not written again",
                                     path.string()));
        try {
            streams_.write_output(path.string(), xyz_text(set));
        } catch (const CommandError& error) {
            return fail(error);
        }
        streams_.out().write(path.string() + "\n");
    }

    // The output folder, made when missing, before the first file goes into it; ends the
    // run when it cannot be made.
    void make_folder() {
        if (folder_made_ || destination_.folder.empty())
            return;
        std::error_code ec;
        fs::create_directories(destination_.folder, ec);
        if (!fs::is_directory(destination_.folder))
            throw CommandError(kExitFailed,
                               std::string("cannot create folder: ") +
                                   (ec ? ec.message() : std::strerror(EEXIST)),
                               destination_.folder);
        folder_made_ = true;
    }
};

int convert_reports(const companion::Arguments& arguments, companion::Streams& streams) {
    const Destination destination = destination_of(arguments);
    XyzRun run(destination, streams);
    for (const std::string& report : destination.reports)
        run.convert(report);
    return run.status();
}

} // namespace

int run_xyz(const std::vector<std::string>& args, std::ostream& err) {
    const companion::CommandDefinition command{"tessen-xyz", kUsage, {}, {"-o"}};
    return companion::run_companion(args, command, convert_reports, err);
}

} // namespace tessen::xyz
