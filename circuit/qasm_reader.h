#pragma once
// OpenQASM 2.0 input. A QASM text lists gates in time order (first statement applied first); the
// program's netlist files list them in operator order (first line applied last). The reader
// translates the QASM text into a netlist text in operator order, equal to the QASM circuit up
// to a global phase, which then takes the road of any netlist file.
//
// Read: OPENQASM 2.0, include "qelib1.inc", qreg (several, flattened in declaration order; the
// netlist names them "name[i]"), creg, every gate of qelib1.inc (u0 u1 u2 u3 u p x y z h s sdg t
// tdg sx sxdg rx ry rz id cx cy cz ch swap ccx cswap crx cry crz cu1 cp cu3 csx cu rxx rzz rccx
// rc3x c3x c3sqrtx c4x), ccz and mcx of any width, the built-in U and CX, gate definitions with
// parameters (they may replace a standard gate of the same name), whole-register arguments,
// barrier (ignored) and measure at the end of a qubit's gates (kept, see measurement comments).
// Refused with "QASM line N: ...": reset, if, opaque, any other include, another version,
// malformed text, and texts whose expansion passes the bounds below.

#include <climits>
#include <string>
#include <string_view>
#include <vector>

/// Most qubits the qreg declarations of one text may hold together (fewer when --max-gates is
/// smaller: every qubit line counts as one gate against it).
constexpr long kQasmMaxQubits = 1L << 16;
/// Most netlist gates one text may expand to.
constexpr double kQasmMaxGates = 4e6;
/// Expansion steps (a gate call, an operation of a parameter expression) allowed per gate of
/// --max-gates, with a floor for small limits and a ceiling that keeps the work to seconds.
constexpr double kQasmStepsPerGate = 64;
constexpr double kQasmMinSteps = 1 << 20;
constexpr double kQasmMaxSteps = 1LL << 31;

struct QasmTranslation {
    std::string netlist;   // operator order; first line is a comment
    int measurements = 0;  // measure statements read
    /// The measurements as comment lines for the end of a netlist text ("" when there are
    /// none); see measurement comments below.
    std::string measurement_comments;
    /// qasm_lines[k]: the QASM line of netlist line k + 1 (the statement a gate comes from, the
    /// qreg a qubit comes from), 0 for lines the translation writes itself.
    std::vector<int> qasm_lines;
};

/// \brief True for a file name ending in ".qasm", in any case: the program reads and writes such
/// files as OpenQASM 2.0.
bool is_qasm_file_name(const std::string& name);

/// \brief Translates an OpenQASM 2.0 text into a netlist text in operator order. Radian angles
/// become units of π/4; a rotation whose angle is exactly 0 is left out. `max_gates` bounds the
/// qubits and the expansion work (see above). Ends the program with "QASM line N: <problem>"
/// (exit status 1) on refused or malformed text. O(size of the text + expansion steps).
QasmTranslation qasm_to_netlist(const std::string& text, long max_gates = LONG_MAX);

// Measurement comments. A QASM text's terminal measurements ride along with the netlist text of
// its circuit as comment lines, which every netlist reader skips, and a QASM output writes them
// back: every classical register, then each measurement in statement order:
//   # creg c[2]
//   # measure q[0] -> c[1]

/// One measurement comment line, read.
struct MeasurementComment {
    enum class Kind { Register, Measure } kind = Kind::Register;
    std::string qubit;  // Measure: the netlist qubit
    std::string creg;   // the classical register
    int index = 0;      // Register: its size; Measure: the bit
};

/// \brief Reads the tokens of a netlist comment line as a measurement comment; false for any
/// other line.
bool read_measurement_comment(const std::vector<std::string_view>& tokens,
                              MeasurementComment& comment);
