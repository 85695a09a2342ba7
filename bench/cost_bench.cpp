// Cost model timings: building the tile table (the recursive logical formulas) at levels 1 to 6
// for every machine description, and the circuit counts on a circuit of a million gates.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "circuit/graph_circuit.h"

namespace fs = std::filesystem;

namespace {

/// Runs the benchmarks in a scratch folder holding the price table and a small layout file.
void prepare_folder() {
    static bool done = false;
    if (done) return;
    done = true;
    const fs::path dir =
        fs::temp_directory_path() / ("marovin_cost_bench_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file(fs::path(MAROVIN_SOURCE_DIR) / "data" / "CostGateCount.txt",
                  dir / "CostGateCount.txt", fs::copy_options::overwrite_existing);
    std::ofstream(dir / "bench.txt.layout") << "q0 q1 q2 q3\nq4 q5 q6 q7\n";
    fs::current_path(dir);
}

std::map<std::string, int> eight_qubits() {
    std::map<std::string, int> names;
    for (int q = 0; q < 8; ++q) names["q" + std::to_string(q)] = q;
    return names;
}

void BM_TileTableBuild(benchmark::State& state) {
    prepare_folder();
    const PMD_type pmd = static_cast<PMD_type>(state.range(0));
    const int level = static_cast<int>(state.range(1));
    const auto names = eight_qubits();
    for (auto _ : state) {
        tileTable table(names, pmd, level, "bench.txt.layout");
        benchmark::DoNotOptimize(table.ops_table);
    }
    state.SetLabel(pmd_keyword(pmd));
}
BENCHMARK(BM_TileTableBuild)
    ->ArgsProduct({{QD, SC, IT, NA, LP, NP, ND, CTL, FTS}, {1, 2, 3, 4, 5, 6}})
    ->Unit(benchmark::kMicrosecond);

constexpr int kQubits = 64;
constexpr int kGates = 1000000;

/// A random circuit of a million gates on QD (one- and two-qubit gates in a 3:1 mix).
std::unique_ptr<GraphCircuit> million_gates(qecCode code, int level) {
    prepare_folder();
    auto c = std::make_unique<GraphCircuit>("bench.txt", QD, code, level);
    for (int q = 0; q < 8; ++q) c->qubit_line["q" + std::to_string(q)] = q;
    const int qubits = code == qec_none ? kQubits : 8;
    c->set_dummy_node(qubits);
    std::mt19937 rng(7);
    const Gate_type one[] = {RX, RY, RZ, H};
    for (int i = 0; i < kGates; ++i) {
        const int a = static_cast<int>(rng() % qubits);
        const int b = static_cast<int>(rng() % qubits);
        if (a != b && rng() % 4 == 0)
            c->add_gate(rng() % 2 ? CZ : CNOT, a, b, 0);
        else
            c->add_gate(one[rng() % 4], a, static_cast<double>(1 + rng() % 7), 0, 0);
    }
    return c;
}

GraphCircuit& physical_circuit() {
    static std::unique_ptr<GraphCircuit> c = million_gates(qec_none, 0);
    return *c;
}

GraphCircuit& logical_circuit() {
    static std::unique_ptr<GraphCircuit> c = million_gates(qec_code0, 3);
    return *c;
}

void BM_NumOpsPhysical(benchmark::State& state) {
    GraphCircuit& c = physical_circuit();
    for (auto _ : state) benchmark::DoNotOptimize(c.num_ops(QD));
}
BENCHMARK(BM_NumOpsPhysical)->Unit(benchmark::kMillisecond);

void BM_NumCyclesPhysical(benchmark::State& state) {
    GraphCircuit& c = physical_circuit();
    for (auto _ : state) benchmark::DoNotOptimize(c.num_cycles(QD));
}
BENCHMARK(BM_NumCyclesPhysical)->Unit(benchmark::kMillisecond);

void BM_FindCriticalPath(benchmark::State& state) {
    GraphCircuit& c = physical_circuit();
    std::vector<Vertex> path;
    for (auto _ : state) {
        c.find_critical_path(path);
        benchmark::DoNotOptimize(path.data());
    }
    state.counters["path"] = static_cast<double>(path.size());
}
BENCHMARK(BM_FindCriticalPath)->Unit(benchmark::kMillisecond);

void BM_TopologicalOrder(benchmark::State& state) {
    GraphCircuit& c = physical_circuit();
    for (auto _ : state) benchmark::DoNotOptimize(c.topological_order().size());
}
BENCHMARK(BM_TopologicalOrder)->Unit(benchmark::kMillisecond);

void BM_NumOpsLogical(benchmark::State& state) {
    GraphCircuit& c = logical_circuit();
    for (auto _ : state) benchmark::DoNotOptimize(c.num_ops(QD));
}
BENCHMARK(BM_NumOpsLogical)->Unit(benchmark::kMillisecond);

void BM_NumCyclesLogical(benchmark::State& state) {
    GraphCircuit& c = logical_circuit();
    for (auto _ : state) benchmark::DoNotOptimize(c.num_cycles(QD));
}
BENCHMARK(BM_NumCyclesLogical)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
