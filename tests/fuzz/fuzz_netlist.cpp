// Fuzzes the netlist reader and the writer on what it accepted. The first byte picks the
// machine description; the rest is the netlist text.
#include "circuit/graph_circuit.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    if (size < 1) return 0;
    const PMD_type pmd = static_cast<PMD_type>(data[0] % 9);
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        GraphCircuit circuit("fuzz.txt", pmd, qec_none, 0);
        circuit.read_netlist(text);
        std::string written = circuit.output_circuit_in_string();
        GraphCircuit again("fuzz.txt", pmd, qec_none, 0);
        again.read_netlist(written);
        again.num_ops(pmd);
        again.num_cycles(pmd);
    } catch (const FatalError&) {
    }
    return 0;
}
