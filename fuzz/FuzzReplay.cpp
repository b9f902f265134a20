// Replays inputs through a fuzz target without libFuzzer: every file named, and every
// file inside every folder named, once, in name order. CI runs each target so over its
// seed corpus, in the sanitized build: a sanitizer report or a failed check ends the run
// as it would end the fuzzer.

#include "FuzzSupport.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputs_named(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int a = 1; a < argc; ++a) {
        if (fs::is_directory(argv[a])) {
            for (const auto& entry : fs::recursive_directory_iterator(argv[a]))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.emplace_back(argv[a]);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<fs::path> inputs = inputs_named(argc, argv);
    for (const fs::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "%s: cannot be read\n", input.c_str());
            return 1;
        }
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
