// Placeholder until the netlist reader lands.
#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"

void GraphCircuit::read_netlist(std::string&) { fatal_error("read_netlist: not yet supported"); }
