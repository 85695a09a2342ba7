#pragma once
// Random netlists of every keyword the reader accepts, multi-qubit ones included, for the
// whole-program property test. A netlist is kept as its gate lines so that it can be written in
// either orientation and shrunk line by line. Angles in π/4.

#include <random>
#include <string>
#include <vector>

namespace testrandom {

struct RandomNetlist {
    std::vector<std::string> qubits;  // names, in declaration order
    std::vector<std::string> gates;   // gate lines, in the order they are listed in the file
};

/// \brief A random netlist on `qubits` lines (1 to 6) with `gates` gate lines drawn from every
/// keyword that fits on that many lines.
RandomNetlist random_netlist(std::mt19937& rng, int qubits, int gates);

/// \brief The netlist text: a comment, ".qubit", the "qubit" lines, ".begin", the gate lines in
/// the given order (or reversed), ".end".
std::string netlist_text(const RandomNetlist& netlist, bool reversed = false);

}  // namespace testrandom
