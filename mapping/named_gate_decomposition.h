#pragma once
// Decomposition of the named one-qubit gates X, Y, Z, S, S_dag, T, T_dag and H into rotations,
// and of RY on QD, line by line (decompose_XYZSTH_gate). H is decomposed only at level 0 and
// below. Angles in π/4, phases in π.

#include "circuit/circuit_graph.h"

namespace mapping {

void decompose_XYZSTH_gate(CircuitGraph& circuit, PMD_type pmd, int level);

}  // namespace mapping
