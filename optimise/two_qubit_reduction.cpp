// Placeholder until the two-qubit reduction lands: the pass changes nothing.
#include "circuit/graph_circuit.h"

void GraphCircuit::reduce2Qgate() {}
