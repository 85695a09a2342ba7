// Fuzzes the OpenQASM reader, and the writer on what the reader accepted: the translated netlist
// must read into a circuit, and its QASM form must translate again.
#include "circuit/graph_circuit.h"
#include "circuit/netlist_rewrite.h"
#include "circuit/qasm_reader.h"
#include "circuit/qasm_writer.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const QasmTranslation t = qasm_to_netlist(text);
        // Wide expansions are valid but would spend the budget on one input.
        if (t.netlist.size() > 200000) return 0;
        std::string netlist = t.netlist, forward;
        reverse_netlist(netlist, forward);
        GraphCircuit circuit("fuzz.qasm", CTL, qec_none, 0);
        circuit.read_netlist(forward);
        qasm_to_netlist(netlist_to_qasm(t.netlist, NetlistOrder::Operator));
    } catch (const FatalError&) {
    }
    return 0;
}
