// Placeholder until the fault-tolerant conversion lands.
#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"

void GraphCircuit::convert_FT(double, int) { fatal_error("convert_FT: not yet supported"); }
void GraphCircuit::convert_1Q_window_to_FT(LineOfGates&, double, int) {
    fatal_error("convert_1Q_window_to_FT: not yet supported");
}
void GraphCircuit::insert_FT_seq(std::list<Gate>&, std::list<Gate>::iterator,
                                 std::list<Gate>::iterator, std::string&) {
    fatal_error("insert_FT_seq: not yet supported");
}
void GraphCircuit::insert_inv_FT_seq(std::list<Gate>&, std::list<Gate>::iterator,
                                     std::list<Gate>::iterator, std::string&) {
    fatal_error("insert_inv_FT_seq: not yet supported");
}
