#include "support/random_netlist.h"

#include <algorithm>
#include <numeric>
#include <sstream>

namespace testrandom {

namespace {

struct Keyword {
    const char* name;
    int min_qubits;  // operands; multi-operand keywords take min..all lines
    bool any_count;
    int angles;
};

const std::vector<Keyword>& keywords() {
    static const std::vector<Keyword> list = {
        {"I", 1, false, 0},        {"X", 1, false, 0},         {"Y", 1, false, 0},
        {"Z", 1, false, 0},        {"H", 1, false, 0},         {"S", 1, false, 0},
        {"S_dag", 1, false, 0},    {"T", 1, false, 0},         {"T_dag", 1, false, 0},
        {"RX", 1, false, 1},       {"RY", 1, false, 1},        {"RZ", 1, false, 1},
        {"RXY", 1, false, 2},      {"ASQU", 1, false, 3},      {"CZ", 2, false, 0},
        {"CNOT", 2, false, 0},     {"CP", 2, false, 1},        {"GEO", 2, false, 1},
        {"ISWAP", 2, false, 1},    {"SWAP", 2, false, 0},      {"ZENO", 2, false, 0},
        {"ZENO_dag", 2, false, 0}, {"Toffoli", 3, false, 0},   {"Toffoli", 4, true, 0},
        {"PERES", 3, false, 0},    {"PERES_dag", 3, false, 0}, {"Fredkin", 3, false, 0},
        {"MCT", 2, true, 0},       {"CkZ", 2, true, 0},
    };
    return list;
}

std::string angle(std::mt19937& rng) {
    static const std::vector<std::string> special = {"1", "2",  "3",  "4", "5",   "6",    "7",
                                                     "0", "-1", "-2", "8", "0.5", "-3.5", "1.25"};
    if (std::bernoulli_distribution(0.75)(rng))
        return special[std::uniform_int_distribution<size_t>(0, special.size() - 1)(rng)];
    std::ostringstream out;
    out.precision(6);
    out << std::uniform_real_distribution<double>(-8.0, 8.0)(rng);
    return out.str();
}

}  // namespace

RandomNetlist random_netlist(std::mt19937& rng, int qubits, int gates) {
    static const std::vector<std::string> names = {"q0", "a", "anc_2", "x3", "q4", "b5"};
    RandomNetlist netlist;
    netlist.qubits.assign(names.begin(), names.begin() + qubits);
    std::vector<const Keyword*> usable;
    for (const Keyword& k : keywords())
        if (k.min_qubits <= qubits) usable.push_back(&k);
    std::vector<int> lines(static_cast<size_t>(qubits));
    std::iota(lines.begin(), lines.end(), 0);
    for (int i = 0; i < gates; ++i) {
        const Keyword& k =
            *usable[std::uniform_int_distribution<size_t>(0, usable.size() - 1)(rng)];
        int operands = k.min_qubits;
        if (k.any_count) operands = std::uniform_int_distribution<int>(k.min_qubits, qubits)(rng);
        std::shuffle(lines.begin(), lines.end(), rng);
        std::string line = k.name;
        for (int j = 0; j < operands; ++j) line += " " + netlist.qubits[lines[j]];
        for (int j = 0; j < k.angles; ++j) line += " " + angle(rng);
        netlist.gates.push_back(line);
    }
    return netlist;
}

std::string netlist_text(const RandomNetlist& netlist, bool reversed) {
    std::ostringstream out;
    out << "# random netlist\n.qubit " << netlist.qubits.size() << "\n";
    for (const std::string& q : netlist.qubits) out << "qubit " << q << "\n";
    out << ".begin\n";
    if (reversed) {
        for (auto it = netlist.gates.rbegin(); it != netlist.gates.rend(); ++it) out << *it << "\n";
    } else {
        for (const std::string& g : netlist.gates) out << g << "\n";
    }
    out << ".end\n";
    return out.str();
}

}  // namespace testrandom
