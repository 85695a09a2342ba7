#include "optimise/twoq_circuits.h"

#include <fstream>
#include <sstream>

#include "circuit/fatal.h"

namespace twoq_test {

namespace {

Gate one(Gate_type kind, int q, double angle = 0.0) {
    return Gate(kind, angle, 0, 0, -1, q, -100);
}
Gate two(Gate_type kind, int c, int t, double angle = 0.0) {
    return Gate(kind, angle, 0, 0, c, t, -100);
}

bool has_angle(Gate_type kind) {
    return kind == RX || kind == RY || kind == RZ || kind == CP || kind == GEO || kind == ISWAP;
}

std::string number(double x) {
    std::ostringstream out;
    out.precision(17);
    out << x;
    return out.str();
}

template <typename T>
const T& pick(std::mt19937& rng, const std::vector<T>& items) {
    return items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(rng)];
}

bool chance(std::mt19937& rng, double p) {
    return std::bernoulli_distribution(p)(rng);
}

/// A one-qubit gate the rules look for, or an arbitrary rotation.
Gate enclosed_gate(std::mt19937& rng, int q) {
    static const std::vector<std::pair<Gate_type, double>> special = {
        {RX, 4.0}, {RY, 4.0}, {RZ, 4.0}, {RY, 2.0}, {RY, 6.0}, {H, 0.0}, {RX, 2.0}, {RZ, 2.0}};
    if (chance(rng, 0.85)) {
        const auto& [kind, angle] = pick(rng, special);
        return one(kind, q, angle);
    }
    const Gate_type kind = pick(rng, std::vector<Gate_type>{RX, RY, RZ});
    return one(kind, q, std::uniform_real_distribution<double>(-8.0, 8.0)(rng));
}

double two_qubit_angle(std::mt19937& rng) {
    static const std::vector<double> special = {4, 2, 6, 1, 3, 5, 7, 8, -8, 16, -2, 0.5, 12};
    if (chance(rng, 0.8)) return pick(rng, special);
    return std::uniform_real_distribution<double>(-10.0, 10.0)(rng);
}

double partner_angle(std::mt19937& rng, double theta) {
    switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
        case 0:
            return theta;
        case 1:
            return -theta;
        case 2:
            return 8.0 - theta;
        case 3:
            return 4.0 - theta;
        default:
            return two_qubit_angle(rng);
    }
}

/// Two gates of one kind on (c, t) enclosing at most one one-qubit gate on each line.
void add_pair_motif(std::mt19937& rng, int c, int t, std::vector<Gate>& out) {
    static const std::vector<Gate_type> kinds = {CNOT, CNOT, CZ, CP, GEO};
    const Gate_type kind = pick(rng, kinds);
    const double theta = kind == CP || kind == GEO ? two_qubit_angle(rng) : 0.0;
    out.push_back(two(kind, c, t, theta));
    const int shape = std::uniform_int_distribution<int>(0, 3)(rng);
    if (shape != 1) out.push_back(enclosed_gate(rng, c));  // shape 1: nothing on c
    if (shape != 2) out.push_back(enclosed_gate(rng, t));  // shape 2: nothing on t
    const bool reversed = chance(rng, 0.4);
    Gate_type second = kind;
    if (kind == CZ && chance(rng, 0.3)) second = CP;
    double phi = second == CP && kind == CZ ? 4.0 : partner_angle(rng, theta);
    if (kind == CP && theta == 4.0 && chance(rng, 0.3)) second = CZ;
    out.push_back(reversed ? two(second, t, c, phi) : two(second, c, t, phi));
}

Gate random_gate(std::mt19937& rng, int qubits) {
    std::uniform_int_distribution<int> line(0, qubits - 1);
    const int c = line(rng);
    if (qubits == 1 || chance(rng, 0.6)) {
        static const std::vector<Gate_type> kinds = {RX, RY, RZ, H, X, Z, S, T};
        const Gate_type kind = pick(rng, kinds);
        return one(kind, c, has_angle(kind) ? two_qubit_angle(rng) : 0.0);
    }
    int t = line(rng);
    while (t == c) t = line(rng);
    static const std::vector<Gate_type> kinds = {CNOT, CZ, CP, GEO, SWAP, ISWAP, ZENO};
    const Gate_type kind = pick(rng, kinds);
    return two(kind, c, t, has_angle(kind) ? two_qubit_angle(rng) : 0.0);
}

}  // namespace

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
        if (has_angle(kind)) in >> angle;
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
        if (has_angle(g.type)) out << " " << number(g.angle);
        out << "\n";
    }
    out << ".end\n";
    return out.str();
}

std::string line_dump(GraphCircuit& circuit) {
    Graph& g = circuit.graph;
    std::ostringstream out;
    for (int q = 0; q < circuit.num_qubits; ++q) {
        if (q > 0) out << " | ";
        out << q << ":";
        for (Vertex v = next_node(g, circuit.line_start[q], q);
             boost::get(boost::vertex_gate, g, v) != OUT; v = next_node(g, v, q)) {
            const Gate r = vertex_gate_record(g, v);
            out << " " << gate_keyword(r.type);
            if (is_2Q_gate(r.type)) out << "[" << r.control << "," << r.target << "]";
            if (has_angle(r.type)) out << "(" << number(r.angle) << ")";
        }
    }
    return out.str();
}

int gate_count(GraphCircuit& circuit) {
    int count = 0;
    for (auto [it, end] = boost::vertices(circuit.graph); it != end; ++it)
        if (boost::get(boost::vertex_gate, circuit.graph, *it) < IN) ++count;
    return count;
}

std::vector<Gate> random_pattern_circuit(std::mt19937& rng, int qubits, int motifs) {
    std::vector<Gate> gates;
    std::uniform_int_distribution<int> line(0, qubits - 1);
    for (int m = 0; m < motifs; ++m) {
        if (qubits >= 2 && chance(rng, 0.7)) {
            const int c = line(rng);
            int t = line(rng);
            while (t == c) t = line(rng);
            add_pair_motif(rng, c, t, gates);
        } else {
            gates.push_back(random_gate(rng, qubits));
        }
    }
    return gates;
}

std::string dump_failure(const std::string& name, int qubits, const std::vector<Gate>& gates) {
    const std::string text = netlist_text(qubits, gates);
    std::ofstream(name) << text;
    return "failing circuit written to " + name + ":\n" + text;
}

}  // namespace twoq_test
