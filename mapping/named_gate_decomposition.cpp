// Decomposition of the named one-qubit gates X, Y, Z, S, S_dag, T, T_dag and H into rotations,
// and of RY on QD. Angles in π/4, phases in π.

#include <vector>

#include "circuit/graph_circuit.h"

namespace {

struct Part {
    Gate_type type;
    double angle;  // NaN-free constant, or kKeepAngle for the angle of the replaced record
};
constexpr double kKeepAngle = 1e300;

struct Decomposition {
    Gate_type kind;
    std::vector<Part> parts;  // time order
    double phase;             // added to the line phase
};

// Each row: the gate equals e^{iπ·phase} times its parts.
// NOTE: Y = e^{-iπ/2}·RY(4) with RY(a) = [[cos, sin], [-sin, cos]], so Y adds -0.5 (not +0.5).
const Decomposition kNamed[] = {
    {X, {{RX, 4}}, 0.5},         {Y, {{RY, 4}}, -0.5},       {Z, {{RZ, 4}}, 0.5},
    {S, {{RZ, 2}}, 0.25},        {S_dag, {{RZ, -2}}, -0.25}, {T, {{RZ, 1}}, 0.125},
    {T_dag, {{RZ, -1}}, -0.125},
};
const Decomposition kH = {H, {{RZ, 2}, {RX, 2}, {RZ, 2}}, 0.5};
const Decomposition kRyOnQd = {RY, {{RZ, 2}, {RX, kKeepAngle}, {RZ, -2}}, 0.0};

}  // namespace

void GraphCircuit::decompose_XYZSTH_gate() {
    if (num_qubits < 1) return;
    for (int q = 0; q < num_qubits; ++q) {
        LineOfGates L;
        copy_a_line(q, L);
        for (auto it = L.gates.begin(); it != L.gates.end();) {
            const Decomposition* d = nullptr;
            for (const Decomposition& row : kNamed)
                if (row.kind == it->type) d = &row;
            if (it->type == H && level <= 0) d = &kH;
            if (it->type == RY && pmd == QD) d = &kRyOnQd;
            if (d == nullptr) {
                ++it;
                continue;
            }
            for (const Part& p : d->parts) {
                double angle = p.angle == kKeepAngle ? it->angle : p.angle;
                L.gates.insert(it, Gate(p.type, angle, 0, 0, -1, it->target, ++gate_counter));
            }
            L.phase += d->phase;
            it = L.gates.erase(it);
        }
        revise_a_line(q, L);
    }
}
