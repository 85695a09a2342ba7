#pragma once
// OpenQASM 2.0 output. The program's netlist texts become QASM in time order (first statement
// applied first). Every gate kind a circuit can hold is written as a standard gate of
// "qelib1.inc" or through a gate definition at the top of the file (rxy, asqu, geo, iswap, zeno,
// zeno_dag), so that any OpenQASM 2.0 reader gets the program's circuit up to a global phase
// (OpenQASM 2.0 has none).

#include <string>

/// Order of the gate lines of a netlist text: operator order (first line applied last), as in
/// the files handed to and written by the program, or time order, as read_netlist reads them.
enum class NetlistOrder { Operator, Time };

/// \brief OpenQASM 2.0 text of a netlist text that holds only gate kinds a circuit can hold
/// (no Toffoli, Fredkin, PERES, MCT or CkZ lines). Angles in π/4 become radians written as
/// multiples of pi. Qubits named "reg[i]" keep their names when each register's indices run
/// from 0 (in any order of declaration); otherwise the qubits become the register q in
/// declaration order (with a comment naming each when the old names hold "["). Measurement
/// comments (see qasm_reader.h) become creg declarations and measure statements after the
/// gates. Ends the program with one message on a line it cannot write.
std::string netlist_to_qasm(const std::string& netlist, NetlistOrder order);
