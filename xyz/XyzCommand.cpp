#include "xyz/XyzCommand.hpp"

#include "records/Diagnostic.hpp"
#include "records/Version.hpp"
#include "xyz/CoordinateSets.hpp"
#include "xyz/XyzFileName.hpp"
#include "xyz/XyzText.hpp"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

namespace tessen::xyz {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: tessen-xyz REPORT [OUTDIR]\n"
    "       tessen-xyz --help | --version\n"
    "Writes one extended XYZ file (symbols, coordinates and masses) per coordinate\n"
    "listing of a TESSEN report into OUTDIR (default: the current folder):\n"
    "STEM_m_input.xyz for the input axis frame of molecule m,\n"
    "STEM_m_principal_k_SPECIES.xyz for its k-th mass-properties block, SPECIES\n"
    "being the block's isotopic species title in letters, digits, '-' and '_'.\n";

bool is_help(const std::string& arg) {
    return arg == "-h" || arg == "--help";
}

bool is_option(const std::string& arg) {
    return arg.size() > 1 && arg.front() == '-';
}

bool write_file(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    return static_cast<bool>(file);
}

// Reads and scans the report; false (with a message) when it has nothing to write.
bool read_contents(const std::string& report, ReportContents& contents, std::ostream& err) {
    try {
        contents = read_coordinate_sets(report);
    } catch (const RunError& error) {
        err << "tessen-xyz: " << report << ": " << error.what() << "\n";
        return false;
    }
    if (contents.sets.empty() && contents.problems.empty()) {
        err << "tessen-xyz: " << report
            << ": no coordinate listing (not a TESSEN report, or no molecule of three or more "
               "atoms)\n";
        return false;
    }
    return true;
}

// The output folder, created when missing; the empty path is the current folder.
bool make_folder(const fs::path& folder, std::ostream& err) {
    if (folder.empty())
        return true;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder)) {
        err << "tessen-xyz: " << folder.string() << ": cannot create folder"
            << (ec ? ": " + ec.message() : std::string()) << "\n";
        return false;
    }
    return true;
}

int convert(const std::string& report, const fs::path& folder, std::ostream& out,
            std::ostream& err) {
    ReportContents contents;
    if (!read_contents(report, contents, err) || !make_folder(folder, err))
        return kExitFailed;
    int status = kExitOk;
    for (const std::string& problem : contents.problems) {
        err << "tessen-xyz: " << report << ": " << problem << "\n";
        status = kExitFailed;
    }
    const std::string stem = report_stem(report);
    for (const CoordinateSet& set : contents.sets) {
        fs::path path = folder / xyz_file_name(stem, set);
        if (write_file(path, xyz_text(set))) {
            out << path.string() << "\n";
        } else {
            err << "tessen-xyz: " << path.string() << ": cannot be written\n";
            status = kExitFailed;
        }
    }
    return status;
}

} // namespace

int run_xyz(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && is_help(args[0])) {
        out << kUsage;
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "tessen-xyz " << kVersion << "\n";
        return kExitOk;
    }
    if (args.empty() || args.size() > 2 || is_option(args[0]) ||
        (args.size() == 2 && is_option(args[1]))) {
        err << kUsage;
        return kExitUsage;
    }
    return convert(args[0], args.size() == 2 ? fs::path(args[1]) : fs::path(), out, err);
}

} // namespace tessen::xyz
