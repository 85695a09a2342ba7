#include "optimise/time_order.h"

#include <unordered_set>

namespace phases {

std::vector<Vertex> gates_in_time_order(const CircuitGraph& circuit) {
    const Graph& g = circuit.graph;
    circuit.settle_out_edge_order();
    std::vector<Vertex> order;
    order.reserve(boost::num_vertices(g));
    std::vector<Vertex> cursor(static_cast<size_t>(circuit.num_qubits));
    std::vector<int> lines;  // lines that may move on
    for (int q = 0; q < circuit.num_qubits; ++q) {
        cursor[static_cast<size_t>(q)] =
            next_node(g, circuit.line_start[static_cast<size_t>(q)], q);
        lines.push_back(circuit.num_qubits - 1 - q);
    }
    std::unordered_set<Vertex> waiting;  // two-qubit gates one of whose lines has reached them
    while (!lines.empty()) {
        const int q = lines.back();
        lines.pop_back();
        for (;;) {
            const Vertex v = cursor[static_cast<size_t>(q)];
            const Gate_type kind = get(boost::vertex_gate, g, v);
            if (is_marker(kind)) break;  // the line's OUT marker
            const int control = get(boost::vertex_control, g, v);
            if (control < 0) {
                order.push_back(v);
                cursor[static_cast<size_t>(q)] = next_node(g, v, q);
                continue;
            }
            if (waiting.erase(v) == 0) {
                waiting.insert(v);
                break;  // until the other line gets here
            }
            order.push_back(v);
            const int target = get(boost::vertex_target, g, v);
            const int other = q == control ? target : control;
            cursor[static_cast<size_t>(q)] = next_node(g, v, q);
            cursor[static_cast<size_t>(other)] = next_node(g, v, other);
            lines.push_back(other);
        }
    }
    return order;
}

}  // namespace phases
