// Rotations by whole multiples of π/4 rewritten as named Clifford+T gates.

#include "mapping/ctl_conversion.h"

#include <array>
#include <vector>

namespace {

/// Replacement of RX/RY/RZ by angle 1..7 (π/4 units), in time order. Each equals its rotation up
/// to a global phase, which is not recorded.
struct CtlRow {
    std::vector<Gate_type> rz;
    std::vector<Gate_type> rx;
    std::vector<Gate_type> ry;
};

const std::array<CtlRow, 8>& ctl_table() {
    static const std::array<CtlRow, 8> table = {{
        {{}, {}, {}},                                                // angle 0: unused
        {{T}, {H, T, H}, {S, H, T, H, S_dag}},                       // 1
        {{S}, {S_dag, H, S_dag}, {H, Z}},                            // 2
        {{Z, T_dag}, {H, Z, T_dag, H}, {S, H, Z, T_dag, H, S_dag}},  // 3
        {{Z}, {X}, {X, Z}},                                          // 4
        {{Z, T}, {H, Z, T, H}, {S, H, Z, T, H, S_dag}},              // 5
        {{S_dag}, {S, H, S}, {Z, H}},                                // 6
        {{T_dag}, {H, T_dag, H}, {S, H, T_dag, H, S_dag}},           // 7
    }};
    return table;
}

/// The replacement of a record, or nullptr when it is not a rotation by exactly 1..7.
const std::vector<Gate_type>* ctl_replacement(const Gate& g) {
    if (!is_rotation(g)) return nullptr;
    for (int a = 1; a <= 7; ++a) {
        if (g.angle != a) continue;
        const CtlRow& row = ctl_table()[a];
        return g.type == RZ ? &row.rz : g.type == RX ? &row.rx : &row.ry;
    }
    return nullptr;
}

}  // namespace

// Expects: any gates. Produces: RX, RY and RZ by exactly 1..7 become H, S, S_dag, T, T_dag, X
// and Z; every other record and the circuit's global phase are unchanged. O(line length).
namespace mapping {

void convert_to_CTL(CircuitGraph& circuit) {
    for (int q = 0; q < circuit.num_qubits; ++q) {
        LineOfGates line;
        circuit.copy_a_line(q, line);
        auto it = line.gates.begin();
        if (it != line.gates.end()) ++it;  // the IN record
        while (it != line.gates.end()) {
            const std::vector<Gate_type>* replacement = ctl_replacement(*it);
            if (replacement == nullptr) {
                ++it;
                continue;
            }
            const int target = it->target;
            it = line.gates.erase(it);
            for (Gate_type kind : *replacement)
                line.gates.insert(it, Gate(kind, 0, 0, 0, -1, target, ++circuit.gate_counter));
        }
        circuit.revise_a_line(q, line);
    }
}

}  // namespace mapping
