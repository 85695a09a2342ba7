#include "circuit/fatal.h"

#include <cstdlib>
#include <iostream>

namespace {
FatalHandler current_handler = nullptr;

[[noreturn]] void finish(const std::string& message) {
    if (current_handler != nullptr) current_handler(message);
    std::exit(1);
}
}  // namespace

void fatal_error(const std::string& message) {
    std::cout << message << std::endl;
    finish(message);
}

void fatal_error_stderr(const std::string& message) {
    std::cout.flush();
    std::cerr << message << std::endl;
    finish(message);
}

FatalHandler set_fatal_handler(FatalHandler handler) {
    FatalHandler previous = current_handler;
    current_handler = handler;
    return previous;
}

void throwing_fatal_handler(const std::string& message) {
    throw FatalError{message};
}
