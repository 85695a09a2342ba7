#include "support/circuit_views.h"

#include <algorithm>
#include <sstream>

#include "support/gate_lists.h"

namespace testview {

std::string dump(const Gate& g) {
    std::ostringstream out;
    out.precision(17);
    out << gate_keyword(g.type);
    if (g.type == IN) out << "IN";
    if (g.type == OUT) out << "OUT";
    out << "(" << g.angle;
    if (g.type == RXY || g.type == ASQU) out << "," << g.angle1;
    if (g.type == ASQU) out << "," << g.angle2;
    if (is_2Q_gate(g.type)) out << ";" << g.control << "->" << g.target;
    out << ")#" << g.index;
    return out.str();
}

std::string dump(const LineOfGates& line) {
    std::ostringstream out;
    out.precision(17);
    out << "phase " << line.phase << ":";
    for (const Gate& g : line.gates) out << " " << dump(g);
    return out.str();
}

std::string dump(GraphCircuit& circuit) {
    std::ostringstream out;
    out.precision(17);
    out << "global_phase " << circuit.global_phase << "\n";
    for (int q = 0; q < circuit.num_qubits; ++q) {
        LineOfGates line;
        circuit.copy_a_line(q, line);
        out << "line " << q << ": " << dump(line) << "\n";
    }
    return out.str();
}

std::string line_walk_text(GraphCircuit& circuit) {
    Graph& g = circuit.graph;
    std::ostringstream out;
    out.precision(17);
    for (int q = 0; q < circuit.num_qubits; ++q) {
        if (q > 0) out << " | ";
        out << q << ":";
        for (Vertex v = next_node(g, circuit.line_start[q], q);
             boost::get(boost::vertex_gate, g, v) != OUT; v = next_node(g, v, q)) {
            const Gate r = vertex_gate_record(g, v);
            out << " " << gate_keyword(r.type);
            if (is_2Q_gate(r.type)) out << "[" << r.control << "," << r.target << "]";
            if (testgates::takes_angle(r.type)) out << "(" << r.angle << ")";
        }
    }
    return out.str();
}

std::vector<Gate> appended_gates(GraphCircuit& circuit) {
    std::vector<Gate> gates;
    for (auto [it, end] = boost::vertices(circuit.graph); it != end; ++it) {
        Gate g = vertex_gate_record(circuit.graph, *it);
        if (g.index >= 2 * circuit.num_qubits) gates.push_back(g);
    }
    std::sort(gates.begin(), gates.end(),
              [](const Gate& a, const Gate& b) { return a.index < b.index; });
    return gates;
}

std::vector<Gate_type> appended_kinds(GraphCircuit& circuit) {
    std::vector<Gate_type> kinds;
    for (const Gate& g : appended_gates(circuit)) kinds.push_back(g.type);
    return kinds;
}

int gate_count(GraphCircuit& circuit) {
    int count = 0;
    for (auto [it, end] = boost::vertices(circuit.graph); it != end; ++it)
        if (boost::get(boost::vertex_gate, circuit.graph, *it) < IN) ++count;
    return count;
}

}  // namespace testview
