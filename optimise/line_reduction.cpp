// The one-qubit line reduction pass over every line, with its memo of lines already reduced.

#include "optimise/line_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <vector>

#include "circuit/circuit_graph.h"
#include "optimise/line_rotation.h"
#include "optimise/line_segments.h"

namespace line {

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

// True when the window -1, -1 of the line prices like the whole line: the first record is a
// marker, the last one is OUT and no other record is OUT (lines copied from the graph).
bool window_is_whole_line(const LineOfGates& L) {
    if (L.gates.size() < 2 || L.gates.front().type < IN || L.gates.back().type != OUT) return false;
    long outs =
        std::count_if(L.gates.begin(), L.gates.end(), [](const Gate& g) { return g.type == OUT; });
    return outs == 1;
}

// True when a line, read record by record from IN by `read(g, v)` (the next record and its
// vertex), holds exactly `records` (indices aside) up to its OUT. `runs_after` then lists, in
// order, the vertices (IN and two-qubit) that a non-empty run of one-qubit vertices follows.
template <typename Read>
bool holds_records(Read read, const std::vector<Gate>& records, std::vector<Vertex>& runs_after) {
    runs_after.clear();
    Vertex anchor{};
    bool run = false;
    for (size_t i = 0; i < records.size(); ++i) {
        Gate g;
        Vertex v;
        read(g, v);
        if (!same_record(g, records[i])) return false;
        if (i == 0) {
            anchor = v;
        } else if (g.type == OUT || is_2Q_gate(g.type)) {
            if (run) runs_after.push_back(anchor);
            anchor = v;
            run = false;
        } else {
            run = true;
        }
        if (g.type == OUT) return i + 1 == records.size();
    }
    return false;
}

// The check by a walk along line q of the graph.
bool line_holds(const CircuitGraph& c, int q, const std::vector<Gate>& records,
                std::vector<Vertex>& runs_after) {
    Vertex at = Graph::null_vertex();
    auto read = [&](Gate& g, Vertex& v) {
        at = at == Graph::null_vertex() ? c.line_start[q] : next_node(c.graph, at, q);
        g = vertex_gate_record(c.graph, at);
        v = at;
    };
    return holds_records(read, records, runs_after);
}

// The same check against what the pass last wrote on the line, which the line still holds:
// `written` (its records) and `vertices` (theirs), without walking the graph.
bool written_holds(const std::vector<Gate>& written, const std::vector<Vertex>& vertices,
                   const std::vector<Gate>& records, std::vector<Vertex>& runs_after) {
    runs_after.clear();
    if (written.size() != records.size() || vertices.size() != written.size()) return false;
    size_t i = 0;
    auto read = [&](Gate& g, Vertex& v) {
        g = written[i];
        v = vertices[i];
        ++i;
    };
    return holds_records(read, records, runs_after);
}

// True when line q still holds the records memo.input. A line that this circuit checked before
// and has not edited since (same edit count) holds them without a walk: every change to what a
// line holds raises its count, and the vertices that its runs follow are still on it. Otherwise
// the line is compared, through what the pass last wrote on it when it holds that still, else by
// a walk, and a successful comparison is recorded for the next check.
bool still_holds(const CircuitGraph& c, int q, ReductionMemo::Entry& memo,
                 const ReductionMemo::Written* written, std::vector<Vertex>& runs_after) {
    const uint64_t edits = c.line_edits[static_cast<size_t>(q)];
    if (memo.checked_by == &c && memo.checked_edits == edits) return true;
    const bool holds =
        written != nullptr
            ? written_holds(written->records, written->vertices.vertices, memo.input, runs_after)
            : line_holds(c, q, memo.input, runs_after);
    if (!holds) return false;
    memo.checked_by = &c;
    memo.checked_edits = edits;
    memo.runs_after.assign(runs_after.begin(), runs_after.end());
    return true;
}

// Stores the result of reducing the line whose records are memo.input: the kept copy's records
// and phase.
void remember(ReductionMemo::Entry& memo, const std::vector<Gate>& best, double phase, Measure mode,
              PMD_type pmd) {
    memo.output_is_input = &best == &memo.input ||
                           (best.size() == memo.input.size() &&
                            std::equal(best.begin(), best.end(), memo.input.begin(), same_record));
    if (memo.output_is_input)
        memo.output.clear();
    else
        memo.output = best;
    memo.phase = phase;
    memo.mode = mode;
    memo.pmd = pmd;
    memo.valid = true;
}

}  // namespace

const ReductionMemo::Written* ReductionMemo::still_written(const CircuitGraph& c, int q) const {
    if (q < 0 || static_cast<size_t>(q) >= written.size()) return nullptr;
    const Written& w = written[static_cast<size_t>(q)];
    const bool holds = w.by == &c && w.vertices.line == q && !w.vertices.vertices.empty() &&
                       w.vertices.edits == c.line_edits[static_cast<size_t>(q)];
    return holds ? &w : nullptr;
}

ReductionMemo::Written& ReductionMemo::note_written(const CircuitGraph& c, int q,
                                                    CircuitGraph::LineVertices& vertices) {
    Written& w = written_on(q);
    std::swap(w.vertices, vertices);
    w.by = &c;
    w.token = ++writings;
    return w;
}

// Repetitions of the stages for a line with n2 two-qubit records: min(n2, 4), and one for a
// line without any, so that its one-qubit run is reduced too.
// NOTE: a plain min(n2, 4) gives such a line no repetition, and since only a repetition's result
// can be kept, `H`, `H` alone on a line would be written back as it came.
int line_repetitions(int n2) {
    return std::max(1, std::min(n2, 4));
}

void run_stages(const CostModel& c, int q, LineOfGates& L, bool xlzr, Measure mode, Strategy s,
                KnownCost* known) {
    if (xlzr) {
        interchange_xlzr(c, L, -1, -1, mode, s, known);
        movement_xlzr(c, q, L, -1, -1, mode, s, known);
    } else {
        interchange_xrzl(c, L, -1, -1, mode, s, known);
        movement_xrzl(c, q, L, -1, -1, mode, s, known);
    }
    simplify(c, L, -1, -1, mode, s, known);
}

void reduce_lines(CircuitGraph& c, const CostModel& cost, ReductionMemo& memos, LineWalk walk) {
    if (c.num_qubits < 1) return;
    const Strategy s = Strategy::Incremental;
    const Measure mode = ops_measure(cost.code);
    Snapshot best, prev;  // reused for every line
    ReductionMemo::Scratch& scratch = memos.scratch;
    std::vector<Vertex>& runs_after = scratch.runs_after;
    CircuitGraph::LineVertices& walked = scratch.walked;  // the line as copied, for writing it back
    CircuitGraph::LineVertices& fresh = scratch.fresh;    // the line as written
    SegmentWalkResult& kept = scratch.kept;
    // Sized once: the walks hold iterators into their lines' lists.
    const size_t lines = static_cast<size_t>(c.num_qubits);
    if (scratch.lines.size() < lines) scratch.lines.resize(lines);
    if (scratch.walks.size() < lines) scratch.walks.resize(lines);
    for (int pass = 0; pass < 2; ++pass) {
        const bool xlzr = pass == 0;
        for (int q = 0; q < c.num_qubits; ++q) {
            ReductionMemo::Entry& memo = memos.entry(pass, q);
            const ReductionMemo::Written* carried = memos.still_written(c, q);
            // The line copy: each line reuses its own list's nodes from call to call, which stay
            // near each other in memory in line order (walks over a long line miss the cache
            // much less than over nodes shared by lines of every length).
            LineOfGates& L = scratch.lines[static_cast<size_t>(q)];
            SegmentWalk& segments = scratch.walks[static_cast<size_t>(q)];
            // Writes `records` as line q and keeps them, with their vertices, as what the pass
            // wrote last.
            // `walked_line` (optional) holds `walked_records` (optional) as the line does now.
            auto write = [&](const std::vector<Gate>& records, double phase,
                             const CircuitGraph::LineVertices* walked_line,
                             const std::vector<Gate>* walked_records) {
                c.revise_a_line(q, records, phase, walked_line, &fresh, walked_records);
                ReductionMemo::Written& w = memos.note_written(c, q, fresh);
                if (&records != &w.records) w.records.assign(records.begin(), records.end());
            };
            if (memo.valid && memo.mode == mode && memo.pmd == cost.pmd &&
                still_holds(c, q, memo, carried, runs_after)) {
                if (memo.output_is_input) {
                    // What writing the same records back does: every run stays in place.
                    c.global_phase += memo.phase;
                    c.move_out_edges_to_back(memo.runs_after, q);
                } else {
                    write(memo.output, memo.phase,
                          carried != nullptr ? &carried->vertices : nullptr,
                          carried != nullptr ? &carried->records : nullptr);
                }
                continue;
            }
            memo.valid = false;
            memo.checked_by = nullptr;
            const CircuitGraph::LineVertices* line_vertices = &walked;
            if (carried != nullptr) {
                // The line holds what the pass wrote last: copy that instead of walking it.
                memo.input.assign(carried->records.begin(), carried->records.end());
                line_vertices = &carried->vertices;
            } else {
                c.copy_a_line(q, memo.input, &walked);
            }
            // A line that holds what its walk last wrote is reduced from the walk's own copy.
            if (walk == LineWalk::BySegment &&
                ((carried != nullptr && segments.resume(L, mode, carried->token, memo.input)) ||
                 segments.load(cost, L, mode, memo.input))) {
                segments.reduce(cost, q, L, xlzr, line_repetitions(segments.two_qubit_records()),
                                kept);
                const std::vector<Gate>& gates = kept.is_input ? memo.input : kept.gates;
                remember(memo, gates, kept.phase, mode, cost.pmd);
                write(gates, kept.phase, line_vertices, &memo.input);
                segments.settle(L, memos.written_on(q).token);
                continue;
            }
            L.gates.assign(memo.input.begin(), memo.input.end());
            L.phase = 0.0;
            const int n2 = num_2Q_gate(L.gates);
            best.take(L);
            double cost_best = whole_line_cost(cost, L.gates, mode, s);
            KnownCost known{true, mode, cost_best};
            KnownCost* chain = window_is_whole_line(L) ? &known : nullptr;
            simplify(cost, L, -1, -1, mode, s, chain);
            for (int k = 0; k < line_repetitions(n2); ++k) {
                prev.take(L);
                run_stages(cost, q, L, xlzr, mode, s, chain);
                const double now = chain != nullptr && known.valid && known.mode == mode
                                       ? known.value
                                       : whole_line_cost(cost, L.gates, mode, s);
                if (cost_best > now) {
                    best.take(L);
                    cost_best = now;
                }
                if (prev.equals(L)) break;
            }
            remember(memo, best.gates, best.phase, mode, cost.pmd);
            write(best.gates, best.phase, line_vertices, &memo.input);
        }
    }
}

void split_angles(LineOfGates& L, int& gate_counter) {
    for (auto it = L.gates.begin(); it != L.gates.end(); ++it) {
        if (!is_rotation(it->type)) continue;
        const double a = it->angle;
        const double whole = std::round(a);  // halves away from 0
        if (a - whole == 0) continue;
        Gate first(it->type, whole, 0, 0, -1, it->target, ++gate_counter);
        Gate rest(it->type, a - whole, 0, 0, -1, it->target, ++gate_counter);
        *it = first;
        it = L.gates.insert(std::next(it), rest);
    }
}

}  // namespace line
