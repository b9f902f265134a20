#pragma once

#include "companion/CommandError.hpp"
#include "records/FileStreams.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tessen::companion {

class CheckedFileSink;

// An output of a companion program: a file, or standard output. Text is gathered and
// written in large pieces through the record layer's file writer; every write and the
// final close are checked, and the first that fails raises CommandError (exit status 1)
// naming the output and the system's reason. Once one has failed, every later write raises
// the same again, and close() stays silent: the failure has been told.
class OutputFile {
  public:
    // The name that messages give standard output.
    static constexpr const char* kStandardOutputName = "standard output";

    // Standard output (descriptor 1). Only the program's frame opens it, once.
    OutputFile();
    // The file by name, opened (created when missing) at once. What it held is replaced at
    // the first write; a file that is never written keeps its bytes.
    explicit OutputFile(const std::string& name);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Closes a file that was not closed, without a check: a fault is already on its way.
    ~OutputFile();

    void write(std::string_view text);
    // Writes what is gathered and closes the output; its close is checked too. Standard
    // output that was never written is left as it is, so that a program that writes
    // nothing on it is not failed by a closed one.
    void close();

    const std::string& name() const { return name_; }

  private:
    std::string name_;
    std::unique_ptr<CheckedFileSink> file_; // none for standard output
    std::optional<DescriptorSink> standard_output_;
    std::string pending_;
    std::optional<CommandError> failure_; // the first write or close that failed
    bool written_ = false;
    bool closed_ = false;

    ByteSink& sink();
    void put(std::string_view text);
    [[noreturn]] void fail(CommandError error);
};

} // namespace tessen::companion
