// Reading and mapping speed: 100,000 Toffoli gates on 20 lines mapped onto SC (each Toffoli
// becomes 9 native gates), appended directly and read from a netlist text. Run from a folder
// holding CostGateCount.txt.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "circuit/graph_circuit.h"

namespace {

constexpr int kLines = 20;
constexpr int kToffolis = 100000;

struct Triple {
    int c1, c2, t;
};

// Deterministic, distinct operand triples spread over all lines.
std::vector<Triple> toffoli_operands() {
    std::vector<Triple> ops;
    ops.reserve(kToffolis);
    unsigned state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % kLines);
    };
    while (int(ops.size()) < kToffolis) {
        Triple t{next(), next(), next()};
        if (t.c1 != t.c2 && t.c1 != t.t && t.c2 != t.t) ops.push_back(t);
    }
    return ops;
}

void BM_MapToffolisOnSC(benchmark::State& state) {
    const std::vector<Triple> ops = toffoli_operands();
    for (auto _ : state) {
        GraphCircuit c("bench", SC, qec_none, 0);
        c.set_dummy_node(kLines);
        for (const Triple& t : ops) c.add_TOF(t.c1, t.c2, t.t);
        benchmark::DoNotOptimize(c.gate_counter);
    }
    state.SetItemsProcessed(state.iterations() * kToffolis);
}
BENCHMARK(BM_MapToffolisOnSC)->Unit(benchmark::kMillisecond);

// The same gates as a netlist text, read and mapped by read_netlist.
std::string toffoli_netlist() {
    std::string text = ".qubit " + std::to_string(kLines) + "\n";
    for (int q = 0; q < kLines; ++q) text += "qubit q" + std::to_string(q) + "\n";
    text += ".begin\n";
    for (const Triple& t : toffoli_operands()) {
        text += "Toffoli q" + std::to_string(t.c1) + " q" + std::to_string(t.c2) + " q" +
                std::to_string(t.t) + "\n";
    }
    return text + ".end\n";
}

void BM_ReadToffoliNetlistOnSC(benchmark::State& state) {
    std::string text = toffoli_netlist();
    for (auto _ : state) {
        GraphCircuit c("bench", SC, qec_none, 0);
        c.read_netlist(text);
        benchmark::DoNotOptimize(c.gate_counter);
    }
    state.SetItemsProcessed(state.iterations() * kToffolis);
}
BENCHMARK(BM_ReadToffoliNetlistOnSC)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
