#include "support/gate_lists.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testgates {

namespace {

std::string number(double x) {
    std::ostringstream out;
    out.precision(17);
    out << x;
    return out.str();
}

}  // namespace

bool takes_angle(Gate_type kind) {
    return kind == RX || kind == RY || kind == RZ || kind == CP || kind == GEO || kind == ISWAP;
}

std::unique_ptr<GraphCircuit> fresh_circuit(PMD_type pmd, int qubits) {
    auto c = std::make_unique<GraphCircuit>("mapping", pmd, qec_none, 0);
    c->set_dummy_node(qubits);
    return c;
}

std::vector<Gate> parse_gates(const std::string& text) {
    std::vector<Gate> gates;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ';')) {
        std::istringstream in(item);
        std::string keyword;
        if (!(in >> keyword)) continue;
        Gate_type kind;
        if (!gate_from_keyword(keyword, kind)) throw std::runtime_error("bad gate " + keyword);
        int c = -1, t = -1;
        double angle = 0.0;
        if (is_2Q_gate(kind)) {
            in >> c >> t;
        } else {
            in >> t;
        }
        if (takes_angle(kind)) in >> angle;
        gates.push_back(Gate(kind, angle, 0, 0, c, t, -100));
    }
    return gates;
}

void build(GraphCircuit& circuit, int qubits, const std::vector<Gate>& gates) {
    circuit.set_dummy_node(qubits);
    for (const Gate& g : gates) {
        if (is_2Q_gate(g.type)) {
            circuit.add_gate(g.type, g.control, g.target, g.angle);
        } else {
            circuit.add_gate(g.type, g.target, g.angle, g.angle1, g.angle2);
        }
    }
}

std::string netlist_text(int qubits, const std::vector<Gate>& gates) {
    std::ostringstream out;
    out << "# random circuit, gates in time order\n.qubit " << qubits << "\n";
    for (int q = 0; q < qubits; ++q) out << "qubit q" << q << "\n";
    out << ".begin\n";
    for (const Gate& g : gates) {
        out << gate_keyword(g.type);
        if (is_2Q_gate(g.type)) out << " q" << g.control;
        out << " q" << g.target;
        if (takes_angle(g.type)) out << " " << number(g.angle);
        out << "\n";
    }
    out << ".end\n";
    return out.str();
}

std::string dump_failure(const std::string& name, int qubits, const std::vector<Gate>& gates) {
    const std::string text = netlist_text(qubits, gates);
    std::ofstream(name) << text;
    return "failing circuit written to " + name + ":\n" + text;
}

LineOfGates line_of(const std::vector<Gate>& gates) {
    LineOfGates line;
    line.gates.push_back(Gate(IN, 0, 0, 0, -1, 0, 0));
    for (const Gate& g : gates) line.gates.push_back(g);
    line.gates.push_back(Gate(OUT, 0, 0, 0, -1, 0, 1));
    return line;
}

LineOfGates make_line(const std::vector<std::pair<Gate_type, double>>& gates) {
    std::vector<Gate> records;
    int index = 10;
    for (auto [t, a] : gates) records.push_back(Gate(t, a, 0, 0, -1, 0, index++));
    return line_of(records);
}

void price_by_kind(GraphCircuit& circuit) {
    for (int k = 0; k < 30; ++k)
        circuit.cost_gate_count.table[Gate_type(k)] = std::vector<int>(9, 1 + k % 3);
}

std::vector<std::pair<Gate_type, double>> body(const LineOfGates& line) {
    std::vector<std::pair<Gate_type, double>> out;
    for (const Gate& g : line.gates)
        if (g.type != IN && g.type != OUT) out.emplace_back(g.type, g.angle);
    return out;
}

}  // namespace testgates
