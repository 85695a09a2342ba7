// Placeholder until the two-qubit mappings land: gates are appended natively.
#include "circuit/graph_circuit.h"

void GraphCircuit::add_CNOT(int c, int t) { add_gate(CNOT, c, t, 0); }
void GraphCircuit::add_CZ(int c, int t) { add_gate(CZ, c, t, 0); }
void GraphCircuit::add_CP(int c, int t, double a) { add_gate(CP, c, t, a); }
void GraphCircuit::add_GEO(int c, int t, double a) { add_gate(GEO, c, t, a); }
