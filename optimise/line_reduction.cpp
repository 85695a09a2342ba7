// The one-qubit line reduction pass, line copy and write-back, and the GraphCircuit members of
// the line stages (which forward to the free functions with the incremental strategy).

#include "optimise/line_reduction.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "optimise/line_rotation.h"

namespace line {

void reduce_lines(GraphCircuit& c, Strategy s) {
    if (c.num_qubits < 1) return;
    const int mode = c.code != qec_none ? 2 : 0;
    for (int pass = 0; pass < 2; ++pass) {
        const bool xlzr = pass == 0;
        for (int q = 0; q < c.num_qubits; ++q) {
            LineOfGates L;
            c.copy_a_line(q, L);
            LineOfGates best = L;
            const int n2 = num_2Q_gate(L.gates);
            double cost_best = whole_line_cost(c, L.gates, mode);
            simplify(c, L, -1, -1, mode, s);
            for (int k = 0; k < std::min(n2, 4); ++k) {
                LineOfGates prev = L;
                if (xlzr) {
                    interchange_xlzr(c, L, -1, -1, mode, s);
                    movement_xlzr(c, q, L, -1, -1, mode, s);
                } else {
                    interchange_xrzl(c, L, -1, -1, mode, s);
                    movement_xrzl(c, q, L, -1, -1, mode, s);
                }
                simplify(c, L, -1, -1, mode, s);
                double cost = whole_line_cost(c, L.gates, mode);
                if (cost_best > cost) {
                    best = L;
                    cost_best = cost;
                }
                if (L == prev) break;
            }
            c.revise_a_line(q, best);
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
    for (Vertex v : doomed) {
        boost::clear_vertex(v, graph);
        boost::remove_vertex(v, graph);
    }
    if (!doomed.empty()) boost::add_edge(from, to, q, graph);
}

void GraphCircuit::revise_a_line(int q, LineOfGates& L) {
    std::list<Gate> copy = L.gates;
    global_phase += L.phase;

    std::vector<Vertex> anchors;
    for (Vertex v = line_start[q]; v != line_end[q];) {
        v = next_node(graph, v, q);
        if (is_2Q_gate(boost::get(boost::vertex_gate, graph, v)) || v == line_end[q])
            anchors.push_back(v);
    }
    const long n2 =
        std::count_if(copy.begin(), copy.end(), [](const Gate& g) { return is_2Q_gate(g.type); });
    if (n2 != static_cast<long>(anchors.size()) - 1)
        std::cerr << "Error! GraphCircuit::revise_a_line, the number of 2-qubit gates are "
                     "different."
                  << std::endl;

    if (!copy.empty()) copy.pop_front();  // the IN record
    Vertex cur = line_start[q];
    for (Vertex a : anchors) {
        clear_path(q, cur, a);
        while (!copy.empty() && copy.front().type < 20) {
            const Gate& g = copy.front();
            Vertex v = new_vertex(g.type, g.angle, g.angle1, g.angle2, g.control, g.target);
            remove_an_edge(graph, cur, q);
            boost::add_edge(cur, v, q, graph);
            boost::add_edge(v, a, q, graph);
            cur = v;
            copy.pop_front();
        }
        if (!copy.empty()) copy.pop_front();  // the record standing for the anchor
        cur = a;
    }
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
