#pragma once
// Test helpers of the two-qubit and critical-path reductions: small circuits written as compact
// text ("CNOT 0 1; RY 0 2; H 1"), built with add_gate so that the patterns reach the passes
// unmapped, random circuits rich in those patterns, and netlist dumps for reproducing failures.
// Angles in π/4, phases in π.

#include <random>
#include <string>
#include <vector>

#include "circuit/graph_circuit.h"

namespace twoq_test {

/// \brief Parses "KIND q [angle]" / "KIND c t [angle]" items separated by ';' (qubits are line
/// numbers, gates in time order).
std::vector<Gate> parse_gates(const std::string& text);

/// \brief Builds the skeleton of `qubits` lines and appends the gates with add_gate.
void build(GraphCircuit& circuit, int qubits, const std::vector<Gate>& gates);

/// \brief The gates as a netlist text in time order (qubits named q0, q1, ...), as read_netlist
/// reads it.
std::string netlist_text(int qubits, const std::vector<Gate>& gates);

/// \brief The gates of every line, walked from its start: "0: CNOT[0,1] RY(2) | 1: ...".
std::string line_dump(GraphCircuit& circuit);

/// \brief Number of gate vertices (markers excluded).
int gate_count(GraphCircuit& circuit);

/// \brief A random circuit on `qubits` lines made of the motifs the two-qubit reduction looks
/// for: pairs of CNOT/CZ/CP/GEO enclosing half-turns, H, RY(2)/RY(6), merging and cancelling
/// angles, mixed with random gates.
std::vector<Gate> random_pattern_circuit(std::mt19937& rng, int qubits, int motifs);

/// \brief Writes the circuit as a netlist to `name` in the working directory and returns a
/// message naming the file and holding the text, for a failing random test.
std::string dump_failure(const std::string& name, int qubits, const std::vector<Gate>& gates);

}  // namespace twoq_test
