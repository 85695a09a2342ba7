// Placeholder until the named-gate decomposition lands: the pass changes nothing.
#include "circuit/graph_circuit.h"

void GraphCircuit::decompose_XYZSTH_gate() {}
