#pragma once
// Helpers shared by the netlist reader, writer and rewrite tests.

#include <functional>
#include <string>

#include "circuit/fatal.h"

namespace iotest {

/// Runs f with fatal errors turned into exceptions; returns the fatal message, or "" when f
/// returned normally.
inline std::string fatal_message(const std::function<void()>& f) {
    FatalHandler previous = set_fatal_handler(throwing_fatal_handler);
    std::string message;
    try {
        f();
    } catch (const FatalError& e) {
        message = e.message;
    }
    set_fatal_handler(previous);
    return message;
}

/// Netlist header declaring qubits q0 .. q(n-1), up to and including ".begin".
inline std::string header(int n) {
    std::string text = ".qubit " + std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) text += "qubit q" + std::to_string(i) + "\n";
    return text + ".begin\n";
}

/// A whole netlist on n qubits with the given gate lines (each ending in a newline).
inline std::string make_netlist(int n, const std::string& gates) {
    return header(n) + gates + ".end\n";
}

}  // namespace iotest
