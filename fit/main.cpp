#include "fit/FitCommand.hpp"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return tessen::fit::run_fit_command(args, std::cerr);
}
