#include "circuit/graph_circuit.h"

#include <boost/graph/topological_sort.hpp>
#include <iostream>
#include <iterator>

#include "circuit/fatal.h"

using boost::get;
using boost::put;

Vertex next_node(Graph& g, Vertex v, int q) {
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

Vertex prev_node(Graph& g, Vertex v, int q) {
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

GraphCircuit::GraphCircuit(std::string file_name, PMD_type pmd, qecCode code, int level)
    : pmd(pmd), code(code), level(level), file_name(std::move(file_name)) {}

GraphCircuit::~GraphCircuit() = default;

Vertex GraphCircuit::new_vertex(Gate_type kind, double angle, double angle1, double angle2,
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

void GraphCircuit::note_line_edit(int q) {
    if (q >= 0 && static_cast<size_t>(q) < line_edits.size()) ++line_edits[static_cast<size_t>(q)];
}

void GraphCircuit::note_vertex_edit(Vertex v) {
    note_line_edit(get(boost::vertex_target, graph, v));
    if (is_2Q_gate(get(boost::vertex_gate, graph, v)))
        note_line_edit(get(boost::vertex_control, graph, v));
}

void GraphCircuit::erase_vertex(Vertex v) {
    note_vertex_edit(v);
    kind_counts.remove(get(boost::vertex_gate, graph, v));
    boost::clear_vertex(v, graph);
    boost::remove_vertex(v, graph);
}

void GraphCircuit::set_vertex_kind(Vertex v, Gate_type kind) {
    const Gate_type old = get(boost::vertex_gate, graph, v);
    if (old == kind) return;
    kind_counts.remove(old);
    kind_counts.add(kind);
    put(boost::vertex_gate, graph, v, kind);
    note_vertex_edit(v);
}

void GraphCircuit::set_dummy_node(int n) {
    num_qubits = n;
    line_edits.assign(static_cast<size_t>(n), 0);
    gate_counter = 0;
    cost_gate_count.set_cost_table();
    const std::string layout_file = file_name + ".layout";
    if (code != qec_none) tile_table = tileTable(qubit_line, pmd, level, layout_file);

    for (int i = 0; i < n; ++i) {
        Vertex v = new_vertex(IN, 0, 0, 0, -1, i);
        line_start.push_back(v);
        line_last.push_back(v);
    }
    for (int i = 0; i < n; ++i) line_end.push_back(new_vertex(OUT, 0, 0, 0, -1, i));
    for (int i = 0; i < n; ++i) boost::add_edge(line_start[i], line_end[i], i, graph);

    Vertex source = boost::add_vertex(graph);
    kind_counts.add(SOURCE);
    put(boost::vertex_gate, graph, source, SOURCE);
    put(boost::vertex_index, graph, source, -1);
    put(boost::vertex_control, graph, source, -1);
    put(boost::vertex_target, graph, source, -1);
    put(boost::vertex_color, graph, source, boost::white_color);
    for (int i = 0; i < n; ++i) boost::add_edge(source, line_start[i], i, graph);

    Vertex sink = boost::add_vertex(graph);
    kind_counts.add(SINK);
    put(boost::vertex_gate, graph, sink, SINK);
    put(boost::vertex_index, graph, sink, -2);
    put(boost::vertex_control, graph, sink, -1);
    put(boost::vertex_target, graph, sink, -1);
    put(boost::vertex_color, graph, sink, boost::white_color);
    for (int i = 0; i < n; ++i) boost::add_edge(line_end[i], sink, i, graph);
}

std::vector<Vertex> GraphCircuit::topological_order() {
    std::vector<Vertex> sorted;
    sorted.reserve(boost::num_vertices(graph));
    // Vertex indices can be negative (SOURCE, SINK), so the sort is coloured through the
    // vertex_color_t property rather than an index-based map.
    boost::topological_sort(graph, std::back_inserter(sorted),
                            boost::color_map(get(boost::vertex_color, graph)));
    return std::vector<Vertex>(sorted.rbegin(), sorted.rend());
}
