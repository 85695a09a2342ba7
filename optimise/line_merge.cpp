// Pair and triple rewrites toward H, RXY and ASQU records (not used by the synthesis flow).
#include "circuit/graph_circuit.h"

void GraphCircuit::merge_H_gate(LineOfGates&) {}
void GraphCircuit::change_RXY2_gate(LineOfGates&) {}
void GraphCircuit::merge_RXY2_gate(LineOfGates&) {}
void GraphCircuit::interchange_RZ_gate(LineOfGates&) {}
void GraphCircuit::merge_ASQU_gate(LineOfGates&) {}
void GraphCircuit::merge_RXY3_gate(LineOfGates&) {}
