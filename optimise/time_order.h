#pragma once
// The gates of a circuit in an order of time found by walking every line at once: a line moves
// on through its one-qubit gates and stops at a two-qubit gate until the gate's other line has
// reached it too. Any order it gives is a topological order of the graph (though not always the
// one CircuitGraph::topological_order gives, which decides the written order of a netlist). It
// reads only the line edges: O(n) in the number of vertices, with a set of at most one waiting
// gate per line, where the depth-first sort needs a colour per vertex.

#include <vector>

#include "circuit/circuit_graph.h"

namespace phases {

/// \brief The gate vertices of `circuit` (markers left out) in an order of time.
std::vector<Vertex> gates_in_time_order(const CircuitGraph& circuit);

}  // namespace phases
