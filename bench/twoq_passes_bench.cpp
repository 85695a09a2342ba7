// Growth of the two-qubit reduction and the critical-path reduction with the circuit size:
// random circuits on 32 lines rich in the two-qubit patterns (CNOT/CZ/CP/GEO pairs around
// half-turns, H, RY(2)/RY(6)) and arbitrary rotations, built with add_gate. Both passes should
// grow about linearly (reported as the fitted complexity). Run it in a folder holding
// CostGateCount.txt (as build/testrun). The circuits are not mapped, so the cycle table reports
// the GEO gates it has no SC price for; those messages are silenced.

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <random>

#include "circuit/graph_circuit.h"
#include "optimise/critical_reduction.h"

namespace {

constexpr int kLines = 32;

std::unique_ptr<GraphCircuit> pattern_circuit(long gates, unsigned seed) {
    auto c = std::make_unique<GraphCircuit>("bench", SC, qec_none, 0);
    std::streambuf* console = std::cout.rdbuf(nullptr);
    c->set_dummy_node(kLines);
    std::cout.rdbuf(console);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> line(0, kLines - 1);
    std::uniform_int_distribution<int> pick(0, 7);
    const Gate_type pair_kinds[] = {CNOT, CNOT, CZ, CP, GEO, CNOT, CP, GEO};
    const Gate_type one_kinds[] = {RX, RY, RZ, H, RY, RY, RX, RZ};
    const double angles[] = {4, 2, 6, 4, 1, 3, 5, 0.3};
    long added = 0;
    while (added < gates) {
        const int c0 = line(rng);
        int t0 = line(rng);
        while (t0 == c0) t0 = line(rng);
        const Gate_type kind = pair_kinds[pick(rng)];
        const double theta = angles[pick(rng)];
        c->add_gate(kind, c0, t0, theta);
        c->add_gate(one_kinds[pick(rng)], c0, angles[pick(rng)], 0, 0);
        c->add_gate(one_kinds[pick(rng)], t0, angles[pick(rng)], 0, 0);
        if (pick(rng) < 4) {
            c->add_gate(kind, c0, t0, 8.0 - theta);
        } else {
            c->add_gate(kind, t0, c0, theta);
        }
        added += 4;
    }
    return c;
}

void BM_reduce2Qgate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto c = pattern_circuit(state.range(0), 7);
        state.ResumeTiming();
        c->reduce2Qgate();
        benchmark::DoNotOptimize(c->global_phase);
        state.PauseTiming();
        c.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

void BM_reduce_critical(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto c = pattern_circuit(state.range(0), 11);
        state.ResumeTiming();
        std::streambuf* console = std::cout.rdbuf(nullptr);
        c->reduce_critical();
        std::cout.rdbuf(console);
        benchmark::DoNotOptimize(c->global_phase);
        state.PauseTiming();
        c.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

/// A chain in time order through the circuit, as a critical path: it follows one line and
/// changes to the other line of every second two-qubit gate it meets.
std::vector<Vertex> chain(GraphCircuit& c) {
    std::vector<Vertex> path;
    int q = 0;
    bool change = false;
    for (Vertex v = next_node(c.graph, c.line_start[q], q);
         boost::get(boost::vertex_gate, c.graph, v) != OUT; v = next_node(c.graph, v, q)) {
        path.push_back(v);
        if (is_2Q_gate(boost::get(boost::vertex_gate, c.graph, v)) && (change = !change)) {
            const int control = boost::get(boost::vertex_control, c.graph, v);
            q = control == q ? boost::get(boost::vertex_target, c.graph, v) : control;
        }
    }
    return path;
}

// The windows of a long chain through the circuit: what reduce_critical does once the critical
// path is known.
void BM_critical_windows(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto c = pattern_circuit(state.range(0), 13);
        const std::vector<Vertex> path = chain(*c);
        state.ResumeTiming();
        std::streambuf* console = std::cout.rdbuf(nullptr);
        reduce_critical_windows(*c, c->cost_model(), cut_critical_windows(c->graph, path));
        std::cout.rdbuf(console);
        benchmark::DoNotOptimize(c->global_phase);
        state.PauseTiming();
        state.counters["path"] = static_cast<double>(path.size());
        c.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_critical_windows)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity();
BENCHMARK(BM_reduce2Qgate)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Complexity();
BENCHMARK(BM_reduce_critical)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Complexity();

BENCHMARK_MAIN();
