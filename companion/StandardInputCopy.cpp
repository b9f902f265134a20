#include "companion/StandardInputCopy.hpp"

#include "companion/CommandError.hpp"
#include "companion/CompanionCommand.hpp"
#include "records/Diagnostic.hpp"
#include "records/FileStreams.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tessen::companion {

namespace {

constexpr std::size_t kPieceSize = 64 * 1024;

// Every byte of standard input into the open descriptor fd.
void copy_standard_input(int fd, const std::string& path) {
    DescriptorSource in(STDIN_FILENO, input_name("-"));
    DescriptorSink out(fd, path);
    std::vector<char> piece(kPieceSize);
    while (const std::size_t got = in.read(piece.data(), piece.size()))
        out.write(piece.data(), got);
}

} // namespace

// The copy goes to the system's folder for temporary files (TMPDIR, or /tmp).
StandardInputCopy::StandardInputCopy() {
    std::error_code no_folder;
    std::filesystem::path folder = std::filesystem::temp_directory_path(no_folder);
    if (no_folder)
        folder = "/tmp";
    std::string pattern = (folder / "tessen-stdin-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw CommandError(kExitFailed, std::string("cannot be copied: ") + std::strerror(errno),
                           input_name("-"));
    path_ = pattern;
    try {
        copy_standard_input(fd, path_);
    } catch (const RunError& error) {
        ::close(fd);
        ::unlink(path_.c_str());
        throw command_error(error, kExitFailed);
    }
    ::close(fd);
}

StandardInputCopy::~StandardInputCopy() {
    ::unlink(path_.c_str());
}

} // namespace tessen::companion
