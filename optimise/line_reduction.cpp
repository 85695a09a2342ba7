// The one-qubit line reduction pass, line copy and write-back, and the GraphCircuit members of
// the line stages (which forward to the free functions with the incremental strategy).

#include "optimise/line_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "optimise/line_rotation.h"

namespace line {

bool same_record(const Gate& a, const Gate& b) {
    auto same_bits = [](double x, double y) { return std::memcmp(&x, &y, sizeof(double)) == 0; };
    return a.type == b.type && a.control == b.control && a.target == b.target &&
           same_bits(a.angle, b.angle) && same_bits(a.angle1, b.angle1) &&
           same_bits(a.angle2, b.angle2);
}

namespace {

// True when the vertices of a run hold, in order, the records [rec, rec_end).
template <typename Iter>
bool run_holds(const Graph& graph, const std::vector<Vertex>& run, size_t begin, size_t end,
               Iter rec, Iter rec_end) {
    for (size_t i = begin; i < end; ++i, ++rec)
        if (rec == rec_end || !same_record(vertex_gate_record(graph, run[i]), *rec)) return false;
    return rec == rec_end;
}

// Moves the out-edge of v on line q behind v's other out-edges. Rebuilding the run after v
// does this (the edge is removed with the run's first vertex and added again); the order of
// the out-edges decides the gate order of the written netlist, so a run left in place must
// change it the same way.
void move_out_edge_to_back(Graph& graph, Vertex v, int q) {
    if (boost::out_degree(v, graph) < 2) return;
    auto [it, end] = boost::out_edges(v, graph);
    for (; it != end; ++it)
        if (boost::get(boost::edge_line, graph, *it) == q) break;
    if (it == end || std::next(it) == end) return;
    const Vertex next = boost::target(*it, graph);
    boost::remove_edge(*it, graph);
    boost::add_edge(v, next, q, graph);
}

}  // namespace

// revise_a_line over any range of records (a line's list or a snapshot of it). A run whose
// vertices already hold its records is left in place, with its indices: the graph then equals
// the rebuilt one in everything but the indices and list positions of those vertices, which
// no pass and no output depends on. Only the runs that change are rebuilt.
template <typename Iter>
void rebuild_line(GraphCircuit& c, int q, Iter first, Iter last, double phase) {
    Graph& graph = c.graph;
    c.global_phase += phase;

    // One walk along the line: the anchors (two-qubit vertices and OUT) and, before each, the
    // one-qubit vertices that clear_path would remove.
    std::vector<Vertex> anchors;
    std::vector<Vertex> interior;
    std::vector<size_t> interior_end;  // per anchor, the end of its run in `interior`
    interior.reserve(static_cast<size_t>(std::distance(first, last)));
    for (Vertex v = c.line_start[q]; v != c.line_end[q];) {
        v = next_node(graph, v, q);
        if (is_2Q_gate(boost::get(boost::vertex_gate, graph, v)) || v == c.line_end[q]) {
            anchors.push_back(v);
            interior_end.push_back(interior.size());
        } else {
            interior.push_back(v);
        }
    }
    const long n2 = std::count_if(first, last, [](const Gate& g) { return is_2Q_gate(g.type); });
    if (n2 != static_cast<long>(anchors.size()) - 1)
        std::cerr << "Error! GraphCircuit::revise_a_line, the number of 2-qubit gates are "
                     "different."
                  << std::endl;

    // The records are read in order, the IN record skipped.
    Iter rec = first;
    if (rec != last) ++rec;
    Vertex cur = c.line_start[q];
    size_t run_begin = 0;
    for (size_t k = 0; k < anchors.size(); ++k) {
        const Vertex a = anchors[k];
        Iter rec_end = rec;
        while (rec_end != last && rec_end->type < 20) ++rec_end;
        const bool cleared = interior_end[k] > run_begin;
        const bool refill = rec != rec_end;
        if (cleared && refill &&
            run_holds(graph, interior, run_begin, interior_end[k], rec, rec_end)) {
            move_out_edge_to_back(graph, cur, q);
            rec = rec_end;
        } else {
            if (cleared || refill) c.note_line_edit(q);
            // clear_path(q, cur, a), with the run found by the walk above.
            for (size_t i = run_begin; i < interior_end[k]; ++i) c.erase_vertex(interior[i]);
            if (cleared && !refill) boost::add_edge(cur, a, q, graph);
            // The new run cur -> v1 -> ... -> vk -> a. Linking the chain directly leaves the
            // graph exactly as inserting each vertex before a in turn would (same vertex
            // order, same edge order at every vertex: the edges that the step-by-step
            // insertion adds and removes again leave no trace).
            if (refill) {
                if (!cleared) remove_an_edge(graph, cur, q);
                for (; rec != rec_end; ++rec) {
                    Vertex v = c.new_vertex(rec->type, rec->angle, rec->angle1, rec->angle2,
                                            rec->control, rec->target);
                    boost::add_edge(cur, v, q, graph);
                    cur = v;
                }
                boost::add_edge(cur, a, q, graph);
            }
        }
        run_begin = interior_end[k];
        if (rec != last) ++rec;  // the record standing for the anchor
        cur = a;
    }
}

namespace {

// A copy of a line's records and phase in one block of memory; taking it again reuses the
// block, so the pass copies lines without allocating per record.
struct Snapshot {
    std::vector<Gate> gates;
    double phase = 0.0;

    void take(const LineOfGates& L) {
        gates.assign(L.gates.begin(), L.gates.end());
        phase = L.phase;
    }
    /// Same meaning as LineOfGates::operator==.
    bool equals(const LineOfGates& L) const {
        return phase == L.phase && gates.size() == L.gates.size() &&
               std::equal(gates.begin(), gates.end(), L.gates.begin());
    }
};

void run_stages(GraphCircuit& c, int q, LineOfGates& L, bool xlzr, int mode, Strategy s,
                KnownCost* known = nullptr) {
    if (xlzr) {
        interchange_xlzr(c, L, -1, -1, mode, s, known);
        movement_xlzr(c, q, L, -1, -1, mode, s, known);
    } else {
        interchange_xrzl(c, L, -1, -1, mode, s, known);
        movement_xrzl(c, q, L, -1, -1, mode, s, known);
    }
    simplify(c, L, -1, -1, mode, s, known);
}

// True when the window -1, -1 of the line prices like the whole line: the first record is a
// marker, the last one is OUT and no other record is OUT (lines copied from the graph).
bool window_is_whole_line(const LineOfGates& L) {
    if (L.gates.size() < 2 || L.gates.front().type < IN || L.gates.back().type != OUT) return false;
    long outs =
        std::count_if(L.gates.begin(), L.gates.end(), [](const Gate& g) { return g.type == OUT; });
    return outs == 1;
}

// Repetitions of the stages for a line with n2 two-qubit records: min(n2, 4), and one for a
// line without any, so that its one-qubit run is reduced too.
// NOTE: a plain min(n2, 4) gives such a line no repetition, and since only a repetition's result
// can be kept, `H`, `H` alone on a line would be written back as it came.
int line_repetitions(int n2) {
    return std::max(1, std::min(n2, 4));
}

// The pass as described, copying whole lines: the reference for the tests.
void reduce_line_literal(GraphCircuit& c, int q, bool xlzr, int mode) {
    const Strategy s = Strategy::Literal;
    LineOfGates L;
    c.copy_a_line(q, L);
    LineOfGates best = L;
    const int n2 = num_2Q_gate(L.gates);
    double cost_best = whole_line_cost(c, L.gates, mode, s);
    simplify(c, L, -1, -1, mode, s);
    for (int k = 0; k < line_repetitions(n2); ++k) {
        LineOfGates prev = L;
        run_stages(c, q, L, xlzr, mode, s);
        double cost = whole_line_cost(c, L.gates, mode, s);
        if (cost_best > cost) {
            best = L;
            cost_best = cost;
        }
        if (L == prev) break;
    }
    c.revise_a_line(q, best);
}

// True when line q holds, from IN to OUT, exactly the records of `records` (indices aside).
// `runs_after` then lists, in order, the vertices (IN and two-qubit) that a non-empty run of
// one-qubit vertices follows on the line.
bool line_holds(GraphCircuit& c, int q, const std::vector<Gate>& records,
                std::vector<Vertex>& runs_after) {
    runs_after.clear();
    auto rec = records.begin();
    Vertex anchor = c.line_start[q];
    bool run = false;
    for (Vertex v = c.line_start[q];; v = next_node(c.graph, v, q)) {
        const Gate g = vertex_gate_record(c.graph, v);
        if (rec == records.end() || !same_record(g, *rec)) return false;
        ++rec;
        if (g.type == OUT || is_2Q_gate(g.type)) {
            if (run) runs_after.push_back(anchor);
            anchor = v;
            run = false;
        } else if (v != c.line_start[q]) {
            run = true;
        }
        if (g.type == OUT) break;
    }
    return rec == records.end();
}

// True when line q still holds the records memo.input. A line that this circuit checked before
// and has not edited since (same edit count) holds them without a walk: every change to what a
// line holds raises its count, and the vertices that its runs follow are still on it. Otherwise
// the line is walked, and a successful walk is recorded for the next check.
bool still_holds(GraphCircuit& c, int q, ReductionMemo::Entry& memo,
                 std::vector<Vertex>& runs_after) {
    const uint64_t edits = c.line_edits[static_cast<size_t>(q)];
    if (memo.checked_by == &c && memo.checked_edits == edits) return true;
    if (!line_holds(c, q, memo.input, runs_after)) return false;
    memo.checked_by = &c;
    memo.checked_edits = edits;
    memo.runs_after.assign(runs_after.begin(), runs_after.end());
    return true;
}

// Stores the result of reducing the line whose records are memo.input.
void remember(ReductionMemo::Entry& memo, const Snapshot& best, int mode, PMD_type pmd) {
    memo.output_is_input =
        best.gates.size() == memo.input.size() &&
        std::equal(best.gates.begin(), best.gates.end(), memo.input.begin(), same_record);
    if (memo.output_is_input)
        memo.output.clear();
    else
        memo.output = best.gates;
    memo.phase = best.phase;
    memo.mode = mode;
    memo.pmd = pmd;
    memo.valid = true;
}

}  // namespace

void reduce_lines(GraphCircuit& c, Strategy s) {
    if (c.num_qubits < 1) return;
    const int mode = c.code != qec_none ? 2 : 0;
    Snapshot best, prev;  // reused for every line
    std::vector<Vertex> runs_after;
    for (int pass = 0; pass < 2; ++pass) {
        const bool xlzr = pass == 0;
        for (int q = 0; q < c.num_qubits; ++q) {
            if (s == Strategy::Literal) {
                reduce_line_literal(c, q, xlzr, mode);
                continue;
            }
            ReductionMemo::Entry& memo = c.line_reduction_memo.entry(pass, q);
            if (memo.valid && memo.mode == mode && memo.pmd == c.pmd &&
                still_holds(c, q, memo, runs_after)) {
                if (memo.output_is_input) {
                    // What writing the same records back does: every run stays in place.
                    c.global_phase += memo.phase;
                    for (void* v : memo.runs_after) move_out_edge_to_back(c.graph, v, q);
                } else {
                    rebuild_line(c, q, memo.output.begin(), memo.output.end(), memo.phase);
                }
                continue;
            }
            memo.valid = false;
            memo.checked_by = nullptr;
            LineOfGates L;
            c.copy_a_line(q, L);
            best.take(L);
            memo.input = best.gates;
            const int n2 = num_2Q_gate(L.gates);
            double cost_best = whole_line_cost(c, L.gates, mode, s);
            KnownCost known{true, mode, cost_best};
            KnownCost* chain = window_is_whole_line(L) ? &known : nullptr;
            simplify(c, L, -1, -1, mode, s, chain);
            for (int k = 0; k < line_repetitions(n2); ++k) {
                prev.take(L);
                run_stages(c, q, L, xlzr, mode, s, chain);
                double cost = chain != nullptr && known.valid && known.mode == mode
                                  ? known.value
                                  : whole_line_cost(c, L.gates, mode, s);
                if (cost_best > cost) {
                    best.take(L);
                    cost_best = cost;
                }
                if (prev.equals(L)) break;
            }
            remember(memo, best, mode, c.pmd);
            rebuild_line(c, q, best.gates.begin(), best.gates.end(), best.phase);
        }
    }
}

}  // namespace line

using line::Strategy;

void GraphCircuit::reduce1Qgate() {
    line::reduce_lines(*this, Strategy::Incremental);
}

void GraphCircuit::copy_a_line(int q, LineOfGates& L) {
    // NOTE: a negative line number is refused like one past the last line (it would index
    // outside the line vectors).
    if (q < 0 || q >= num_qubits) fatal_error_stderr("Error! GraphCircuit::copy_a_line");
    Vertex v = line_start[q];
    L.gates.push_back(vertex_gate_record(graph, v));
    while (boost::get(boost::vertex_gate, graph, v) != OUT) {
        v = next_node(graph, v, q);
        L.gates.push_back(vertex_gate_record(graph, v));
    }
}

void GraphCircuit::clear_path(int q, Vertex from, Vertex to) {
    std::vector<Vertex> doomed;
    for (Vertex v = next_node(graph, from, q); v != to; v = next_node(graph, v, q))
        doomed.push_back(v);
    for (Vertex v : doomed) erase_vertex(v);
    if (!doomed.empty()) boost::add_edge(from, to, q, graph);
}

void GraphCircuit::revise_a_line(int q, LineOfGates& L) {
    line::rebuild_line(*this, q, L.gates.begin(), L.gates.end(), L.phase);
}

void GraphCircuit::simplify(LineOfGates& L, int from, int to, int mode) {
    line::simplify(*this, L, from, to, mode, Strategy::Incremental);
}
void GraphCircuit::simplify1(LineOfGates& L, int from, int to, int mode) {
    line::simplify1(*this, L, from, to, mode, Strategy::Incremental);
}
void GraphCircuit::simplify2(LineOfGates& L, int from, int to, int mode) {
    line::simplify2(*this, L, from, to, mode, Strategy::Incremental);
}
void GraphCircuit::simplify3(LineOfGates& L, int from, int to, int mode) {
    line::simplify3(*this, L, from, to, mode, Strategy::Incremental);
}
void GraphCircuit::interchangeXLZR(LineOfGates& L, int from, int to, int mode) {
    line::interchange_xlzr(*this, L, from, to, mode, Strategy::Incremental);
}
void GraphCircuit::interchangeXRZL(LineOfGates& L, int from, int to, int mode) {
    line::interchange_xrzl(*this, L, from, to, mode, Strategy::Incremental);
}
void GraphCircuit::movementXLZR(int q, LineOfGates& L, int from, int to, int mode) {
    line::movement_xlzr(*this, q, L, from, to, mode, Strategy::Incremental);
}
void GraphCircuit::movementXRZL(int q, LineOfGates& L, int from, int to, int mode) {
    line::movement_xrzl(*this, q, L, from, to, mode, Strategy::Incremental);
}

void GraphCircuit::split_angles(LineOfGates& L) {
    for (auto it = L.gates.begin(); it != L.gates.end(); ++it) {
        if (!line::is_rotation(it->type)) continue;
        const double a = it->angle;
        const double whole = std::round(a);  // halves away from 0
        if (a - whole == 0) continue;
        Gate first(it->type, whole, 0, 0, -1, it->target, ++gate_counter);
        Gate rest(it->type, a - whole, 0, 0, -1, it->target, ++gate_counter);
        *it = first;
        it = L.gates.insert(std::next(it), rest);
    }
}
