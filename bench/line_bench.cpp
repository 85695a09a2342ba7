// One-qubit line reduction on long lines: reduce1Qgate on
//   - a 2-line circuit of 200,000 one-qubit gates with a CNOT every 50 gates,
//   - a 1,000-line circuit of 1,000,000 gates (one-qubit gates with a CNOT every 50 gates),
// and the growth of one pass with the line length (should be about linear), for the
// incremental strategy and, on short lines, the literal reference strategy.
// Peak memory: run one case under /usr/bin/time -v with --benchmark_filter. Runs in the
// source tree's data folder, from which the circuits read the price table.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <random>

#include "circuit/graph_circuit.h"
#include "support/literal_line_reduction.h"

namespace {

// `gates` gates over `lines` lines; after every 50 one-qubit gates a CNOT between two lines.
std::unique_ptr<GraphCircuit> long_line_circuit(int lines, long gates, unsigned seed) {
    auto c = std::make_unique<GraphCircuit>("bench", SC, qec_none, 0);
    std::streambuf* console = std::cout.rdbuf(nullptr);
    c->set_dummy_node(lines);
    std::cout.rdbuf(console);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> line(0, lines - 1);
    std::uniform_int_distribution<int> pick(0, 9);
    const Gate_type kinds[] = {RX, RY, RZ, RZ, RX, RY, RZ, H, RX, RZ};
    const double angles[] = {1, 2, 3, 4, 5, 6, 7, 2, 4, 0.5};
    long one_qubit = 0;
    for (long i = 0; i < gates; ++i) {
        if (one_qubit == 50) {
            int a = line(rng), b = line(rng);
            while (lines > 1 && b == a) b = line(rng);
            c->add_gate(CNOT, a, b, 0);
            one_qubit = 0;
            continue;
        }
        c->add_gate(kinds[pick(rng)], line(rng), angles[pick(rng)], 0, 0);
        ++one_qubit;
    }
    return c;
}

// The program's pass, or the literal whole-line reference it is compared with.
enum class Pass { Program, Literal };

void run_reduction(benchmark::State& state, int lines, long gates, Pass pass) {
    for (auto _ : state) {
        state.PauseTiming();
        auto c = long_line_circuit(lines, gates, 11);
        state.ResumeTiming();
        if (pass == Pass::Program)
            c->reduce1Qgate();
        else
            reference::reduce_lines_literal(*c);
        benchmark::DoNotOptimize(c->global_phase);
        state.PauseTiming();
        c.reset();
        state.ResumeTiming();
    }
}

void BM_reduce1Qgate_2lines_200k(benchmark::State& state) {
    run_reduction(state, 2, 200000 + 200000 / 50, Pass::Program);
}
BENCHMARK(BM_reduce1Qgate_2lines_200k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_reduce1Qgate_1000lines_1M(benchmark::State& state) {
    run_reduction(state, 1000, 1000000, Pass::Program);
}
BENCHMARK(BM_reduce1Qgate_1000lines_1M)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_reduce1Qgate_growth(benchmark::State& state) {
    run_reduction(state, 2, state.range(0), Pass::Program);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_reduce1Qgate_growth)
    ->RangeMultiplier(4)
    ->Range(1 << 12, 1 << 18)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity();

void BM_reduce1Qgate_growth_literal(benchmark::State& state) {
    run_reduction(state, 2, state.range(0), Pass::Literal);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_reduce1Qgate_growth_literal)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 14)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity();

}  // namespace

// The circuits load "CostGateCount.txt" from the working directory: run in the data folder
// (only read there).
int main(int argc, char** argv) {
    std::filesystem::current_path(std::filesystem::path(MAROVIN_SOURCE_DIR) / "data");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
