// Fuzzes the reader of the sequence cache "FT_table.txt" and lookups in what it read.
#include "FaultTolerant/ft_table.h"
#include "circuit/fatal.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    fuzz::write_file("FT_table.txt", data, size);
    try {
        FT_table cache;
        cache.set_FT_table();
        cache.set_FT_table();
        for (double angle : {0.5, -0.5, 1.25, 3.0})
            for (Gate_type kind : {RX, RY, RZ}) cache.get_FT_seq(kind, angle, 1e-2);
    } catch (const FatalError&) {
    }
    return 0;
}
