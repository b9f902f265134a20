#pragma once

#include "records/ByteStreams.hpp"
#include "records/FileReplacement.hpp"

#include <string>

namespace tessen {

// Bytes read from an open file descriptor; name is the one diagnostics give. The
// descriptor is not closed here (standard input is read this way).
class DescriptorSource : public ByteSource {
  public:
    DescriptorSource(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    DescriptorSource(const DescriptorSource&) = delete;
    DescriptorSource& operator=(const DescriptorSource&) = delete;

    std::size_t read(char* dst, std::size_t n) override;
    int descriptor() const { return fd_; }

  protected:
    int fd_;
    std::string name_;
};

// Bytes written to an open file descriptor, every one of them or a diagnostic. The
// descriptor is neither cut nor closed here (standard output is written this way).
class DescriptorSink : public ByteSink {
  public:
    DescriptorSink(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    DescriptorSink(const DescriptorSink&) = delete;
    DescriptorSink& operator=(const DescriptorSink&) = delete;

    void write(const char* src, std::size_t n) override;

  protected:
    int fd_;
    std::string name_;
};

// The input deck opened by name; it must exist and be a file to read, not a folder.
// Raises the open diagnostic otherwise.
class FileSource : public DescriptorSource {
  public:
    explicit FileSource(const std::string& name);
    ~FileSource() override;
};

// The report opened by name: created empty when absent; an existing file is left as it
// is until the first write, which empties it: a new empty file takes its place
// (replace_with_empty_file), or where that cannot be, the file is cut to nothing. The old
// file's descriptor is closed as closes says. Opening raises the open diagnostic when
// the file cannot be opened or created, or when it is the input deck itself (same name,
// or the same file under another name), which is never written.
class FileSink : public DescriptorSink {
  public:
    FileSink(const std::string& name, const DescriptorSource& input, const std::string& input_name,
             DescriptorCloser::Closes closes = DescriptorCloser::Closes::in_this_thread);
    ~FileSink() override;

    void write(const char* src, std::size_t n) override;

  private:
    bool emptied_ = false;
    DescriptorCloser old_file_;

    void empty_once();
};

} // namespace tessen
