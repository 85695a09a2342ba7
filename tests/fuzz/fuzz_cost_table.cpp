// Fuzzes the reader of "CostGateCount.txt".
#include "cost/cost_gate_count.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    fuzz::write_file("fuzz_cost/CostGateCount.txt", data, size);
    try {
        CostGateCount table;
        // The table is read from the working directory: read it from a sub-folder so the valid
        // copy beside the other targets' inputs stays untouched.
        if (chdir("fuzz_cost") != 0) return 0;
        try {
            table.set_cost_table();
        } catch (...) {
            if (chdir("..") != 0) std::abort();
            throw;
        }
        if (chdir("..") != 0) std::abort();
        for (int kind : {0, 1, 3, 7, 20, 25, 30}) table.get_gate_cost(Gate_type(kind), SC);
    } catch (const FatalError&) {
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setup_once();
    if (system("mkdir -p fuzz_cost") != 0) std::abort();
    return 0;
}
