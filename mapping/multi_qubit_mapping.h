#pragma once
// Technology mapping of the three-qubit gates (Toffoli, Peres), the swap family (SWAP, ISWAP,
// ZENO, ZENO_dag) and the multi-controlled NOT and Z gates onto the native gates and two-qubit
// mappings of a machine description, appended at the ends of their lines. Angles in π/4,
// phases in π.

#include <vector>

#include "circuit/circuit_graph.h"

namespace mapping {

void add_TOF(CircuitGraph& circuit, PMD_type pmd, int control1, int control2, int target);
void add_PERES(CircuitGraph& circuit, PMD_type pmd, int control1, int control2, int target);
void add_PERESd(CircuitGraph& circuit, PMD_type pmd, int control1, int control2, int target);
void add_SWAP(CircuitGraph& circuit, PMD_type pmd, int a, int b);
void add_ISWAP(CircuitGraph& circuit, PMD_type pmd, int a, int b, double angle);
void add_ZENO(CircuitGraph& circuit, PMD_type pmd, int a, int b);
void add_ZENOd(CircuitGraph& circuit, PMD_type pmd, int a, int b);
/// \brief Multi-controlled NOT. `qubits`: controls then the target last; the target is removed
/// from the vector.
void add_CkNOT(CircuitGraph& circuit, PMD_type pmd, std::vector<int>& qubits);
/// \brief Controlled V (k = 0) or V† (k = 1) for the n-qubit Gray-code construction.
void add_CV(CircuitGraph& circuit, PMD_type pmd, int n, int control, int target, int k);
/// \brief Multi-controlled Z; `qubits` as for add_CkNOT.
void add_CkZ(CircuitGraph& circuit, PMD_type pmd, std::vector<int>& qubits);

}  // namespace mapping
