#pragma once

// What the fuzz targets share: the entry point that libFuzzer and the replay program
// call, a check that ends the run as a finding, and an input as a file for the readers
// that take a path.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tessen::fuzz {

// Ends the run with "finding: what" on standard error (libFuzzer keeps the input) when
// holds is false.
void require(bool holds, const char* what);

// The input's bytes as text.
inline std::string_view input_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A file of the process's own in the temporary folder, holding one input at a time, for
// the readers that take a path (Open Babel's, the report files of tessen-xyz). The file
// is removed when the object goes.
class InputFile {
  public:
    // name ends the file's name: its extension tells Open Babel the format.
    InputFile(std::string_view bytes, const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace tessen::fuzz
