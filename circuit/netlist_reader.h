#pragma once
// What the netlist reader accepts of a gate line, for callers that look at a netlist text
// before it is read (GraphCircuit::read_netlist reads it).

#include <string_view>

/// The multi-controlled decompositions append 2^controls - 1 controlled-V gates; beyond this
/// many controls a single line would exhaust memory, and the reader refuses it.
constexpr int kMaxListGateControls = 20;

/// The operands of a gate keyword: `qubits` qubit names, then `angles` numbers (π/4). A list
/// gate (Toffoli, MCT, CkZ) takes every remaining operand as a qubit, at least `qubits` of them.
struct NetlistGateShape {
    int qubits = 0;
    int angles = 0;
    bool list = false;
};

/// \brief The operands `keyword` takes; false for a word that is no gate keyword.
bool netlist_gate_shape(std::string_view keyword, NetlistGateShape& shape);
