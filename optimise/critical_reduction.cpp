// Placeholder until the critical-path reduction lands: the pass changes nothing.
#include "circuit/graph_circuit.h"

void GraphCircuit::reduce_critical() {}
