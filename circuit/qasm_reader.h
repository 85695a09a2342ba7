#pragma once
// OpenQASM 2.0 input. A QASM text lists gates in time order (first statement applied first); the
// program's netlist files list them in operator order (first line applied last). The reader
// translates the QASM text into a netlist text in operator order, equal to the QASM circuit up
// to a global phase, which then takes the road of any netlist file.
//
// Read: OPENQASM 2.0, include "qelib1.inc", qreg (several, flattened in declaration order; the
// netlist names them "name[i]"), creg, the standard gates u1 u2 u3 u p x y z h s sdg t tdg sx
// sxdg rx ry rz cx cy cz ch swap ccx cswap cu1 cp crz crx cry cu3 rzz rxx id, the built-in U and
// CX, gate definitions with parameters (they may replace a standard gate of the same name),
// whole-register arguments, barrier (ignored) and measure (ignored and counted).
// Refused with "QASM line N: ...": reset, if, opaque, any other include, malformed text.

#include <string>

struct QasmTranslation {
    std::string netlist;   // operator order; first line is a comment
    int measurements = 0;  // measure statements passed over
};

/// \brief True for a file name ending in ".qasm": the program reads and writes such files as
/// OpenQASM 2.0.
bool is_qasm_file_name(const std::string& name);

/// \brief Translates an OpenQASM 2.0 text into a netlist text in operator order. Radian angles
/// become units of π/4; a rotation whose angle is exactly 0 is left out. Ends the program with
/// "QASM line N: <problem>" (exit status 1) on refused or malformed text.
QasmTranslation qasm_to_netlist(const std::string& text);
