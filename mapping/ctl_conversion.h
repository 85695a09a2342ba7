#pragma once
// Rotations by whole multiples of π/4 rewritten as named Clifford+T gates (convert_to_CTL).
// Expects: any gates. Produces: RX, RY and RZ by exactly 1..7 become H, S, S_dag, T, T_dag, X
// and Z; every other record and the global phase are unchanged. O(line length).

#include "circuit/circuit_graph.h"

namespace mapping {

void convert_to_CTL(CircuitGraph& circuit);

}  // namespace mapping
