#include "companion/OutputFile.hpp"

#include "companion/CommandError.hpp"
#include "companion/CompanionCommand.hpp"
#include "records/Diagnostic.hpp"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace tessen::companion {

namespace {

// Text is written on once this much is gathered.
constexpr std::size_t kPieceSize = 64 * 1024;

// A companion's output file is never one of its inputs in the record layer's sense (that
// check guards tessen's report against its deck): the writer is given no input, under a
// name no file can have (the writer refuses names holding a NUL).
const DescriptorSource& no_input() {
    static const DescriptorSource none(-1, {});
    return none;
}
const std::string kNoInputName(1, '\0');

} // namespace

// The record layer's file writer, with a close that says whether it worked.
class CheckedFileSink : public FileSink {
  public:
    explicit CheckedFileSink(const std::string& name) : FileSink(name, no_input(), kNoInputName) {}

    // 0, or the errno of a failed close.
    int close() {
        const int fd = std::exchange(fd_, -1);
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }
};

OutputFile::OutputFile() : name_(kStandardOutputName) {
    standard_output_.emplace(STDOUT_FILENO, name_);
}

OutputFile::OutputFile(const std::string& name) : name_(name) {
    try {
        file_ = std::make_unique<CheckedFileSink>(name);
    } catch (const RunError& error) {
        throw command_error(error, kExitFailed);
    }
}

OutputFile::~OutputFile() = default;

ByteSink& OutputFile::sink() {
    if (file_)
        return *file_;
    return *standard_output_;
}

void OutputFile::fail(CommandError error) {
    failure_ = error;
    pending_.clear();
    throw error;
}

void OutputFile::put(std::string_view text) {
    try {
        sink().write(text.data(), text.size());
        written_ = true;
    } catch (const RunError& error) {
        fail(command_error(error, kExitFailed));
    }
}

void OutputFile::write(std::string_view text) {
    if (failure_)
        fail(*failure_);
    if (pending_.size() + text.size() < kPieceSize) {
        pending_ += text;
        return;
    }
    put(pending_);
    pending_.clear();
    put(text);
}

void OutputFile::close() {
    if (closed_ || failure_)
        return;
    if (!pending_.empty())
        put(pending_);
    pending_.clear();
    closed_ = true;
    const int failed = file_      ? file_->close()
                       : written_ ? (::close(STDOUT_FILENO) != 0 ? errno : 0)
                                  : 0;
    if (failed != 0)
        fail(CommandError(kExitFailed, std::string("cannot be written: ") + std::strerror(failed),
                          name_));
}

} // namespace tessen::companion
