#pragma once
// Two-qubit gate reduction: one peephole sweep over the lines that removes or simplifies pairs of
// CNOT, CZ, CP and GEO gates enclosing at most one one-qubit gate on each of their two lines
// (GraphCircuit::reduce2Qgate). Expects: any gates. Produces: the same circuit, exactly, with the
// change of global phase added. Leaves every other two-qubit kind unchanged. O(n) in the
// number of vertices.
//
// These free functions are the graph edits the pass is made of. Angles in π/4.

#include "circuit/graph_circuit.h"

/// \brief Takes `v` off each of its lines, joins its predecessor and successor on each line by an
/// edge labelled with that line, and deletes the vertex. Keeps `line_last` valid.
void remove_gate_vertex(GraphCircuit& circuit, Vertex v);

/// \brief Inserts a new one-qubit vertex (`kind`, `angle`, fresh index) right after `v` on line
/// `q` and returns it. Keeps `line_last` valid.
Vertex insert_gate_after(GraphCircuit& circuit, Vertex v, int q, Gate_type kind, double angle);

/// \brief An angle reduced modulo 8.0 into [0, 8.0) by the floating remainder.
double normalised_turn(double angle);
