#include "driver/Program.hpp"

#include <iostream>

int main() {
    std::ios::sync_with_stdio(false);
    tessen::StreamConsoleInput console_input(std::cin);
    return tessen::run_program(std::cout, std::cerr, console_input);
}
