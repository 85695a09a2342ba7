#pragma once
// Helpers for the one-qubit line reduction tests: random lines and circuits, readable dumps.

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/graph_circuit.h"

namespace linetest {

inline std::string dump(const Gate& g) {
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

inline std::string dump(const LineOfGates& L) {
    std::ostringstream out;
    out.precision(17);
    out << "phase " << L.phase << ":";
    for (const Gate& g : L.gates) out << " " << dump(g);
    return out.str();
}

/// Angles that hit the special values and their neighbours.
inline double random_angle(std::mt19937& rng) {
    static const double kAngles[] = {0, 2,  4,  6,  8,   -2,    -4,  -6, -8, 1, 3, 5,
                                     7, -1, 12, 16, 0.5, -0.25, 2.5, 4,  4,  2, 6};
    std::uniform_int_distribution<int> pick(0, sizeof(kAngles) / sizeof(kAngles[0]) - 1);
    return kAngles[pick(rng)];
}

/// A random one-qubit record of any kind (biased toward rotations and H).
inline Gate random_one_qubit_gate(std::mt19937& rng, int target, int index, bool named = true) {
    static const Gate_type kKinds[] = {RX, RY, RZ, RX, RY, RZ,    RX, RZ,    H,   H,
                                       I,  X,  Y,  Z,  S,  S_dag, T,  T_dag, RXY, ASQU};
    const int count = named ? sizeof(kKinds) / sizeof(kKinds[0]) : 10;
    std::uniform_int_distribution<int> pick(0, count - 1);
    Gate g(kKinds[pick(rng)], 0, 0, 0, -1, target, index);
    if (g.type <= RZ || g.type == RXY || g.type == ASQU) g.angle = random_angle(rng);
    if (g.type == RXY || g.type == ASQU) g.angle1 = random_angle(rng);
    if (g.type == ASQU) g.angle2 = random_angle(rng);
    return g;
}

/// A random line IN, n one-qubit records, OUT (indices 0, 10, 11, ..., 1).
inline LineOfGates random_line(std::mt19937& rng, int n, bool named = true) {
    LineOfGates L;
    L.gates.push_back(Gate(IN, 0, 0, 0, -1, 0, 0));
    for (int i = 0; i < n; ++i) L.gates.push_back(random_one_qubit_gate(rng, 0, 10 + i, named));
    L.gates.push_back(Gate(OUT, 0, 0, 0, -1, 0, 1));
    return L;
}

/// Builds a line from records given as (kind, angle) pairs.
inline LineOfGates make_line(std::initializer_list<std::pair<Gate_type, double>> gates) {
    LineOfGates L;
    L.gates.push_back(Gate(IN, 0, 0, 0, -1, 0, 0));
    int index = 10;
    for (auto [t, a] : gates) L.gates.push_back(Gate(t, a, 0, 0, -1, 0, index++));
    L.gates.push_back(Gate(OUT, 0, 0, 0, -1, 0, 1));
    return L;
}

/// Kinds and angles of the records between IN and OUT, for compact expectations.
inline std::vector<std::pair<Gate_type, double>> body(const LineOfGates& L) {
    std::vector<std::pair<Gate_type, double>> out;
    for (const Gate& g : L.gates)
        if (g.type != IN && g.type != OUT) out.emplace_back(g.type, g.angle);
    return out;
}

/// Two-qubit kinds available for random circuits.
inline Gate_type random_two_qubit_kind(std::mt19937& rng) {
    static const Gate_type kKinds[] = {CNOT, CNOT, CNOT, CZ, CP, GEO, SWAP, ISWAP, ZENO};
    std::uniform_int_distribution<int> pick(0, sizeof(kKinds) / sizeof(kKinds[0]) - 1);
    return kKinds[pick(rng)];
}

/// Fills a circuit with `n` random gates on its lines (one-qubit kinds mostly rotations).
inline void fill_random_circuit(GraphCircuit& c, std::mt19937& rng, int n, bool named = true) {
    std::uniform_int_distribution<int> line(0, c.num_qubits - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int i = 0; i < n; ++i) {
        if (c.num_qubits > 1 && percent(rng) < 25) {
            int a = line(rng), b = line(rng);
            while (b == a) b = line(rng);
            Gate_type t = random_two_qubit_kind(rng);
            double angle = (t == CP || t == GEO || t == ISWAP) ? random_angle(rng) : 0;
            c.add_gate(t, a, b, angle);
        } else {
            Gate g = random_one_qubit_gate(rng, line(rng), 0, named);
            c.add_gate(g.type, g.target, g.angle, g.angle1, g.angle2);
        }
    }
}

/// Dump of every line of a circuit.
inline std::string dump(GraphCircuit& c) {
    std::ostringstream out;
    out.precision(17);
    out << "global_phase " << c.global_phase << "\n";
    for (int q = 0; q < c.num_qubits; ++q) {
        LineOfGates L;
        c.copy_a_line(q, L);
        out << "line " << q << ": " << dump(L) << "\n";
    }
    return out.str();
}

}  // namespace linetest
