#pragma once
// Technology mapping of the two-qubit gates CNOT, CZ, CP and GEO onto the native gates of a
// machine description, appended at the ends of their lines. Every recipe, times e^{iπ·(phase
// added)}, equals its gate exactly. Angles in π/4, phases in π.

#include "circuit/circuit_graph.h"

namespace mapping {

void add_CNOT(CircuitGraph& circuit, PMD_type pmd, int control, int target);
void add_CZ(CircuitGraph& circuit, PMD_type pmd, int control, int target);
/// \brief Controlled phase; a full turn appends nothing, a half turn is CZ.
void add_CP(CircuitGraph& circuit, PMD_type pmd, int control, int target, double angle);
/// \brief The geometric (ZZ) gate; a full turn appends nothing.
void add_GEO(CircuitGraph& circuit, PMD_type pmd, int control, int target, double angle);

}  // namespace mapping
