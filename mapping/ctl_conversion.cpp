// Placeholder until the CTL conversion lands: the pass changes nothing.
#include "circuit/graph_circuit.h"

void GraphCircuit::convert_to_CTL() {}
