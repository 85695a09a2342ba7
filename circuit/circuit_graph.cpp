// The circuit graph: line walks, vertex and gate edits, and lines copied out and written back.

#include "circuit/circuit_graph.h"

#include <algorithm>
#include <boost/graph/topological_sort.hpp>
#include <cstring>
#include <iostream>
#include <iterator>

#include "circuit/check.h"
#include "circuit/fatal.h"

using boost::get;
using boost::put;

Vertex next_node(const Graph& g, Vertex v, int q) {
    // A one-qubit vertex or line marker of line q has one out-edge, labelled q: take it without
    // reading the label (the line walks of every pass spend most of their time here).
    if (get(boost::vertex_target, g, v) == q && !is_2Q_gate(get(boost::vertex_gate, g, v)) &&
        boost::out_degree(v, g) == 1)
        return boost::target(*boost::out_edges(v, g).first, g);
    for (auto [it, end] = boost::out_edges(v, g); it != end; ++it)
        if (get(boost::edge_line, g, *it) == q) return boost::target(*it, g);
    std::cout << "Error! next_node(): cannot find next node!" << std::endl;
    fatal_error("Node index= " + std::to_string(get(boost::vertex_index, g, v)));
}

Vertex prev_node(const Graph& g, Vertex v, int q) {
    for (auto [it, end] = boost::in_edges(v, g); it != end; ++it)
        if (get(boost::edge_line, g, *it) == q) return boost::source(*it, g);
    std::cout << "Error! next_node(): cannot find prev node!" << std::endl;
    return v;
}

void remove_an_edge(Graph& g, Vertex v, int q) {
    for (auto [it, end] = boost::out_edges(v, g); it != end; ++it) {
        if (get(boost::edge_line, g, *it) == q) {
            boost::remove_edge(*it, g);
            return;
        }
    }
}

Gate vertex_gate_record(const Graph& g, Vertex v) {
    return Gate(get(boost::vertex_gate, g, v), get(boost::vertex_angle, g, v),
                get(boost::vertex_angle1, g, v), get(boost::vertex_angle2, g, v),
                get(boost::vertex_control, g, v), get(boost::vertex_target, g, v),
                get(boost::vertex_index, g, v));
}

CircuitGraph::~CircuitGraph() = default;

Vertex CircuitGraph::new_vertex(Gate_type kind, double angle, double angle1, double angle2,
                                int control, int target) {
    Vertex v = boost::add_vertex(graph);
    kind_counts.add(kind);
    put(boost::vertex_gate, graph, v, kind);
    put(boost::vertex_index, graph, v, gate_counter++);
    put(boost::vertex_angle, graph, v, angle);
    put(boost::vertex_angle1, graph, v, angle1);
    put(boost::vertex_angle2, graph, v, angle2);
    put(boost::vertex_control, graph, v, control);
    put(boost::vertex_target, graph, v, target);
    put(boost::vertex_color, graph, v, boost::white_color);
    return v;
}

void CircuitGraph::note_line_edit(int q) {
    if (q >= 0 && static_cast<size_t>(q) < line_edits.size()) {
        ++line_edits[static_cast<size_t>(q)];
        ++edit_count;
    }
}

void CircuitGraph::note_vertex_edit(Vertex v) {
    note_line_edit(get(boost::vertex_target, graph, v));
    if (is_2Q_gate(get(boost::vertex_gate, graph, v)))
        note_line_edit(get(boost::vertex_control, graph, v));
}

void CircuitGraph::erase_vertex(Vertex v) {
    note_vertex_edit(v);
    const TwoQubitSlot slot = get(boost::vertex_slot, graph, v);
    if (slot.control_pos >= 0) {
        two_qubit_index.erase(slot.control_line, slot.control_pos, Graph::null_vertex());
        two_qubit_index.erase(slot.target_line, slot.target_pos, Graph::null_vertex());
    }
    kind_counts.remove(get(boost::vertex_gate, graph, v));
    // Removing v takes an out-edge from each vertex before it. (Settling one may re-add its
    // edge into v, so the vertices are gathered before any is settled.)
    if (edge_moves_pending_) {
        MAROVIN_CHECK(boost::in_degree(v, graph) <= 2, "a gate stands on at most two lines");
        Vertex before[2];
        int count = 0;
        for (auto [it, end] = boost::in_edges(v, graph); it != end; ++it)
            before[count++] = boost::source(*it, graph);
        for (int i = 0; i < count; ++i) settle_out_edges(before[i]);
    }
    boost::clear_vertex(v, graph);
    boost::remove_vertex(v, graph);
}

void CircuitGraph::set_vertex_kind(Vertex v, Gate_type kind) {
    const Gate_type old = get(boost::vertex_gate, graph, v);
    if (old == kind) return;
    MAROVIN_CHECK(is_2Q_gate(old) == is_2Q_gate(kind) && is_1Q_gate(old) == is_1Q_gate(kind),
                  "a vertex keeps its number of lines when it changes kind");
    note_record_change(v);
    if (is_2Q_gate(old)) ++line_ends_changes;
    kind_counts.remove(old);
    kind_counts.add(kind);
    put(boost::vertex_gate, graph, v, kind);
    note_vertex_edit(v);
}

void CircuitGraph::set_vertex_angle(Vertex v, double angle) {
    const double old = get(boost::vertex_angle, graph, v);
    if (std::memcmp(&old, &angle, sizeof angle) == 0) return;
    note_record_change(v);
    put(boost::vertex_angle, graph, v, angle);
    note_vertex_edit(v);
}

// A change of v's own fields: v reads them, and so do the two records before it on each of
// its lines (v is one of the two records after them).
void CircuitGraph::note_record_change(Vertex v) {
    mark_two_qubit_candidate(v);
    for (int q : {get(boost::vertex_control, graph, v), get(boost::vertex_target, graph, v)})
        if (q >= 0) note_change_after(prev_node(graph, v, q), q);
}

void CircuitGraph::note_change_after(Vertex v, int q) {
    mark_two_qubit_candidate(v);
    if (is_marker(get(boost::vertex_gate, graph, v))) return;
    mark_two_qubit_candidate(prev_node(graph, v, q));
}

void CircuitGraph::index_two_qubit_vertex(Vertex v) {
    TwoQubitSlot slot;
    slot.control_line = get(boost::vertex_control, graph, v);
    slot.target_line = get(boost::vertex_target, graph, v);
    slot.control_pos = two_qubit_index.append(slot.control_line, v);
    slot.target_pos = two_qubit_index.append(slot.target_line, v);
    put(boost::vertex_slot, graph, v, slot);
    mark_two_qubit_candidate(v);
}

int CircuitGraph::line_position(Vertex v, int q) const {
    const TwoQubitSlot slot = get(boost::vertex_slot, graph, v);
    if (q == slot.control_line) return slot.control_pos;
    return q == slot.target_line ? slot.target_pos : -1;
}

void CircuitGraph::mark_two_qubit_candidate(Vertex v) {
    const TwoQubitSlot slot = get(boost::vertex_slot, graph, v);
    if (slot.control_pos >= 0) two_qubit_index.mark(slot.control_line, slot.control_pos);
}

void CircuitGraph::clear_two_qubit_candidate(Vertex v) {
    const TwoQubitSlot slot = get(boost::vertex_slot, graph, v);
    if (slot.control_pos >= 0) two_qubit_index.unmark(slot.control_line, slot.control_pos);
}

bool CircuitGraph::is_two_qubit_candidate(Vertex v) const {
    const TwoQubitSlot slot = get(boost::vertex_slot, graph, v);
    return slot.control_pos >= 0 && two_qubit_index.marked(slot.control_line, slot.control_pos);
}

void CircuitGraph::make_lines(int n) {
    num_qubits = n;
    line_edits.assign(static_cast<size_t>(n), 0);
    two_qubit_index.reset(n);
    gate_counter = 0;

    for (int i = 0; i < n; ++i) {
        Vertex v = new_vertex(IN, 0, 0, 0, -1, i);
        line_start.push_back(v);
        line_last.push_back(v);
    }
    for (int i = 0; i < n; ++i) line_end.push_back(new_vertex(OUT, 0, 0, 0, -1, i));
    for (int i = 0; i < n; ++i) boost::add_edge(line_start[i], line_end[i], i, graph);

    // SOURCE and SINK stand outside the lines: no gate index of their own, no angles.
    auto end_vertex = [&](Gate_type kind, int index) {
        Vertex v = boost::add_vertex(graph);
        kind_counts.add(kind);
        put(boost::vertex_gate, graph, v, kind);
        put(boost::vertex_index, graph, v, index);
        put(boost::vertex_control, graph, v, -1);
        put(boost::vertex_target, graph, v, -1);
        put(boost::vertex_color, graph, v, boost::white_color);
        return v;
    };
    Vertex source = end_vertex(SOURCE, -1);
    for (int i = 0; i < n; ++i) boost::add_edge(source, line_start[i], i, graph);
    Vertex sink = end_vertex(SINK, -2);
    for (int i = 0; i < n; ++i) boost::add_edge(line_end[i], sink, i, graph);
}

std::vector<Vertex> CircuitGraph::topological_order() const {
    settle_out_edge_order();
    std::vector<Vertex> sorted;
    sorted.reserve(boost::num_vertices(graph));
    // Vertex indices can be negative (SOURCE, SINK), so the sort is coloured through the
    // vertex_color_t property rather than an index-based map. The colours are the sort's
    // scratch space, not part of what the graph holds, hence the cast.
    Graph& scratch = const_cast<Graph&>(graph);
    boost::topological_sort(scratch, std::back_inserter(sorted),
                            boost::color_map(get(boost::vertex_color, scratch)));
    return std::vector<Vertex>(sorted.rbegin(), sorted.rend());
}

void CircuitGraph::add_gate(Gate_type kind, int qubit, double angle, double angle1, double angle2) {
    note_change_after(line_last[qubit], qubit);
    Vertex v = new_vertex(kind, angle, angle1, angle2, -1, qubit);
    settle_out_edges(line_last[qubit]);
    remove_an_edge(graph, line_last[qubit], qubit);
    boost::add_edge(line_last[qubit], v, qubit, graph);
    boost::add_edge(v, line_end[qubit], qubit, graph);
    set_line_last(qubit, v);
    note_line_edit(qubit);
}

void CircuitGraph::add_gate(Gate_type kind, int control, int target, double angle) {
    note_change_after(line_last[control], control);
    note_change_after(line_last[target], target);
    Vertex v = new_vertex(kind, angle, 0, 0, control, target);
    settle_out_edges(line_last[control]);
    settle_out_edges(line_last[target]);
    remove_an_edge(graph, line_last[control], control);
    remove_an_edge(graph, line_last[target], target);
    boost::add_edge(line_last[control], v, control, graph);
    boost::add_edge(line_last[target], v, target, graph);
    boost::add_edge(v, line_end[control], control, graph);
    boost::add_edge(v, line_end[target], target, graph);
    set_line_last(control, v);
    set_line_last(target, v);
    note_line_edit(control);
    note_line_edit(target);
    if (is_2Q_gate(kind)) index_two_qubit_vertex(v);
}

Vertex CircuitGraph::insert_gate_after(Vertex v, int q, Gate_type kind, double angle) {
    MAROVIN_CHECK(q >= 0 && q < num_qubits, "a gate is inserted on a line of the circuit");
    MAROVIN_CHECK(is_1Q_gate(kind), "the gate inserted after a vertex is a one-qubit gate");
    Graph& g = graph;
    Vertex after = next_node(g, v, q);
    note_change_after(v, q);
    Vertex fresh = new_vertex(kind, angle, 0.0, 0.0, -1, q);
    note_line_edit(q);
    settle_out_edges(v);
    remove_an_edge(g, v, q);
    boost::add_edge(v, fresh, q, g);
    boost::add_edge(fresh, after, q, g);
    const size_t line = static_cast<size_t>(q);
    if (line < line_last.size() && line_last[line] == v) set_line_last(q, fresh);
    return fresh;
}

void CircuitGraph::remove_gate_vertex(Vertex v) {
    Graph& g = graph;
    MAROVIN_CHECK(!is_marker(get(boost::vertex_gate, g, v)), "a line marker is never removed");
    struct Join {
        int line;
        Vertex before;
        Vertex after;
    };
    Join joins[2];
    int count = 0;
    for (int line : {get(boost::vertex_control, g, v), get(boost::vertex_target, g, v)}) {
        if (line < 0) continue;
        joins[count++] = Join{line, prev_node(g, v, line), next_node(g, v, line)};
        note_change_after(joins[count - 1].before, line);
    }
    erase_vertex(v);
    for (int i = 0; i < count; ++i) {
        settle_out_edges(joins[i].before);
        boost::add_edge(joins[i].before, joins[i].after, joins[i].line, g);
        const size_t line = static_cast<size_t>(joins[i].line);
        if (line < line_last.size() && line_last[line] == v)
            set_line_last(joins[i].line, joins[i].before);
    }
}

// Rebuilding the run after v moves v's out-edge on line q behind its others (the edge is
// removed with the run's first vertex and added again); the order of the out-edges decides the
// gate order of the written netlist, so a run left in place must change it the same way.
namespace {

void out_edge_to_back(Graph& graph, Vertex v, int q) {
    if (boost::out_degree(v, graph) < 2) return;
    auto [it, end] = boost::out_edges(v, graph);
    for (; it != end; ++it)
        if (boost::get(boost::edge_line, graph, *it) == q) break;
    if (it == end || std::next(it) == end) return;
    const Vertex next = boost::target(*it, graph);
    boost::remove_edge(*it, graph);
    boost::add_edge(v, next, q, graph);
}

// How many vertices ahead a walk over far-apart vertices asks for a vertex's memory, and the
// asking (a hint only): moving an out-edge to the back reads the size of the out-edge list at
// the start of the vertex's record and its two-qubit slot about a hundred bytes in.
constexpr size_t kVertexLookahead = 8;
inline void prefetch_vertex(Vertex v) {
    const char* at = static_cast<const char*>(v);
    __builtin_prefetch(at + 16);
    __builtin_prefetch(at + 104);
}

}  // namespace

void CircuitGraph::move_out_edge_to_back(Vertex v, int q) {
    if (boost::out_degree(v, graph) < 2) return;
    TwoQubitSlot slot = get(boost::vertex_slot, graph, v);
    if (slot.control_pos < 0) {
        out_edge_to_back(graph, v, q);
        return;
    }
    slot.edge_to_back = q;
    put(boost::vertex_slot, graph, v, slot);
    edge_moves_pending_ = true;
}

void CircuitGraph::move_out_edges_to_back(const std::vector<Vertex>& vertices, int q) {
    for (size_t i = 0; i < vertices.size(); ++i) {
        if (i + kVertexLookahead < vertices.size()) prefetch_vertex(vertices[i + kVertexLookahead]);
        move_out_edge_to_back(vertices[i], q);
    }
}

void CircuitGraph::settle_out_edges(Vertex v) const {
    if (!edge_moves_pending_) return;
    Graph& g = const_cast<Graph&>(graph);  // the pending order is part of what the graph holds
    TwoQubitSlot slot = get(boost::vertex_slot, g, v);
    if (slot.edge_to_back < 0) return;
    const int q = slot.edge_to_back;
    slot.edge_to_back = -1;
    put(boost::vertex_slot, g, v, slot);
    out_edge_to_back(g, v, q);
}

void CircuitGraph::settle_out_edge_order() const {
    if (!edge_moves_pending_) return;
    for (int q = 0; q < two_qubit_index.lines(); ++q) {
        for (int p = 0; p < two_qubit_index.size(q); ++p) {
            const Vertex v = two_qubit_index.at(q, p);
            // Each vertex once: from its control line.
            if (v != Graph::null_vertex() && get(boost::vertex_slot, graph, v).control_line == q)
                settle_out_edges(v);
        }
    }
    edge_moves_pending_ = false;
}

namespace {

// True when the vertices of a run hold, in order, the records [rec, rec_end). With `held`, the
// records the run's vertices hold (held[i] for run[i]) are read from there, not from the graph.
template <typename Iter>
bool run_holds(const Graph& graph, const std::vector<Vertex>& run, const std::vector<Gate>* held,
               size_t begin, size_t end, Iter rec, Iter rec_end) {
    for (size_t i = begin; i < end; ++i, ++rec) {
        if (rec == rec_end) return false;
        if (!same_record(held != nullptr ? (*held)[i] : vertex_gate_record(graph, run[i]), *rec))
            return false;
    }
    return rec == rec_end;
}

// revise_a_line over any range of records (a line's list or a snapshot of it). A run whose
// vertices already hold its records is left in place, with its indices: the graph then equals
// the rebuilt one in everything but the indices and list positions of those vertices, which
// no pass and no output depends on. Only the runs that change are rebuilt.
template <typename Iter>
void rebuild_line(CircuitGraph& c, int q, Iter first, Iter last, double phase,
                  const CircuitGraph::LineVertices* walked, const std::vector<Gate>* walked_records,
                  CircuitGraph::LineVertices* written) {
    Graph& graph = c.graph;
    c.global_phase += phase;
    // `written` collects the line's vertices as they will be, IN to OUT, run by run.
    if (written != nullptr) {
        written->line = q;
        written->vertices.clear();
        written->vertices.push_back(c.line_start[q]);
    }

    // One walk along the line: the anchors (two-qubit vertices and OUT) and, before each, the
    // one-qubit vertices that clear_path would remove.
    CircuitGraph::RebuildScratch& scratch = c.rebuild_scratch;
    std::vector<Vertex>& anchors = scratch.anchors;
    std::vector<Vertex>& interior = scratch.interior;
    // With walked_records, `interior_records` holds what `interior` holds; `interior_end` is,
    // per anchor, the end of its run in `interior`.
    std::vector<Gate>& interior_records = scratch.interior_records;
    std::vector<size_t>& interior_end = scratch.interior_end;
    anchors.clear();
    interior.clear();
    interior_records.clear();
    interior_end.clear();
    interior.reserve(static_cast<size_t>(std::distance(first, last)));
    auto sort_vertex = [&](Vertex v, Gate_type kind) {
        if (is_2Q_gate(kind) || v == c.line_end[q]) {
            anchors.push_back(v);
            interior_end.push_back(interior.size());
        } else {
            interior.push_back(v);
        }
    };
    // The vertices of a walk made since the line's last edit are the ones a walk now finds.
    const bool walk_holds = walked != nullptr && walked->line == q && !walked->vertices.empty() &&
                            walked->edits == c.line_edits[static_cast<size_t>(q)];
    const bool records_given = walk_holds && walked_records != nullptr &&
                               walked_records->size() == walked->vertices.size();
    if (walk_holds) {
        if (records_given) interior_records.reserve(walked_records->size());
        for (size_t i = 1; i < walked->vertices.size(); ++i) {
            const Vertex v = walked->vertices[i];
            const Gate_type kind = records_given ? (*walked_records)[i].type
                                                 : boost::get(boost::vertex_gate, graph, v);
            sort_vertex(v, kind);
            if (records_given && !is_2Q_gate(kind) && v != c.line_end[q])
                interior_records.push_back((*walked_records)[i]);
        }
    } else {
        for (Vertex v = c.line_start[q]; v != c.line_end[q];) {
            v = next_node(graph, v, q);
            sort_vertex(v, boost::get(boost::vertex_gate, graph, v));
        }
    }
    const std::vector<Gate>* held = records_given ? &interior_records : nullptr;
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
        // A run left in place reads and writes the vertex before it, far from the last one read
        // on a long line: ask for it some runs ahead (a hint only).
        if (k + kVertexLookahead < anchors.size()) prefetch_vertex(anchors[k + kVertexLookahead]);
        Iter rec_end = rec;
        while (rec_end != last && is_1Q_gate(rec_end->type)) ++rec_end;
        const bool cleared = interior_end[k] > run_begin;
        const bool refill = rec != rec_end;
        if (cleared && refill &&
            run_holds(graph, interior, held, run_begin, interior_end[k], rec, rec_end)) {
            c.move_out_edge_to_back(cur, q);
            rec = rec_end;
            if (written != nullptr)
                written->vertices.insert(written->vertices.end(), interior.begin() + run_begin,
                                         interior.begin() + interior_end[k]);
        } else {
            if (cleared || refill) {
                c.note_line_edit(q);
                c.note_change_after(cur, q);
                c.settle_out_edges(cur);
            }
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
                    if (written != nullptr) written->vertices.push_back(v);
                }
                boost::add_edge(cur, a, q, graph);
            }
        }
        run_begin = interior_end[k];
        if (rec != last) ++rec;  // the record standing for the anchor
        cur = a;
        if (written != nullptr) written->vertices.push_back(a);
    }
    // The run before OUT may have been rebuilt: line_last follows it.
    c.refresh_line_last(q);
    if (written != nullptr) written->edits = c.line_edits[static_cast<size_t>(q)];
}

}  // namespace

void CircuitGraph::set_line_last(int q, Vertex v) {
    Vertex& last = line_last[static_cast<size_t>(q)];
    if (last == v) return;
    last = v;
    ++line_ends_changes;
}

void CircuitGraph::refresh_line_last(int q) {
    set_line_last(q, prev_node(graph, line_end[static_cast<size_t>(q)], q));
}

void CircuitGraph::revise_a_line(int q, const LineOfGates& L, const LineVertices* walked,
                                 LineVertices* written, const std::vector<Gate>* walked_records) {
    rebuild_line(*this, q, L.gates.begin(), L.gates.end(), L.phase, walked, walked_records,
                 written);
}

void CircuitGraph::revise_a_line(int q, const std::vector<Gate>& records, double phase,
                                 const LineVertices* walked, LineVertices* written,
                                 const std::vector<Gate>* walked_records) {
    rebuild_line(*this, q, records.begin(), records.end(), phase, walked, walked_records, written);
}

template <typename Put>
void CircuitGraph::walk_a_line(int q, LineVertices* walked, Put put) const {
    // NOTE: a negative line number is refused like one past the last line (it would index
    // outside the line vectors).
    if (q < 0 || q >= num_qubits) fatal_error_stderr("Error! GraphCircuit::copy_a_line");
    Vertex v = line_start[q];
    if (walked != nullptr) {
        walked->line = q;
        walked->edits = line_edits[static_cast<size_t>(q)];
        walked->vertices.clear();
        walked->vertices.push_back(v);
    }
    put(vertex_gate_record(graph, v));
    while (boost::get(boost::vertex_gate, graph, v) != OUT) {
        v = next_node(graph, v, q);
        put(vertex_gate_record(graph, v));
        if (walked != nullptr) walked->vertices.push_back(v);
    }
}

void CircuitGraph::copy_a_line(int q, LineOfGates& L, LineVertices* walked) const {
    walk_a_line(q, walked, [&L](const Gate& g) { L.gates.push_back(g); });
}

void CircuitGraph::copy_a_line(int q, std::vector<Gate>& records, LineVertices* walked) const {
    records.clear();
    walk_a_line(q, walked, [&records](const Gate& g) { records.push_back(g); });
}

void CircuitGraph::clear_path(int q, Vertex from, Vertex to) {
    std::vector<Vertex> doomed;
    for (Vertex v = next_node(graph, from, q); v != to; v = next_node(graph, v, q))
        doomed.push_back(v);
    if (!doomed.empty()) {
        note_change_after(from, q);
        settle_out_edges(from);
    }
    for (Vertex v : doomed) erase_vertex(v);
    if (!doomed.empty()) {
        boost::add_edge(from, to, q, graph);
        refresh_line_last(q);
    }
}
