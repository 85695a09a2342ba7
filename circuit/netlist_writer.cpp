// Placeholder until the netlist writer lands.
#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"

void GraphCircuit::output_circuit(std::string) { fatal_error("output_circuit: not yet supported"); }
std::string GraphCircuit::output_circuit_in_string() {
    fatal_error("output_circuit_in_string: not yet supported");
}
void GraphCircuit::print_circuit() { fatal_error("print_circuit: not yet supported"); }
void GraphCircuit::print_graph_circuit() { fatal_error("print_graph_circuit: not yet supported"); }
