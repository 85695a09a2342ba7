#pragma once
// Circuits and lines that tests write as short gate lists: records, compact text
// ("CNOT 0 1; RY 0 2; H 1"), circuits built from the records with add_gate (so that the gates
// reach the passes unmapped), one-qubit lines from (kind, angle) pairs, and netlist texts of
// the records for reproducing failures. Angles in π/4, phases in π.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "circuit/graph_circuit.h"

namespace testgates {

/// \brief A one-qubit record on line `q` (for sim::gates_unitary and build).
inline Gate one_q(Gate_type kind, int q, double angle = 0) {
    return Gate(kind, angle, 0, 0, -1, q, 0);
}
/// \brief A two-qubit record on (c, t).
inline Gate two_q(Gate_type kind, int c, int t, double angle = 0) {
    return Gate(kind, angle, 0, 0, c, t, 0);
}

/// \brief True for the kinds written with one angle in a compact list or netlist.
bool takes_angle(Gate_type kind);

/// \brief An empty circuit (skeleton of `qubits` lines) for the description `pmd`.
std::unique_ptr<GraphCircuit> fresh_circuit(PMD_type pmd, int qubits);

/// \brief Parses "KIND q [angle]" / "KIND c t [angle]" items separated by ';' (qubits are line
/// numbers, gates in time order).
std::vector<Gate> parse_gates(const std::string& text);

/// \brief Builds the skeleton of `qubits` lines and appends the gates with add_gate.
void build(GraphCircuit& circuit, int qubits, const std::vector<Gate>& gates);

/// \brief The gates as a netlist text in time order (qubits named q0, q1, ...), as read_netlist
/// reads it.
std::string netlist_text(int qubits, const std::vector<Gate>& gates);

/// \brief Writes the circuit as a netlist to `name` in the working directory and returns a
/// message naming the file and holding the text, for a failing random test.
std::string dump_failure(const std::string& name, int qubits, const std::vector<Gate>& gates);

/// \brief A line IN, the given records, OUT (marker indices 0 and 1).
LineOfGates line_of(const std::vector<Gate>& gates);

/// \brief A line IN, the records given as (kind, angle) pairs, OUT (indices 0, 10, 11, ..., 1).
LineOfGates make_line(const std::vector<std::pair<Gate_type, double>>& gates);

/// \brief Prices every gate kind at 1 + kind % 3 on every description, so that rewrites raise or
/// lower the cost of a line and the choice of the best copy matters.
void price_by_kind(GraphCircuit& circuit);

/// \brief Kinds and angles of the records between IN and OUT, for compact expectations.
std::vector<std::pair<Gate_type, double>> body(const LineOfGates& line);

}  // namespace testgates
