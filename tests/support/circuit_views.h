#pragma once
// What tests read back from a circuit: readable dumps of records, lines and whole circuits
// (for failure messages and exact expectations), the gates in appending order, and counts.

#include <string>
#include <vector>

#include "circuit/graph_circuit.h"

namespace testview {

/// \brief One record: "RZ(2)#12", "CNOT(0;0->1)#14" (angles with 17 digits).
std::string dump(const Gate& g);

/// \brief A line copy: "phase p: IN(...)#0 ... OUT(...)#1".
std::string dump(const LineOfGates& line);

/// \brief The global phase and every line copied out of the circuit.
std::string dump(GraphCircuit& circuit);

/// \brief The gates of every line, walked from its start: "0: CNOT[0,1] RY(2) | 1: ...".
std::string line_walk_text(GraphCircuit& circuit);

/// \brief Gate records in the order they were appended (by vertex index), markers left out.
std::vector<Gate> appended_gates(GraphCircuit& circuit);

/// \brief The kinds of appended_gates.
std::vector<Gate_type> appended_kinds(GraphCircuit& circuit);

/// \brief Number of gate vertices (markers excluded).
int gate_count(GraphCircuit& circuit);

}  // namespace testview
