#pragma once

#include "records/ByteStreams.hpp"

#include <string>

namespace tessen {

// The input deck opened by name; it must exist. Raises the open diagnostic otherwise.
class FileSource : public ByteSource {
  public:
    explicit FileSource(const std::string& name);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t read(char* dst, std::size_t n) override;
    int descriptor() const { return fd_; }

  private:
    int fd_ = -1;
    std::string name_;
};

// The report opened by name: created empty when absent; an existing file is left as it
// is until the first write, which empties it from its beginning. Opening raises the open
// diagnostic when the file cannot be opened or created, or when it is the input deck
// itself (same name, or the same file under another name), which is never written.
class FileSink : public ByteSink {
  public:
    FileSink(const std::string& name, const FileSource& input, const std::string& input_name);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    void write(const char* src, std::size_t n) override;

  private:
    int fd_ = -1;
    std::string name_;
    bool emptied_ = false;

    void empty_once();
};

} // namespace tessen
