// Fuzzes the command line. The input is split at newlines into the arguments after the file
// names (machine description, threshold, mode, code, level, and extras); the input netlist is a
// fixed small circuit whose rotations are all multiples of π/4, so that no run needs a
// sequence search and every run stays short.
#include <vector>

#include "driver/program.h"
#include "fuzz_support.h"

namespace {
const char* const kCircuit =
    "# fuzz\n.qubit 3\nqubit a\nqubit b\nqubit c\n.begin\nH a\nCNOT a b\nRZ b 2\nT c\n"
    "Toffoli a b c\nRX a 4\nCZ b c\nS_dag a\n.end\n";
const char* const kLayout = "a b\nc\n";
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setup_once();
    fuzz::write_file("in.txt", reinterpret_cast<const uint8_t*>(kCircuit),
                     std::char_traits<char>::length(kCircuit));
    fuzz::write_file("in.txt.layout", reinterpret_cast<const uint8_t*>(kLayout),
                     std::char_traits<char>::length(kLayout));
    fuzz::write_file("FT_table.txt", nullptr, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words = {"marovin", "in.txt", "out.txt"};
    std::string current;
    for (size_t i = 0; i < size && words.size() < 10; ++i) {
        if (data[i] == '\n') {
            words.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (!current.empty() && words.size() < 10) words.push_back(current);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    try {
        run_marovin(static_cast<int>(words.size()), argv.data());
    } catch (const FatalError&) {
    }
    return 0;
}
