#pragma once
// Two-qubit gate reduction: one peephole sweep over the lines that removes or simplifies pairs of
// CNOT, CZ, CP and GEO gates enclosing at most one one-qubit gate on each of their two lines
// (reduce2Qgate). Expects: any gates. Produces: the same circuit, exactly, with the
// change of global phase added. Leaves every other two-qubit kind unchanged. O(n) in the
// number of vertices for the first sweep over a circuit; a later sweep costs what changed since.
//
// Angles in π/4.

#include "circuit/circuit_graph.h"
#include "cost/cost_model.h"

/// Which vertices a sweep visits: only the two-qubit candidates (see CircuitGraph) and the gates
/// that end a line's walk, or every vertex of every line. Both give the same circuit; the sweep
/// over every vertex is the reference the tests compare with.
enum class PairSweep { Candidates, Every };

/// \brief One sweep of the reduction over every line.
void reduce2Qgate(CircuitGraph& circuit, const CostModel& cost,
                  PairSweep sweep = PairSweep::Candidates);
