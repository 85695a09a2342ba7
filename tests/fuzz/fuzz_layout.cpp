// Fuzzes the reader of a circuit's layout file through the tile table. The first byte picks the
// machine description and the level (0 to 2).
#include "cost/tile_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    if (size < 1) return 0;
    const PMD_type pmd = static_cast<PMD_type>(data[0] % 9);
    const int level = (data[0] / 9) % 3;
    fuzz::write_file("fuzz.txt.layout", data + 1, size - 1);
    std::map<std::string, int> qubits = {{"a", 0}, {"b", 1}, {"c", 2}, {"q0", 3}};
    try {
        tileTable table(qubits, pmd, level, "fuzz.txt.layout");
        table.getOpsCyc(qec_code0, CNOT, 0, 0, 1, 0);
        table.getOpsCyc(qec_code1, RZ, 1.0, -1, 2, 1);
    } catch (const FatalError&) {
    }
    return 0;
}
