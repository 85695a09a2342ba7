// Writes a random reversible circuit (X, CNOT, Toffoli and multi-controlled NOT gates) whose
// mapping onto a machine description holds about the requested number of gates, and prints the
// number of mapped gates. Input generator of bench/whole_program_bench.sh.
//
// Usage: whole_program_input <PMD> <mapped-gates> <lines> <seed> <output-file>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <numeric>
#include <random>
#include <sstream>
#include <string>

#include "circuit/graph_circuit.h"

namespace {

std::string reversible_netlist(int lines, long gates, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<int> order(static_cast<size_t>(lines));
    std::iota(order.begin(), order.end(), 0);
    std::ostringstream out;
    out << "# random reversible circuit\n.qubit " << lines << "\n";
    for (int q = 0; q < lines; ++q) out << "qubit q" << q << "\n";
    out << ".begin\n";
    std::uniform_int_distribution<int> kind(0, 99);
    for (long i = 0; i < gates; ++i) {
        const int k = kind(rng);
        const int operands = k < 10 ? 1 : k < 60 ? 2 : k < 90 ? 3 : 4 + (k % 2);
        std::shuffle(order.begin(), order.end(), rng);
        out << (operands == 1 ? "X" : operands == 2 ? "CNOT" : operands == 3 ? "Toffoli" : "MCT");
        for (int j = 0; j < std::min(operands, lines); ++j) out << " q" << order[j];
        out << "\n";
    }
    out << ".end\n";
    return out.str();
}

long mapped_gates(const std::string& text, PMD_type pmd, int lines) {
    GraphCircuit c("bench_input", pmd, qec_none, 0);
    std::string copy = text;
    c.read_netlist(copy);
    return static_cast<long>(boost::num_vertices(c.graph)) - 2L * lines - 2L;
}

bool parse_pmd(const std::string& word, PMD_type& pmd) {
    for (PMD_type p : {QD, SC, IT, NA, LP, NP, CTL, FTS})
        if (word == pmd_keyword(p)) return pmd = p, true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    PMD_type pmd;
    if (argc != 6 || !parse_pmd(argv[1], pmd)) {
        std::cerr << "usage: whole_program_input <PMD> <mapped-gates> <lines> <seed> <file>\n";
        return 2;
    }
    const long target = std::atol(argv[2]);
    const int lines = std::atoi(argv[3]);
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10));
    std::streambuf* console = std::cout.rdbuf(nullptr);  // the reader's messages are not wanted
    const long sample = 2000;
    const double per_gate =
        static_cast<double>(mapped_gates(reversible_netlist(lines, sample, seed), pmd, lines)) /
        sample;
    const long gates = std::max(1L, static_cast<long>(target / per_gate));
    const std::string text = reversible_netlist(lines, gates, seed);
    const long mapped = mapped_gates(text, pmd, lines);
    std::cout.rdbuf(console);
    std::ofstream(argv[5]) << text;
    std::cout << gates << " netlist gates, " << mapped << " mapped gates\n";
    return 0;
}
