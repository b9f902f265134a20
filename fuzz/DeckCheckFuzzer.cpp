// libFuzzer entry: tessen-check's walk of a deck (tessen's job loop with the checker
// listening). Every finding must name a line of the deck (or the line after its last, for
// a deck that ends too early), and the findings must make valid JSON; anything that
// escapes the checker is a finding.

#include "FuzzSupport.hpp"
#include "check/DeckChecker.hpp"
#include "check/FindingFormat.hpp"
#include "records/ByteStreams.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessen;
    using fuzz::require;
    const std::string_view bytes = fuzz::input_text(data, size);
    MemorySource source{std::string(bytes)};
    const check::DeckCheck check = check::check_deck(source, "FUZZ.DAT");
    // The deck's lines, the last one counted without its line feed too.
    const std::size_t lines =
        static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) +
        (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
    for (const check::Finding& finding : check.findings) {
        require(finding.line >= 1 && finding.line <= lines + 1, "a finding outside the deck");
        require(!check::finding_line(finding).empty(), "a finding without its line");
    }
    require(nlohmann::json::accept(check::findings_json(check.findings)),
            "tessen-check's JSON does not parse");
    return 0;
}
