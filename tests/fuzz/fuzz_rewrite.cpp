// Fuzzes the text rewrites (reversal and gate-by-gate inversion) of a netlist.
#include "circuit/netlist_rewrite.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string out;
    try {
        reverse_netlist(text, out);
    } catch (const FatalError&) {
    }
    try {
        inverse_netlist(text, out);
        std::string twice;
        inverse_netlist(out, twice);
    } catch (const FatalError&) {
    }
    return 0;
}
