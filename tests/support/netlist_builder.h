#pragma once
// Netlist texts written by tests: a header declaring q0 .. q(n-1) and whole netlists around
// given gate lines.

#include <string>

namespace testnet {

/// \brief Netlist header declaring qubits q0 .. q(n-1), up to and including ".begin".
inline std::string header(int n) {
    std::string text = ".qubit " + std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) text += "qubit q" + std::to_string(i) + "\n";
    return text + ".begin\n";
}

/// \brief A whole netlist on n qubits with the given gate lines (each ending in a newline).
inline std::string make_netlist(int n, const std::string& gates) {
    return header(n) + gates + ".end\n";
}

}  // namespace testnet
