// Operation counts, the as-soon-as-possible cycle count and the critical path of a circuit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <unordered_map>
#include <vector>

#include "circuit/graph_circuit.h"

using boost::get;

namespace {

/// As-soon-as-possible schedule: the vertices in time order with, per position, the cycle cost
/// (truncated to a whole number) and the finish time. A gate starts when the last gate before
/// it on any of its lines has finished.
struct Schedule {
    std::vector<Vertex> order;
    std::vector<int64_t> cost;
    std::vector<int64_t> finish;
    std::unordered_map<Vertex, std::size_t> position;
    int64_t makespan = 0;  // finish time of SINK; 0 without SINK
};

/// Truncates toward zero to a whole number of cycles.
// NOTE: 64-bit: logical cycle counts at high levels exceed the range of int.
int64_t whole_cycles(double value) {
    if (!(value == value)) return 0;  // NaN
    constexpr double kLimit = 9.0e18;
    if (value >= kLimit) return static_cast<int64_t>(kLimit);
    if (value <= -kLimit) return -static_cast<int64_t>(kLimit);
    return static_cast<int64_t>(value);
}

double vertex_cycle_cost(GraphCircuit& c, Vertex v, PMD_type pmd) {
    const Graph& g = c.graph;
    const Gate_type kind = get(boost::vertex_gate, g, v);
    const double angle = get(boost::vertex_angle, g, v);
    if (c.code == qec_none) return CostCycleCount::get_cycle_cost(kind, pmd, angle);
    return c.tile_table.getOpsCyc(c.code, kind, angle, get(boost::vertex_control, g, v),
                                  get(boost::vertex_target, g, v), 1);
}

/// O(V + E) after the topological sort (O(V + E) as well); one hash lookup per edge.
Schedule build_schedule(GraphCircuit& c, PMD_type pmd) {
    Schedule s;
    s.order = c.topological_order();
    const std::size_t n = s.order.size();
    s.cost.resize(n);
    s.finish.resize(n);
    s.position.reserve(n);
    const Graph& g = c.graph;
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex v = s.order[i];
        int64_t start = 0;
        for (auto [it, end] = boost::in_edges(v, g); it != end; ++it) {
            auto p = s.position.find(boost::source(*it, g));
            if (p == s.position.end()) {
                std::cout << "Error: Critical Path, cost of previous node not found" << std::endl;
                continue;
            }
            start = std::max(start, s.finish[p->second]);
        }
        const double cost = vertex_cycle_cost(c, v, pmd);
        s.cost[i] = whole_cycles(cost);
        s.finish[i] = whole_cycles(static_cast<double>(start) + cost);
        s.position.emplace(v, i);
        if (get(boost::vertex_gate, g, v) == SINK) s.makespan = s.finish[i];
    }
    return s;
}

}  // namespace

double GraphCircuit::num_ops(PMD_type pmd) {
    const int first_gate = 2 * num_qubits;  // indices below belong to markers
    double total = 0;
    if (code == qec_none) {
        // Whole-number prices: the order of the additions does not matter.
        for (auto [it, end] = boost::vertices(graph); it != end; ++it)
            if (get(boost::vertex_index, graph, *it) >= first_gate)
                total += cost_gate_count.get_gate_cost(get(boost::vertex_gate, graph, *it), pmd);
        return total;
    }
    // Logical prices are doubles: add them in time order.
    for (Vertex v : topological_order()) {
        if (get(boost::vertex_index, graph, v) < first_gate) continue;
        total += tile_table.getOpsCyc(
            code, get(boost::vertex_gate, graph, v), get(boost::vertex_angle, graph, v),
            get(boost::vertex_control, graph, v), get(boost::vertex_target, graph, v), 0);
    }
    return total;
}

double GraphCircuit::num_cycles(PMD_type pmd) {
    // The critical path itself is not needed for the count, so it is not computed here.
    return static_cast<double>(build_schedule(*this, pmd).makespan);
}

void GraphCircuit::find_critical_path(std::vector<Vertex>& path) {
    path.clear();
    const Schedule s = build_schedule(*this, pmd);
    const std::size_t n = s.order.size();
    if (n == 0) return;

    // Latest finish times, walking sinks first: a vertex must finish before each successor's
    // latest start.
    std::vector<int64_t> latest(n, s.makespan);
    for (std::size_t i = n; i-- > 0;) {
        const int64_t latest_start = latest[i] - s.cost[i];
        for (auto [it, end] = boost::in_edges(s.order[i], graph); it != end; ++it) {
            auto p = s.position.find(boost::source(*it, graph));
            if (p == s.position.end()) continue;
            latest[p->second] = std::min(latest[p->second], latest_start);
        }
    }

    // Walk one chain of zero-slack vertices from SOURCE to SINK. From each vertex the next one
    // is a successor with zero slack that starts exactly when this one finishes; ties go to the
    // line the walk arrived on, then to the lowest line number.
    const int first_gate = 2 * num_qubits;
    std::size_t cur = 0;  // SOURCE: the only vertex without in-edges comes first
    if (boost::in_degree(s.order[0], graph) != 0) return;
    int arrival_line = -1;
    for (;;) {
        std::size_t next = n;
        int next_line = std::numeric_limits<int>::max();
        for (auto [it, end] = boost::out_edges(s.order[cur], graph); it != end; ++it) {
            auto p = s.position.find(boost::target(*it, graph));
            if (p == s.position.end()) continue;
            const std::size_t w = p->second;
            if (latest[w] != s.finish[w] || s.finish[w] - s.cost[w] != s.finish[cur]) continue;
            const int line = get(boost::edge_line, graph, *it);
            const bool better = next == n || (line == arrival_line && next_line != arrival_line) ||
                                (next_line != arrival_line && line < next_line);
            if (better) {
                next = w;
                next_line = line;
            }
        }
        if (next == n) break;
        if (get(boost::vertex_index, graph, s.order[next]) >= first_gate)
            path.push_back(s.order[next]);
        cur = next;
        arrival_line = next_line;
    }
}
