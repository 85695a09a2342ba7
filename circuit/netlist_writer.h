#pragma once
// Netlist text of a circuit, as the member writers of GraphCircuit produce it.

#include <string>

class GraphCircuit;

/// \brief The text that output_circuit writes to its file: gates in time order, numbers at
/// precision 16, ".pmd" naming every description, no ".global_phase" line.
std::string netlist_file_text(GraphCircuit& circuit);
