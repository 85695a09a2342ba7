// Netlist text handling on generated circuits: reading (with CTL mapping), writing, the two
// text rewrites, and the OpenQASM translation both ways. Each should grow linearly with the
// number of gate lines.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "circuit/graph_circuit.h"
#include "circuit/netlist_rewrite.h"
#include "circuit/qasm_reader.h"
#include "circuit/qasm_writer.h"

namespace {

// A netlist of `gates` one- and two-qubit gate lines on 32 qubits.
std::string generated_netlist(int gates) {
    const int qubits = 32;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> qubit(0, qubits - 1), kind(0, 5);
    std::uniform_real_distribution<double> angle(-8, 8);
    std::string text = "# generated\n.qubit " + std::to_string(qubits) + "\n";
    for (int q = 0; q < qubits; ++q) text += "qubit q" + std::to_string(q) + "\n";
    text += ".begin\n";
    for (int g = 0; g < gates; ++g) {
        const int a = qubit(rng);
        const int b = (a + 1 + qubit(rng) % (qubits - 1)) % qubits;
        const std::string qa = " q" + std::to_string(a), qb = " q" + std::to_string(b);
        switch (kind(rng)) {
            case 0:
                text += "H" + qa;
                break;
            case 1:
                text += "T" + qa;
                break;
            case 2:
                text += "RZ" + qa + " " + std::to_string(angle(rng));
                break;
            case 3:
                text += "RX" + qa + " " + std::to_string(angle(rng));
                break;
            case 4:
                text += "CNOT" + qa + qb;
                break;
            default:
                text += "CP" + qa + qb + " " + std::to_string(angle(rng));
                break;
        }
        text += "\n";
    }
    return text + ".end\n";
}

void BM_ReadNetlist(benchmark::State& state) {
    std::string text = generated_netlist(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        GraphCircuit c("bench", CTL, qec_none, 0);
        c.read_netlist(text);
        benchmark::DoNotOptimize(c.gate_counter);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_WriteNetlist(benchmark::State& state) {
    std::string text = generated_netlist(static_cast<int>(state.range(0)));
    GraphCircuit c("bench", CTL, qec_none, 0);
    c.read_netlist(text);
    for (auto _ : state) benchmark::DoNotOptimize(c.output_circuit_in_string());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReverseNetlist(benchmark::State& state) {
    std::string text = generated_netlist(static_cast<int>(state.range(0)));
    std::string out;
    for (auto _ : state) {
        reverse_netlist(text, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_InverseNetlist(benchmark::State& state) {
    std::string text = generated_netlist(static_cast<int>(state.range(0)));
    std::string out;
    for (auto _ : state) {
        inverse_netlist(text, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_QasmToNetlist(benchmark::State& state) {
    const std::string qasm = netlist_to_qasm(generated_netlist(static_cast<int>(state.range(0))),
                                             NetlistOrder::Operator);
    for (auto _ : state) benchmark::DoNotOptimize(qasm_to_netlist(qasm).netlist.data());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_NetlistToQasm(benchmark::State& state) {
    const std::string text = generated_netlist(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(netlist_to_qasm(text, NetlistOrder::Operator));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_QasmToNetlist)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetlistToQasm)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadNetlist)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteNetlist)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseNetlist)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InverseNetlist)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
