#pragma once
// The passes of optimisation level 2 on a circuit read in time order: commutation-aware
// cancellation, phase folding, and cancellation again, repeated while they remove gates.
// Expects: any gates (best: CNOT and rotations, as a netlist in Toffoli form reads under NP).
// Produces: the same circuit, exactly, with the change of global phase added. Each round is
// O(n) in the number of vertices.

#include "circuit/circuit_graph.h"

namespace phases {

/// \brief Runs the passes until a round removes nothing; returns the number of gates removed.
int optimise_phases(CircuitGraph& circuit);

}  // namespace phases
