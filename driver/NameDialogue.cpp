// GETNAME: the name dialogue with its existence check and its limit of four names.

#include "driver/NameDialogue.hpp"

#include "driver/DelimitedMessage.hpp"
#include "records/LayoutWriter.hpp"

#include <sys/stat.h>

namespace tessen {

namespace {

constexpr int kMaxNames = 4;
constexpr int kMaxFailedReads = 4;

void show_prompt(Console& console, std::string_view prompt) {
    static const Layout kPrompt("(2(A)\\)");
    const std::int32_t length =
        DELIMLEN(prompt, static_cast<std::int32_t>(prompt.size())).value_or(0);
    std::string_view shown = length > 0 ? prompt.substr(0, static_cast<std::size_t>(length)) : "";
    write_record(console, kPrompt, shown, std::string_view(" "));
}

void say_read_failed(Console& console) {
    SAYMSG(console, "\\AN ERROR WAS ENCOUNTERED READING\\");
    SAYMSG(console, "\\THAT NAME,  PLEASE RE-ENTER OR\\");
    SAYMSG(console, "\\CHOOSE ANOTHER NAME\\");
}

} // namespace

bool file_exists(const FileName& name) {
    std::string path = name.trimmed();
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void GETNAME(Console& console, std::string_view prompt, FileName& name) {
    int attempt = 1;
    int failed_reads = 0;
    while (true) {
        show_prompt(console, prompt);
        if (console.read_text(name.chars) != 0) {
            say_read_failed(console);
            if (++failed_reads >= kMaxFailedReads)
                return;
            continue;
        }
        if (file_exists(name))
            return;
        write_line(console, " GETNAME: FILE NOT FOUND - RETYPE.");
        if (++attempt > kMaxNames)
            return;
    }
}

} // namespace tessen
