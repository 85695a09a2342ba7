#pragma once
// Checks shared by the fault-tolerant conversion tests: the meaning of gate-sequence strings,
// computed independently of the program with the test simulator, and their distance to a
// rotation. Angles in π/4.

#include <string>

#include "circuit/gate.h"
#include "support/unitary.h"

namespace fttest {

/// One-qubit unitary (operator order) of a gate-sequence string read in time order; "(" and ")"
/// are skipped. Fails the current test on any other letter outside H T t S s X Z I.
sim::Unitary sequence_unitary(const std::string& seq);

/// One-qubit unitary of a single gate of `kind` by `angle`.
sim::Unitary rotation_unitary(Gate_type kind, double angle);

/// Operator-norm distance up to phase between a string and a rotation.
double distance_to_rotation(const std::string& seq, Gate_type kind, double angle);

/// The exhaustive search's md_tri between a string's matrix and a rotation's.
double md_tri_to_rotation(const std::string& seq, Gate_type kind, double angle);

/// Reads a file of "H", "T" and "t" characters into `line` between IN and OUT markers; "T" and
/// "t" become RZ(1) and RZ(-1) with their phases (±0.125 π) added to line.phase; other letters
/// are reported with "Error: read_HT_string, gate not supported: " and skipped. Ends the program
/// if the file cannot be opened. A utility for tests: the program never reads such files.
void read_HT_string(const char* file_name, LineOfGates& line);

/// md_tri between two one-qubit unitaries (phase-blind).
double md_tri_between(const sim::Unitary& a, const sim::Unitary& b);

}  // namespace fttest
