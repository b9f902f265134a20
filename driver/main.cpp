#include "driver/BatchRun.hpp"
#include "driver/Program.hpp"
#include "records/StandardDescriptors.hpp"

#include <iostream>
#include <string>
#include <vector>

// Without arguments, the console dialogue; with arguments, the command line for scripts.
int main(int argc, char** argv) {
    tessen::open_standard_descriptors();
    std::ios::sync_with_stdio(false);
    if (argc <= 1) {
        tessen::StreamConsoleInput console_input(std::cin);
        return tessen::run_program(std::cout, std::cerr, console_input);
    }
    return tessen::run_command_line(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                    std::cerr);
}
