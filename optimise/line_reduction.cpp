// Placeholder until the one-qubit line reduction lands: passes change nothing.
#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"

void GraphCircuit::reduce1Qgate() {}
void GraphCircuit::copy_a_line(int, LineOfGates&) { fatal_error("copy_a_line: not yet supported"); }
void GraphCircuit::revise_a_line(int, LineOfGates&) { fatal_error("revise_a_line: not yet supported"); }
void GraphCircuit::clear_path(int, Vertex, Vertex) { fatal_error("clear_path: not yet supported"); }
void GraphCircuit::simplify(LineOfGates&, int, int, int) {}
void GraphCircuit::simplify1(LineOfGates&, int, int, int) {}
void GraphCircuit::simplify2(LineOfGates&, int, int, int) {}
void GraphCircuit::simplify3(LineOfGates&, int, int, int) {}
void GraphCircuit::interchangeXLZR(LineOfGates&, int, int, int) {}
void GraphCircuit::interchangeXRZL(LineOfGates&, int, int, int) {}
void GraphCircuit::movementXLZR(int, LineOfGates&, int, int, int) {}
void GraphCircuit::movementXRZL(int, LineOfGates&, int, int, int) {}
void GraphCircuit::split_angles(LineOfGates&) {}
void GraphCircuit::merge_H_gate(LineOfGates&) {}
void GraphCircuit::change_RXY2_gate(LineOfGates&) {}
void GraphCircuit::merge_RXY2_gate(LineOfGates&) {}
void GraphCircuit::interchange_RZ_gate(LineOfGates&) {}
void GraphCircuit::merge_ASQU_gate(LineOfGates&) {}
void GraphCircuit::merge_RXY3_gate(LineOfGates&) {}
