#include "driver/StartUp.hpp"

#include "driver/ReportName.hpp"
#include "records/FixedText.hpp"
#include "records/LayoutWriter.hpp"

namespace tessen {

std::optional<FileNames> start_up(Console& console) {
    write_line(console, "Program TESSEN");
    const FixedText<kPromptLength> prompt("\\Enter name of the input file, with extension\\");
    FileNames names;
    GETNAME(console, prompt.view(), names.input);

    const std::optional<std::int32_t> stem_length = FINDDOT(names.input);
    if (!stem_length) {
        write_line(console, "NO PERIOD FOUND IN FILENAME");
        write_line(console, " PROGRAM STOPS; TRY AGAIN.\t");
        return std::nullopt;
    }
    names.report = report_name_for(names.input, *stem_length);
    write_line(console,
               {"input file is ", names.input.view(), ", output file is ", names.report.view()});
    write_line(console);
    write_line(console);
    return names;
}

} // namespace tessen
