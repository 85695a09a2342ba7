// Technology mapping of the three-qubit gates (Toffoli, Peres), the swap family (SWAP, ISWAP,
// ZENO, ZENO_dag) and the multi-controlled NOT and Z gates onto the native gates and two-qubit
// mappings of each machine description. Angles in π/4, phases in π.

#include "mapping/multi_qubit_mapping.h"

#include <cmath>
#include <iostream>
#include <vector>

#include "circuit/named_rotation.h"
#include "mapping/mapping_tables.h"
#include "mapping/two_qubit_mapping.h"

using namespace mapping;

namespace {

const RecipeTable& toffoli_table() {
    constexpr int c1 = 0, c2 = 1, t = 2;
    static const RecipeTable table = {
        // NOTE: this sequence equals e^{iπ/8}·Toffoli, so the row takes −0.125 off the phase
        // (without it the row would be off by that phase, and so would Peres and Fredkin).
        {{QD},
         {gate(H, c2), call_CZ(c1, c2), gate(RX, c2, -1), gate(RX, t, 1), call_CZ(c1, t),
          call_CZ(c1, c2), gate(H, c2), gate(RX, t, -1), call_CZ(c2, t), gate(RX, t, 1),
          call_CZ(c1, t), gate(T, c1), gate(T, c2), gate(RX, t, -1), call_CZ(c2, t),
          phase(-0.125)}},
        {{SC},
         {call_CP(c1, t, 4), gate(RY, t, 2), call_CP(c2, t, -2), gate(RY, t, -2),
          call_CP(c1, c2, 2), call_CP(c1, t, 4), gate(RY, t, 2), call_CP(c2, t, 2),
          gate(RY, t, -2)}},
        {{IT},
         {call_GEO(c1, c2, -1), call_GEO(c1, t, -2), gate(RY, t, -1), call_GEO(c2, t, -2),
          gate(RX, t, -1), call_GEO(c1, t, -2), gate(RY, t, 1), call_GEO(c2, t, -2),
          gate(RZ, c1, 5), gate(RZ, c2, 5), gate(RX, t, 1), phase(1.25)}},
        {{NA},
         {gate(RY, c2, 2), call_CZ(c1, c2), gate(RX, c2, 1), gate(RX, t, 1), call_CZ(c1, t),
          call_CZ(c1, c2), gate(RX, c2, -1), gate(RY, c2, -2), gate(RX, t, -1), call_CZ(c2, t),
          gate(RX, t, 1), call_CZ(c1, t), gate(RX, t, -1), call_CZ(c2, t), gate(RZ, c1, 1),
          phase(0.125)}},
        {{LP},
         {call_CNOT(c1, c2), gate(T_dag, c2), gate(RX, t, 1), call_CZ(c1, t), call_CNOT(c1, c2),
          gate(RX, t, -1), call_CZ(c2, t), gate(RX, t, 1), call_CZ(c1, t), gate(T, c1), gate(T, c2),
          gate(RX, t, -1), call_CZ(c2, t)}},
        {{NP, ND, CTL, FTS},
         {call_CNOT(c1, c2), gate(H, t), gate(T, c2), gate(T_dag, t), call_CNOT(t, c2),
          call_CNOT(c1, t), gate(T_dag, c2), gate(T, t), call_CNOT(c1, c2), call_CNOT(c1, t),
          gate(T, c2), call_CNOT(t, c2), gate(T_dag, c1), gate(T_dag, c2), gate(H, t)}},
    };
    return table;
}

const RecipeTable& swap_table() {
    constexpr int a = 0, b = 1;
    static const RecipeTable table = {
        {{NP, CTL, FTS}, {call_CNOT(a, b), call_CNOT(b, a), call_CNOT(a, b)}},
        {{NA},
         {gate(RY, b, 2), call_CZ(a, b), gate(RY, a, 2), gate(RY, b, -2), call_CZ(a, b),
          gate(RY, a, -2), gate(RY, b, 2), call_CZ(a, b), gate(RY, b, -2)}},
        {{QD},
         {gate(RZ, b, 6), gate(RZ, a, 6), gate(RX, b, 6), call_CZ(a, b), gate(RX, a, 6),
          gate(RX, b, 2), call_CZ(a, b), gate(RX, a, 2), gate(RX, b, 6), call_CZ(a, b),
          gate(RZ, a, 2), gate(RX, b, 2), gate(RZ, b, 2), phase(1)}},
        {{IT},
         {gate(RY, b, 2), call_GEO(a, b, -2), gate(RX, a, 6), gate(RX, b, 2), call_GEO(a, b, -2),
          gate(RY, a, 2), gate(RY, b, 6), call_GEO(a, b, -2), gate(RZ, a, 6), gate(RX, b, 6),
          gate(RZ, b, 6), phase(0.5)}},
        {{SC}, {call_ISWAP(a, b, 2), call_CZ(a, b), gate(RZ, a, 2), gate(RZ, b, 2), phase(0.5)}},
        {{LP, ND}, {gate2(SWAP, a, b)}},
    };
    return table;
}

// ISWAP(θ) is [[cos θπ/4, −i sin θπ/4], [−i sin θπ/4, cos θπ/4]] on |01⟩, |10⟩.
const RecipeTable& iswap_table() {
    constexpr int a = 0, b = 1;
    static const RecipeTable table = {
        // The outer blocks are the QD form of CNOT(b, a) written out with a native CZ[b, a].
        {{QD},
         {gate(RZ, a, 6), gate(RX, a, 6), gate2(CZ, b, a), gate(RX, a, 2), gate(RZ, a, 2),
          call_CZ(a, b), gate(RX, b, theta(-1)), call_CZ(a, b), gate(RX, b, theta(1)),
          gate(RZ, a, 6), gate(RX, a, 6), gate2(CZ, b, a), gate(RX, a, 2), gate(RZ, a, 2)}},
        {{NA, LP, CTL, FTS},
         {call_CNOT(b, a), call_CZ(a, b), gate(RX, b, theta(-1)), call_CZ(a, b),
          gate(RX, b, theta(1)), call_CNOT(b, a)}},
        {{NP},
         {gate2(CNOT, b, a), gate(RY, b, -2), call_CNOT(a, b), gate(RZ, b, theta(1)),
          call_CNOT(a, b), gate(RY, b, 2), gate(RX, b, theta(1)), gate2(CNOT, b, a)}},
        {{IT},
         {gate(RY, a, 2), call_GEO(a, b, -2), gate(RX, a, 2), call_GEO(a, b, -2),
          gate(RX, b, theta(1)), call_GEO(a, b, -2), gate(RX, a, 2), gate(RY, b, theta(-1)),
          call_GEO(a, b, -2), gate(RY, a, -2)}},
        {{SC, ND}, {gate2(ISWAP, a, b, theta(1))}},
    };
    return table;
}

const RecipeTable& zeno_table() {
    constexpr int a = 0, b = 1;
    static const RecipeTable table = {
        {{QD},
         {gate(RZ, b, 6), gate(RZ, a, 6), gate(RX, b, 6), call_CZ(a, b), gate(RX, a, 6),
          gate(RX, b, 2), call_CZ(a, b), gate(RX, a, 2), gate(RX, b, 6), call_CZ(a, b),
          gate(RX, b, 2), call_CZ(a, b), phase(0.5)}},
        {{NA, LP, CTL, FTS},
         {call_CNOT(b, a), call_CZ(a, b), gate(RX, b, -2), call_CZ(a, b), gate(RX, b, 2),
          call_CNOT(b, a)}},
        {{NP},
         {call_CNOT(b, a), gate(RY, b, -2), call_CNOT(a, b), gate(RZ, b, 2), call_CNOT(a, b),
          gate(RY, b, 2), gate(RX, b, 2), call_CNOT(b, a)}},
        {{IT},
         {gate(RY, a, 2), call_GEO(a, b, -2), gate(RX, a, 2), call_GEO(a, b, -2), gate(RX, b, 2),
          call_GEO(a, b, -2), gate(RX, a, 2), gate(RY, b, -2), call_GEO(a, b, -2),
          gate(RY, a, -2)}},
        {{SC, ND}, {gate2(ZENO, a, b)}},
    };
    return table;
}

// ZENO_dag (kind 24) is native on SC and ND.
const RecipeTable& zeno_dag_table() {
    constexpr int a = 0, b = 1;
    static const RecipeTable table = {
        {{QD},
         {call_CZ(a, b), gate(RX, b, -2), call_CZ(a, b), gate(RX, b, -6), gate(RX, a, -2),
          call_CZ(a, b), gate(RX, b, -2), gate(RX, a, -6), call_CZ(a, b), gate(RX, b, -6),
          gate(RZ, a, -6), gate(RZ, b, -6), phase(-0.5)}},
        {{NA, LP, CTL, FTS},
         {call_CNOT(b, a), gate(RX, b, -2), call_CZ(a, b), gate(RX, b, 2), call_CZ(a, b),
          call_CNOT(b, a)}},
        {{NP},
         {call_CNOT(b, a), gate(RX, b, -2), gate(RY, b, -2), call_CNOT(a, b), gate(RZ, b, -2),
          call_CNOT(a, b), gate(RY, b, 2), call_CNOT(b, a)}},
        {{IT},
         {gate(RY, a, 2), call_GEO(a, b, 2), gate(RY, b, 2), gate(RX, a, -2), call_GEO(a, b, 2),
          gate(RX, b, -2), call_GEO(a, b, 2), gate(RX, a, -2), call_GEO(a, b, 2), gate(RY, a, -2)}},
        {{SC, ND}, {gate2(ZENO_dag, a, b)}},
    };
    return table;
}

// Controlled-V on (control b, target t), V^(2^(m−1)) = X for m controls. θ is φ = 4 / 2^(n−1);
// ψ = 4 / 2^(n−2) is written 2θ.
const RecipeTable& cv_table() {
    constexpr int b = 0, t = 1;
    static const RecipeTable table = {
        {{SC, IT, NP, ND}, {gate(H, t), call_CP(b, t, theta(2)), gate(H, t)}},
        {{QD, NA, LP, CTL, FTS},
         {phase(theta(1.0 / 8)), call_CZ(b, t), gate(RX, t, theta(-1)), call_CZ(b, t),
          gate(RZ, b, theta(1)), gate(RX, t, theta(1))}},
    };
    return table;
}

// The adjoint, controlled-V†.
const RecipeTable& cv_dag_table() {
    constexpr int b = 0, t = 1;
    static const RecipeTable table = {
        {{SC, IT, NP}, {gate(H, t), call_CP(b, t, theta(-2)), gate(H, t)}},
        {{QD, NA, LP, ND, CTL, FTS},
         {phase(theta(-1.0 / 8)), gate(RZ, b, theta(-1)), gate(RX, t, theta(-1)), call_CZ(b, t),
          gate(RX, t, theta(1)), call_CZ(b, t)}},
    };
    return table;
}

}  // namespace

namespace mapping {

void add_TOF(CircuitGraph& circuit, PMD_type pmd, int control1, int control2, int target) {
    run_recipe(circuit, pmd, toffoli_table(), {control1, control2, target});
}

void add_PERES(CircuitGraph& circuit, PMD_type pmd, int control1, int control2, int target) {
    add_CNOT(circuit, pmd, control1, control2);
    add_TOF(circuit, pmd, control1, control2, target);
}

void add_PERESd(CircuitGraph& circuit, PMD_type pmd, int control1, int control2, int target) {
    add_TOF(circuit, pmd, control1, control2, target);
    add_CNOT(circuit, pmd, control1, control2);
}

void add_SWAP(CircuitGraph& circuit, PMD_type pmd, int a, int b) {
    run_recipe(circuit, pmd, swap_table(), {a, b});
}

void add_ISWAP(CircuitGraph& circuit, PMD_type pmd, int a, int b, double angle) {
    run_recipe(circuit, pmd, iswap_table(), {a, b}, angle);
}

void add_ZENO(CircuitGraph& circuit, PMD_type pmd, int a, int b) {
    run_recipe(circuit, pmd, zeno_table(), {a, b});
}

void add_ZENOd(CircuitGraph& circuit, PMD_type pmd, int a, int b) {
    run_recipe(circuit, pmd, zeno_dag_table(), {a, b});
}

// Gray-code construction: for every non-empty subset of the controls, in reflected Gray-code
// order over list positions, the parity of the subset is formed on its highest control line
// with CNOTs, and a controlled V (odd subsets) or V† (even subsets) acts from that line on the
// target. The last code has one bit, so every control line ends holding its own value.
// O(2^m · m) steps for m controls.
void add_CkNOT(CircuitGraph& circuit, PMD_type pmd, std::vector<int>& qubits) {
    // NOTE: an empty list has no target; it appends nothing rather than reading past the end.
    if (qubits.empty()) return;
    const int n = int(qubits.size());
    const int target = qubits.back();
    qubits.pop_back();
    const int m = n - 1;
    if (m == 0) {
        // NOTE: a NOT without controls is X; appending nothing would lose the gate. X is
        // appended the way the reader appends it: named on ND and CTL, else e^{iπ/2}·RX(4).
        if (pmd == ND || pmd == CTL) {
            circuit.add_gate(X, target, 0, 0, 0);
        } else {
            const NamedRotation& x = *named_rotation(X);
            circuit.add_gate(x.rotation, target, x.angle, 0, 0);
            circuit.global_phase += x.phase;
        }
        return;
    }
    // carries[h][j]: control line h currently holds c_h XOR c_j.
    std::vector<std::vector<bool>> carries(m, std::vector<bool>(m, false));
    const unsigned long long codes = (1ull << m) - 1;
    for (unsigned long long i = 1; i <= codes; ++i) {
        const unsigned long long g = i ^ (i >> 1);
        int h = 0;
        while ((g >> (h + 1)) != 0) ++h;
        for (int j = h - 1; j >= 0; --j) {
            const bool bit = (g >> j) & 1;
            if (carries[h][j] != bit) {
                carries[h][j] = bit;
                add_CNOT(circuit, pmd, qubits[j], qubits[h]);
            }
        }
        add_CV(circuit, pmd, n, qubits[h], target, int((i - 1) % 2));
    }
}

void add_CV(CircuitGraph& circuit, PMD_type pmd, int n, int control, int target, int k) {
    if (k != 0 && k != 1) {
        std::cout << "add_CV: Error!" << std::endl;
        return;
    }
    const double phi = 4 / std::pow(2.0, n - 1);
    run_recipe(circuit, pmd, k == 0 ? cv_table() : cv_dag_table(), {control, target}, phi);
}

void add_CkZ(CircuitGraph& circuit, PMD_type pmd, std::vector<int>& qubits) {
    if (qubits.empty()) return;
    const int t = qubits.back();
    // X conjugated by H, or by RY(−2) ... RY(2), is Z exactly.
    const bool hadamard = pmd == ND || pmd == CTL;
    if (hadamard) {
        circuit.add_gate(H, t, 0, 0, 0);
    } else {
        circuit.add_gate(RY, t, -2, 0, 0);
    }
    add_CkNOT(circuit, pmd, qubits);
    if (hadamard) {
        circuit.add_gate(H, t, 0, 0, 0);
    } else {
        circuit.add_gate(RY, t, 2, 0, 0);
    }
}

}  // namespace mapping
