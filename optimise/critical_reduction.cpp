// The critical-path reduction: windows cut from one critical path, then two passes of the
// window forms of the line-reduction stages, measured in cycles, keeping the cheapest line.

#include "optimise/critical_reduction.h"

#include <algorithm>

using boost::get;

std::vector<CriticalWindow> cut_critical_windows(Graph& graph, const std::vector<Vertex>& path) {
    std::vector<CriticalWindow> windows;
    int line = -1;
    Vertex first{};
    Vertex last{};
    auto close = [&]() {
        const int from = get(boost::vertex_index, graph, prev_node(graph, first, line));
        const int to = get(boost::vertex_index, graph, next_node(graph, last, line));
        windows.push_back(CriticalWindow{line, from, to});
    };
    for (Vertex v : path) {
        if (get(boost::vertex_gate, graph, v) >= 20) continue;
        const int q = get(boost::vertex_target, graph, v);
        if (q != line) {
            if (line != -1) close();
            line = q;
            first = v;
        }
        last = v;
    }
    if (line != -1) close();
    return windows;
}

namespace {

enum class Direction { XRightZLeft, XLeftZRight };

/// Cycle-cost window mode of the line-reduction stages.
constexpr int kWindowCycleMode = 1;

/// Reruns the stages of one direction on one window up to four times and writes back the line
/// copy of strictly lowest window cycle cost (the line as copied when none is lower).
void reduce_window(GraphCircuit& circuit, const CriticalWindow& w, Direction direction) {
    LineOfGates line;
    circuit.copy_a_line(w.line, line);
    LineOfGates best = line;
    int best_cost = CostCycleCount::get_window_cycle_cost(line.gates, w.from, w.to, circuit.pmd);
    const int rounds = std::min(num_2Q_gate(line.gates), 4);
    for (int i = 0; i < rounds; ++i) {
        if (direction == Direction::XRightZLeft) {
            circuit.interchangeXRZL(line, w.from, w.to, kWindowCycleMode);
            circuit.movementXRZL(w.line, line, w.from, w.to, kWindowCycleMode);
        } else {
            circuit.interchangeXLZR(line, w.from, w.to, kWindowCycleMode);
            circuit.movementXLZR(w.line, line, w.from, w.to, kWindowCycleMode);
        }
        circuit.simplify(line, w.from, w.to, kWindowCycleMode);
        const int cost =
            CostCycleCount::get_window_cycle_cost(line.gates, w.from, w.to, circuit.pmd);
        if (cost < best_cost) {
            best = line;
            best_cost = cost;
        }
    }
    circuit.revise_a_line(w.line, best);
}

}  // namespace

void reduce_critical_windows(GraphCircuit& circuit, const std::vector<CriticalWindow>& windows) {
    // The window bounds are two-qubit gates or markers, which keep their indices when a line is
    // rewritten, so the same list serves both passes.
    for (const CriticalWindow& w : windows) reduce_window(circuit, w, Direction::XRightZLeft);
    for (const CriticalWindow& w : windows) reduce_window(circuit, w, Direction::XLeftZRight);
}

void GraphCircuit::reduce_critical() {
    level = 0;
    std::vector<Vertex> path;
    find_critical_path(path);
    reduce_critical_windows(*this, cut_critical_windows(graph, path));
}
