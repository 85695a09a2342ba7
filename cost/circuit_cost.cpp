// Operation counts, the as-soon-as-possible cycle count and the critical path of a circuit.
#include "cost/circuit_cost.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "circuit/fatal.h"

using boost::get;

namespace {

/// Truncates toward zero to a whole number of cycles.
// NOTE: 64-bit: logical cycle counts at high levels exceed the range of int.
int64_t whole_cycles(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9.0e18;
    if (value >= kLimit) return static_cast<int64_t>(kLimit);
    if (value <= -kLimit) return -static_cast<int64_t>(kLimit);
    return static_cast<int64_t>(value);
}

/// a - b, held at the int64 range instead of overflowing (huge logical costs at high levels).
int64_t saturated_difference(int64_t a, int64_t b) {
    int64_t result;
    if (__builtin_sub_overflow(a, b, &result)) return b > 0 ? INT64_MIN : INT64_MAX;
    return result;
}

/// Price of one vertex under a measure.
double vertex_cost(const Graph& g, const CostModel& cost, Vertex v, Measure m) {
    return cost.gate_cost(get(boost::vertex_gate, g, v), get(boost::vertex_angle, g, v),
                          get(boost::vertex_control, g, v), get(boost::vertex_target, g, v), m);
}

/// As-soon-as-possible schedule: a gate starts when the last gate before it on any of its lines
/// has finished. Each record is one vertex (line markers included, SOURCE and SINK left out,
/// both costing 0) with its cost and finish time truncated to whole cycles, and its predecessor
/// record on each of its lines (-1: the line's start).
struct Schedule {
    struct Record {
        Vertex vertex;
        int64_t cost;
        int64_t finish;
        int pred[2];       // predecessor records, one per line of the vertex
        int pred_line[2];  // the line of each predecessor (-1: unused)
    };
    std::vector<Record> records;  // in an order where predecessors come first
    std::vector<int> line_end_record;
    int64_t makespan = 0;  // the finish time of SINK
};

/// Builds the schedule by walking the lines: each line advances over its one-qubit gates, and a
/// two-qubit gate is timed once both of its lines have reached it. The finish times equal those
/// of a walk in topological order. O(V + E): no sorting and no vertex-keyed maps.
Schedule build_schedule(const CircuitGraph& c, const CostModel& cost_model) {
    const Graph& g = c.graph;
    const Measure measure = cycles_measure(cost_model.code);
    const int n = static_cast<int>(std::min(c.line_start.size(), c.line_end.size()));
    Schedule s;
    s.records.reserve(boost::num_vertices(g));
    s.line_end_record.assign(n, -1);
    std::vector<int64_t> clock(n, 0);  // finish time of the line's last timed vertex
    std::vector<int> last(n, -1);      // record of the line's last timed vertex
    std::vector<Vertex> position(n);   // next vertex to time on the line
    std::vector<bool> waiting(n, false);
    std::vector<int> runnable;
    for (int q = n - 1; q >= 0; --q) {
        position[q] = c.line_start[q];
        runnable.push_back(q);
    }
    int finished_lines = 0;
    while (!runnable.empty()) {
        const int q = runnable.back();
        runnable.pop_back();
        Vertex v = position[q];
        for (;;) {
            const Gate_type kind = get(boost::vertex_gate, g, v);
            if (is_2Q_gate(kind)) {
                const int control = get(boost::vertex_control, g, v);
                const int other = (control == q) ? get(boost::vertex_target, g, v) : control;
                if (other < 0 || other >= n || other == q)
                    fatal_error("Error: Critical Path, broken two-qubit gate on line " +
                                std::to_string(q));
                if (!(waiting[other] && position[other] == v)) {
                    waiting[q] = true;  // the partner line has not reached the gate yet
                    position[q] = v;
                    break;
                }
                const double cost = vertex_cost(g, cost_model, v, measure);
                const int64_t start = std::max(clock[q], clock[other]);
                const int record = static_cast<int>(s.records.size());
                s.records.push_back({v,
                                     whole_cycles(cost),
                                     whole_cycles(static_cast<double>(start) + cost),
                                     {last[q], last[other]},
                                     {q, other}});
                clock[q] = clock[other] = s.records.back().finish;
                last[q] = last[other] = record;
                waiting[other] = false;
                position[other] = next_node(g, v, other);
                runnable.push_back(other);
                v = next_node(g, v, q);
                continue;
            }
            const double cost = vertex_cost(g, cost_model, v, measure);
            const int record = static_cast<int>(s.records.size());
            s.records.push_back({v,
                                 whole_cycles(cost),
                                 whole_cycles(static_cast<double>(clock[q]) + cost),
                                 {last[q], -1},
                                 {q, -1}});
            clock[q] = s.records.back().finish;
            last[q] = record;
            if (kind == OUT) {
                s.line_end_record[q] = record;
                s.makespan = std::max(s.makespan, clock[q]);
                ++finished_lines;
                break;
            }
            v = next_node(g, v, q);
        }
    }
    if (finished_lines != n)
        fatal_error("Error: Critical Path, a two-qubit gate is not reached by both of its lines");
    return s;
}

/// True when every term is a whole number and their magnitudes add up to at most 2^53: then
/// every partial sum is exact and the total does not depend on the order of the additions.
class ExactSum {
  public:
    void add(double term) {
        total_ += term;
        magnitude_ += std::fabs(term);
        exact_ = exact_ && term == std::trunc(term);
    }
    bool exact() const { return exact_ && magnitude_ <= 9007199254740992.0; }
    double total() const { return total_; }

  private:
    double total_ = 0.0, magnitude_ = 0.0;
    bool exact_ = true;
};

}  // namespace

bool ops_from_kind_counts(const CircuitGraph& c, const CostModel& cost, PMD_type pmd,
                          double& total) {
    const GateKindCounts& kind_counts = c.kind_counts;
    const CostGateCount& cost_gate_count = cost.cost_gate_count;
    if (kind_counts.vertices != static_cast<int64_t>(boost::num_vertices(c.graph))) return false;
    double sum = 0.0, magnitude = 0.0;
    for (int k = 0; k < IN; ++k) {  // line markers cost nothing
        const int64_t n = kind_counts.count[static_cast<size_t>(k)];
        if (n == 0) continue;
        const Gate_type kind = static_cast<Gate_type>(k);
        // Only kinds with a plain price; anything else is reported by the full count.
        auto row = cost_gate_count.table.find(kind);
        if (row == cost_gate_count.table.end() && kind == ZENO_dag)
            row = cost_gate_count.table.find(ZENO);
        if (row == cost_gate_count.table.end() || pmd < 0 ||
            static_cast<size_t>(pmd) >= row->second.size())
            return false;
        const double price = row->second[static_cast<size_t>(pmd)];
        sum += static_cast<double>(n) * price;
        magnitude += static_cast<double>(n) * std::fabs(price);
    }
    if (magnitude > 9007199254740992.0) return false;
    total = sum;
    return true;
}

double num_ops(const CircuitGraph& c, const CostModel& cost, PMD_type pmd) {
    const Graph& graph = c.graph;
    const CostModel priced = cost.on(pmd);
    const Measure measure = ops_measure(cost.code);
    // Without a code every price is a whole number: the count can come from the kind counts.
    double counted = 0.0;
    if (cost.code == qec_none && ops_from_kind_counts(c, cost, pmd, counted)) return counted;
    const int first_gate = 2 * c.num_qubits;  // indices below belong to markers
    ExactSum sum;
    for (auto [it, end] = boost::vertices(graph); it != end; ++it) {
        if (get(boost::vertex_index, graph, *it) < first_gate) continue;
        sum.add(vertex_cost(graph, priced, *it, measure));
    }
    if (sum.exact()) return sum.total();
    // Fractional or huge logical prices: add them in time order, as the count is defined.
    double total = 0;
    for (Vertex v : c.topological_order()) {
        if (get(boost::vertex_index, graph, v) < first_gate) continue;
        total += vertex_cost(graph, priced, v, measure);
    }
    return total;
}

double num_cycles(const CircuitGraph& c, const CostModel& cost, PMD_type pmd) {
    // The critical path itself is not needed for the count, so it is not computed here.
    return static_cast<double>(build_schedule(c, cost.on(pmd)).makespan);
}

void find_critical_path(const CircuitGraph& c, const CostModel& cost, std::vector<Vertex>& path) {
    path.clear();
    const Schedule s = build_schedule(c, cost);
    const int count = static_cast<int>(s.records.size());

    // Latest finish times, sinks first: a vertex must finish before each successor's latest
    // start. Slack = latest - finish; zero slack puts a vertex on a critical path.
    std::vector<int64_t> latest(count, s.makespan);
    for (int i = count - 1; i >= 0; --i) {
        const Schedule::Record& r = s.records[i];
        for (int p : r.pred)
            if (p >= 0) latest[p] = std::min(latest[p], saturated_difference(latest[i], r.cost));
    }
    auto on_critical_path = [&](int i) { return latest[i] == s.records[i].finish; };

    // One critical path, walked back from SINK: each step takes a zero-slack predecessor that
    // finishes exactly when the current vertex starts; ties go to the line the walk is on, then
    // to the lowest line.
    int line = -1, current = -1;
    for (int q = 0; q < static_cast<int>(s.line_end_record.size()); ++q) {
        const int r = s.line_end_record[q];
        if (r >= 0 && s.records[r].finish == s.makespan && on_critical_path(r)) {
            line = q;
            current = r;
            break;
        }
    }
    const int first_gate = 2 * c.num_qubits;
    while (current >= 0) {
        const Schedule::Record& r = s.records[current];
        if (get(boost::vertex_index, c.graph, r.vertex) >= first_gate) path.push_back(r.vertex);
        const int64_t start = saturated_difference(r.finish, r.cost);
        int next = -1, next_line = -1;
        for (int k = 0; k < 2; ++k) {
            const int p = r.pred[k];
            if (r.pred_line[k] < 0 || p < 0) continue;
            if (s.records[p].finish != start || !on_critical_path(p)) continue;
            const int l = r.pred_line[k];
            if (next < 0 || l == line || (next_line != line && l < next_line)) {
                next = p;
                next_line = l;
            }
        }
        current = next;
        line = next_line;
    }
    std::reverse(path.begin(), path.end());
}
