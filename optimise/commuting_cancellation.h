#pragma once
// Commutation-aware cancellation. A gate is moved, in thought, forward along its lines past the
// gates it commutes with: a diagonal gate (Z, S, S_dag, T, T_dag, RZ) passes diagonal gates and
// the control of a CNOT; an X-axis gate (X, RX) passes X-axis gates and the target of a CNOT;
// a CNOT passes, on its control line, what a diagonal gate passes there and, on its target
// line, what an X-axis gate passes there (so CNOTs sharing a control or a target commute); a
// CZ passes what a diagonal gate passes on both lines. When
// it meets a gate of its own kind it merges with it: H·H, CNOT·CNOT and CZ·CZ cancel, rotations
// about one axis add up (and go when they sum to the identity). H gates around a run of X-axis
// gates on their line (X, RX, CNOT targets) go, the run turned about Z (Z, RZ, CZ), which the
// phases fold through. Expects: any gates. Produces: the same circuit, exactly, with the change of
// global phase added. Each gate looks at most kCommutationWindow records ahead on each line; a gate
// is looked at again only when a gate after it on one of its lines goes or changes, so the pass is
// O(n) in the number of vertices (with the window as the constant) and ends at the fixed point.
//
// Angles in π/4, phases in π.

#include "circuit/circuit_graph.h"

namespace phases {

/// Records a gate looks ahead on each of its lines for a partner.
constexpr int kCommutationWindow = 64;

/// \brief Cancels and merges until nothing more does; returns the number of gates removed.
int cancel_commuting_gates(CircuitGraph& circuit);

}  // namespace phases
