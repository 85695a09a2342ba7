#include "support/random_circuits.h"

#include "support/gate_lists.h"

namespace testrandom {

namespace {

using testgates::takes_angle;

// Records of the motif circuits; the index is unused (build appends with add_gate).
Gate one(Gate_type kind, int q, double angle = 0.0) {
    return Gate(kind, angle, 0, 0, -1, q, -100);
}
Gate two(Gate_type kind, int c, int t, double angle = 0.0) {
    return Gate(kind, angle, 0, 0, c, t, -100);
}

template <typename T>
const T& pick(std::mt19937& rng, const std::vector<T>& items) {
    return items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(rng)];
}

bool chance(std::mt19937& rng, double p) {
    return std::bernoulli_distribution(p)(rng);
}

/// Two-qubit kinds of the filled random circuits.
Gate_type random_two_qubit_kind(std::mt19937& rng) {
    static const Gate_type kKinds[] = {CNOT, CNOT, CNOT, CZ, CP, GEO, SWAP, ISWAP, ZENO};
    std::uniform_int_distribution<int> which(0, sizeof(kKinds) / sizeof(kKinds[0]) - 1);
    return kKinds[which(rng)];
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
        return one(kind, c, takes_angle(kind) ? two_qubit_angle(rng) : 0.0);
    }
    int t = line(rng);
    while (t == c) t = line(rng);
    static const std::vector<Gate_type> kinds = {CNOT, CZ, CP, GEO, SWAP, ISWAP, ZENO};
    const Gate_type kind = pick(rng, kinds);
    return two(kind, c, t, takes_angle(kind) ? two_qubit_angle(rng) : 0.0);
}

}  // namespace

double random_angle(std::mt19937& rng) {
    static const double kAngles[] = {0, 2,  4,  6,  8,   -2,    -4,  -6, -8, 1, 3, 5,
                                     7, -1, 12, 16, 0.5, -0.25, 2.5, 4,  4,  2, 6};
    std::uniform_int_distribution<int> which(0, sizeof(kAngles) / sizeof(kAngles[0]) - 1);
    return kAngles[which(rng)];
}

Gate random_one_qubit_gate(std::mt19937& rng, int target, int index, Kinds kinds) {
    // The first eight kinds are RX, RY and RZ, then H twice; the named gates follow.
    static const Gate_type kKinds[] = {RX, RY, RZ, RX, RY, RZ,    RX, RZ,    H,   H,
                                       I,  X,  Y,  Z,  S,  S_dag, T,  T_dag, RXY, ASQU};
    const int count = kinds == Kinds::WithNamed       ? sizeof(kKinds) / sizeof(kKinds[0])
                      : kinds == Kinds::RotationsAndH ? 10
                                                      : 8;
    std::uniform_int_distribution<int> which(0, count - 1);
    Gate g(kKinds[which(rng)], 0, 0, 0, -1, target, index);
    if (g.type <= RZ || g.type == RXY || g.type == ASQU) g.angle = random_angle(rng);
    if (g.type == RXY || g.type == ASQU) g.angle1 = random_angle(rng);
    if (g.type == ASQU) g.angle2 = random_angle(rng);
    return g;
}

LineOfGates random_line(std::mt19937& rng, int n, Kinds kinds) {
    LineOfGates line;
    line.gates.push_back(Gate(IN, 0, 0, 0, -1, 0, 0));
    for (int i = 0; i < n; ++i) line.gates.push_back(random_one_qubit_gate(rng, 0, 10 + i, kinds));
    line.gates.push_back(Gate(OUT, 0, 0, 0, -1, 0, 1));
    return line;
}

void fill_random_circuit(GraphCircuit& c, std::mt19937& rng, int n, Kinds kinds) {
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
            Gate g = random_one_qubit_gate(rng, line(rng), 0, kinds);
            c.add_gate(g.type, g.target, g.angle, g.angle1, g.angle2);
        }
    }
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

}  // namespace testrandom
