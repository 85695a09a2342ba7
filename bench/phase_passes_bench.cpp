// Time of the optimisation passes of level 2 alone (phase folding and commutation-aware
// cancellation, phases::optimise_phases) on generated Clifford+T circuits of the given numbers
// of gates on 32 lines, built with add_gate: the doubly controlled Toffoli pattern of the
// arithmetic circuits (CNOTs, T and T_dag, H on the target) mixed with X, S and fractional RZ.
// Prints per size the wall and CPU seconds (CPU time is the figure to compare when the machine
// is shared), the gates removed and the growth exponent of the CPU time from the previous size
// (log(t2/t1) / log(n2/n1): 1.0 is linear). Run it in a folder holding
// CostGateCount.txt (as build/testrun).
//
// Usage: phase_passes_bench [gates...]   (default 125000 250000 500000 1000000)

#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <vector>

#include "circuit/graph_circuit.h"
#include "optimise/phase_optimisation.h"

namespace {

constexpr int kLines = 32;

std::unique_ptr<GraphCircuit> clifford_t_circuit(long gates, unsigned seed) {
    auto c = std::make_unique<GraphCircuit>("bench", NP, qec_none, 0);
    std::streambuf* console = std::cout.rdbuf(nullptr);
    c->set_dummy_node(kLines);
    std::cout.rdbuf(console);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> line(0, kLines - 1);
    std::uniform_int_distribution<int> pick(0, 9);
    long added = 0;
    while (added < gates) {
        const int a = line(rng);
        int b = line(rng);
        while (b == a) b = line(rng);
        switch (pick(rng)) {
            case 0:
            case 1:
            case 2:
                c->add_gate(CNOT, a, b, 0);
                break;
            case 3:
                c->add_gate(H, b, 0, 0, 0);
                break;
            case 4:
            case 5:
                c->add_gate(T, a, 0, 0, 0);
                break;
            case 6:
                c->add_gate(T_dag, b, 0, 0, 0);
                break;
            case 7:
                c->add_gate(X, a, 0, 0, 0);
                break;
            case 8:
                c->add_gate(S, b, 0, 0, 0);
                break;
            default:
                c->add_gate(RZ, a, 0.3, 0, 0);
        }
        ++added;
    }
    return c;
}

double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atol(argv[i]));
    if (sizes.empty()) sizes = {125000, 250000, 500000, 1000000};
    std::printf("%10s %10s %10s %10s %8s\n", "gates", "wall s", "CPU s", "removed", "growth");
    double last_seconds = 0;
    long last_gates = 0;
    for (long n : sizes) {
        auto c = clifford_t_circuit(n, 7);
        const auto start = std::chrono::steady_clock::now();
        const double cpu_start = cpu_seconds();
        const int removed = phases::optimise_phases(*c);
        const double seconds = cpu_seconds() - cpu_start;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%10ld %10.3f %10.3f %10d ", n, wall, seconds, removed);
        if (last_gates > 0)
            std::printf("%8.2f\n", std::log(seconds / last_seconds) /
                                       std::log(static_cast<double>(n) / last_gates));
        else
            std::printf("%8s\n", "-");
        last_seconds = seconds;
        last_gates = n;
    }
    return 0;
}
