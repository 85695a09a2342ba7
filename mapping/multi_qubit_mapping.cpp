// Placeholder until the multi-qubit decompositions land.
#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"

void GraphCircuit::add_TOF(int, int, int) { fatal_error("Toffoli: not yet supported"); }
void GraphCircuit::add_PERES(int, int, int) { fatal_error("PERES: not yet supported"); }
void GraphCircuit::add_PERESd(int, int, int) { fatal_error("PERES_dag: not yet supported"); }
void GraphCircuit::add_SWAP(int, int) { fatal_error("SWAP: not yet supported"); }
void GraphCircuit::add_ISWAP(int, int, double) { fatal_error("ISWAP: not yet supported"); }
void GraphCircuit::add_ZENO(int, int) { fatal_error("ZENO: not yet supported"); }
void GraphCircuit::add_ZENOd(int, int) { fatal_error("ZENO_dag: not yet supported"); }
void GraphCircuit::add_CkNOT(std::vector<int>&) { fatal_error("MCT: not yet supported"); }
void GraphCircuit::add_CV(int, int, int, int) { fatal_error("add_CV: not yet supported"); }
void GraphCircuit::add_CkZ(std::vector<int>&) { fatal_error("CkZ: not yet supported"); }
