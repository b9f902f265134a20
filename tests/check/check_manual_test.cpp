// The manual page shows decks/MISTYPED.DAT, and it and README.md show the findings that
// tessen-check prints for it, line for line and in its order. A shown line that ends with
// " ..." stands for a finding that begins with the rest.

#include "support/Files.hpp"
#include "support/Lines.hpp"
#include "support/Programs.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessen::test {
namespace {

const std::string kDeck = "MISTYPED.DAT";

// The text as a reader sees it: the escapes that a manual page uses for - and ' undone.
std::string unescaped(std::string line) {
    for (const auto& [escape, character] :
         {std::pair<std::string, std::string>{"\\-", "-"}, {"\\(aq", "'"}}) {
        for (std::size_t at = line.find(escape); at != std::string::npos;
             at = line.find(escape, at + 1))
            line.replace(at, escape.size(), character);
    }
    return line;
}

std::vector<std::string> unescaped_lines(const fs::path& document) {
    std::vector<std::string> lines = text_lines(read_file(document));
    for (std::string& line : lines)
        line = unescaped(line);
    return lines;
}

// The lines of a document that show a finding of the deck.
std::vector<std::string> shown_findings(const fs::path& document) {
    std::vector<std::string> findings;
    for (const std::string& line : unescaped_lines(document)) {
        if (line.rfind(kDeck + ":", 0) == 0)
            findings.push_back(line);
    }
    return findings;
}

void expect_shown_as_printed(const fs::path& document, const std::vector<std::string>& printed) {
    const std::vector<std::string> findings = shown_findings(document);
    ASSERT_EQ(findings.size(), printed.size()) << document;
    const std::string cut = " ...";
    for (std::size_t k = 0; k < findings.size(); ++k) {
        const std::string& line = findings[k];
        if (line.size() > cut.size() &&
            line.compare(line.size() - cut.size(), cut.size(), cut) == 0)
            EXPECT_EQ(printed[k].rfind(line.substr(0, line.size() - cut.size()), 0), 0u)
                << document << ": " << line << "\nprinted: " << printed[k];
        else
            EXPECT_EQ(line, printed[k]) << document;
    }
}

TEST(CheckManual, ExamplesAreWhatTheProgramPrints) {
    ScratchDir dir;
    const fs::path deck = test_dir() / "check" / "decks" / kDeck;
    const std::vector<std::string> deck_lines = text_lines(read_file(deck));
    const std::vector<std::string> page = unescaped_lines(source_dir() / "man" / "tessen-check.1");
    EXPECT_NE(std::search(page.begin(), page.end(), deck_lines.begin(), deck_lines.end()),
              page.end())
        << "the manual page shows the deck as it is";
    fs::copy_file(deck, dir / kDeck);
    ProgramRun run = run_program({check_binary(), kDeck}, dir.path());
    ASSERT_EQ(run.status, 1) << run.err;
    const std::vector<std::string> printed = text_lines(run.out);
    expect_shown_as_printed(source_dir() / "man" / "tessen-check.1", printed);
    expect_shown_as_printed(source_dir() / "README.md", printed);
}

} // namespace
} // namespace tessen::test
