#pragma once
// The one-qubit line reduction done literally, the reference the pass is compared with: every
// line copied out of the graph, every stage run with the literal editing strategy (window costs
// asked from the cost model, best copies taken whole), the best copy written back; no memo.

#include "circuit/graph_circuit.h"

namespace reference {

/// \brief Both passes (X left and Z right, then the other way) over every line of `c`.
void reduce_lines_literal(GraphCircuit& c);

}  // namespace reference
