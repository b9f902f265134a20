#pragma once

#include <cstddef>
#include <string>

namespace tessen {

// Where the bytes of the input deck come from: a file, or memory (tests, fuzzing).
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to n bytes into dst; 0 only at the end. Throws RunError on a read error.
    virtual std::size_t read(char* dst, std::size_t n) = 0;
};

// Where the bytes of the report go: a file, or memory (tests, fuzzing).
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Writes all n bytes or throws RunError. The first write of a run replaces whatever
    // the destination held before.
    virtual void write(const char* src, std::size_t n) = 0;
};

// A deck held in memory.
class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    std::size_t read(char* dst, std::size_t n) override;

  private:
    std::string bytes_;
    std::size_t pos_ = 0;
};

// A report held in memory.
class MemorySink : public ByteSink {
  public:
    void write(const char* src, std::size_t n) override { bytes_.append(src, n); }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

} // namespace tessen
