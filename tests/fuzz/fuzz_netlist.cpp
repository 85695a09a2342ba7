// Fuzzes the netlist reader and the writer on what it accepted. The first byte picks the
// machine description; the rest is the netlist text.
#include <sstream>

#include "circuit/graph_circuit.h"
#include "fuzz_support.h"

namespace {
// A multi-controlled gate costs 2^controls gates by construction; inputs with wide ones are
// valid but would spend the whole budget on one run, so they are skipped.
bool has_wide_multi_controlled_gate(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream tokens(line);
        std::string key, word;
        tokens >> key;
        if (key != "MCT" && key != "Toffoli" && key != "CkZ") continue;
        int operands = 0;
        while (tokens >> word) ++operands;
        if (operands > 10) return true;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    if (size < 1) return 0;
    const PMD_type pmd = static_cast<PMD_type>(data[0] % 9);
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (has_wide_multi_controlled_gate(text)) return 0;
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
