// Decomposition of the named one-qubit gates X, Y, Z, S, S_dag, T, T_dag and H into rotations,
// and of RY on QD. Angles in π/4, phases in π.

#include "mapping/named_gate_decomposition.h"

#include <list>
#include <vector>

#include "circuit/named_rotation.h"

namespace {

struct Part {
    Gate_type type;
    double angle;  // NaN-free constant, or kKeepAngle for the angle of the replaced record
};
constexpr double kKeepAngle = 1e300;

struct Decomposition {
    std::vector<Part> parts;  // time order
    double phase;             // added to the line phase
};

// Each row: the gate equals e^{iπ·phase} times its parts. X, Y, Z, S, T and their adjoints come
// from named_rotation.
const Decomposition kH = {{{RZ, 2}, {RX, 2}, {RZ, 2}}, 0.5};
const Decomposition kRyOnQd = {{{RZ, 2}, {RX, kKeepAngle}, {RZ, -2}}, 0.0};

// Replaces the record at `it` by `parts` (in time order) and adds `phase` to the line; returns
// the record after the replaced one.
std::list<Gate>::iterator replace_record(LineOfGates& line, std::list<Gate>::iterator it,
                                         const Part* first, const Part* last, double phase,
                                         int& gate_counter) {
    for (const Part* p = first; p != last; ++p) {
        const double angle = p->angle == kKeepAngle ? it->angle : p->angle;
        line.gates.insert(it, Gate(p->type, angle, 0, 0, -1, it->target, ++gate_counter));
    }
    line.phase += phase;
    return line.gates.erase(it);
}

}  // namespace

namespace mapping {

void decompose_XYZSTH_gate(CircuitGraph& circuit, PMD_type pmd, int level) {
    if (circuit.num_qubits < 1) return;
    for (int q = 0; q < circuit.num_qubits; ++q) {
        LineOfGates L;
        circuit.copy_a_line(q, L);
        for (auto it = L.gates.begin(); it != L.gates.end();) {
            if (const NamedRotation* r = named_rotation(it->type)) {
                const Part part = {r->rotation, r->angle};
                it = replace_record(L, it, &part, &part + 1, r->phase, circuit.gate_counter);
                continue;
            }
            const Decomposition* d = nullptr;
            if (it->type == H && level <= 0) d = &kH;
            if (it->type == RY && pmd == QD) d = &kRyOnQd;
            if (d == nullptr) {
                ++it;
                continue;
            }
            const Part* parts = d->parts.data();
            it = replace_record(L, it, parts, parts + d->parts.size(), d->phase,
                                circuit.gate_counter);
        }
        circuit.revise_a_line(q, L);
    }
}

}  // namespace mapping
