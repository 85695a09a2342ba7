#pragma once
// Phase folding (rotation merging). A circuit of CNOT, SWAP, X and diagonal one-qubit gates maps
// |x⟩ to e^{iΣθ_k·f_k(x)}|A·x ⊕ b⟩, each f_k a parity of path variables; H and every gate the
// pass does not model start a new variable on the lines they touch. Every diagonal rotation
// (Z, S, S_dag, T, T_dag, RZ) adds its angle to the term of its line's current parity; the
// rotations of each term with more than one become one, at the term's first occurrence, and
// the others go. Expects: any gates (CZ, CP and GEO are diagonal and left where they are;
// X and RX by an odd multiple of π flip a parity; RX by a whole turn changes nothing).
// Produces: the same circuit, exactly, with the change of global phase added. O(n) in the
// number of vertices (a parity is a 128-bit key, one XOR per CNOT).
//
// Angles in π/4, phases in π.

#include "circuit/circuit_graph.h"

namespace phases {

/// \brief Merges the rotations of every parity term of `circuit`; returns the number of gates
/// removed.
int fold_phases(CircuitGraph& circuit);

}  // namespace phases
