#include "circuit/gate.h"

#include <cstring>
#include <iostream>

namespace {
// Where a keyword is accepted: by every reader and writer of gates, or only as a row of the
// price file (composite gates that are priced but never stored as a vertex).
enum class KeywordUse { Gate, PriceRowOnly };

struct KeywordEntry {
    Gate_type kind;
    const char* keyword;
    KeywordUse use;
};

// The gate keywords of the netlist and of the price file, in one table. ZENO_dag has a keyword
// of its own, so that a circuit holding it reads back and the adjoint of ZENO, which SC and ND
// hold natively, can be priced on its own.
constexpr KeywordUse G = KeywordUse::Gate;
constexpr KeywordEntry kKeywords[] = {
    {I, "I", G},
    {RX, "RX", G},
    {RY, "RY", G},
    {RZ, "RZ", G},
    {X, "X", G},
    {Y, "Y", G},
    {Z, "Z", G},
    {H, "H", G},
    {S, "S", G},
    {S_dag, "S_dag", G},
    {T, "T", G},
    {T_dag, "T_dag", G},
    {RXY, "RXY", G},
    {ASQU, "ASQU", G},
    {CNOT, "CNOT", G},
    {CZ, "CZ", G},
    {SWAP, "SWAP", G},
    {ZENO, "ZENO", G},
    {ZENO_dag, "ZENO_dag", G},
    {CP, "CP", G},
    {GEO, "GEO", G},
    {ISWAP, "ISWAP", G},
    {Toffoli, "Toffoli", KeywordUse::PriceRowOnly},
    {PERES, "PERES", KeywordUse::PriceRowOnly},
    {Fredkin, "Fredkin", KeywordUse::PriceRowOnly},
};

const KeywordEntry* entry_of_kind(Gate_type kind) {
    for (const KeywordEntry& entry : kKeywords)
        if (entry.kind == kind) return &entry;
    return nullptr;
}

const KeywordEntry* entry_of_keyword(const std::string& keyword) {
    for (const KeywordEntry& entry : kKeywords)
        if (keyword == entry.keyword) return &entry;
    return nullptr;
}

// The debug printer's own names: rotations in mixed case, markers named.
const char* list_name(Gate_type kind) {
    switch (kind) {
        case RX:
            return "Rx";
        case RY:
            return "Ry";
        case RZ:
            return "Rz";
        case IN:
            return "IN";
        case OUT:
            return "OUT";
        case ZENO_dag:
            return "???";
        default:
            return gate_keyword(kind);
    }
}
}  // namespace

const char* gate_keyword(Gate_type kind) {
    const KeywordEntry* entry = entry_of_kind(kind);
    return entry != nullptr && entry->use == KeywordUse::Gate ? entry->keyword : "???";
}

bool gate_from_keyword(const std::string& keyword, Gate_type& kind) {
    const KeywordEntry* entry = entry_of_keyword(keyword);
    if (entry == nullptr || entry->use != KeywordUse::Gate) return false;
    kind = entry->kind;
    return true;
}

const char* price_row_keyword(Gate_type kind) {
    const KeywordEntry* entry = entry_of_kind(kind);
    return entry != nullptr ? entry->keyword : nullptr;
}

bool price_row_from_keyword(const std::string& keyword, Gate_type& kind) {
    const KeywordEntry* entry = entry_of_keyword(keyword);
    if (entry == nullptr) return false;
    kind = entry->kind;
    return true;
}

const char* pmd_keyword(PMD_type pmd) {
    static const char* const names[] = {"QD", "SC", "IT", "NA", "LP", "NP", "ND", "CTL", "FTS"};
    if (pmd < 0 || pmd > FTS) return "???";
    return names[pmd];
}

bool Gate::operator==(const Gate& other) const {
    return type == other.type && angle == other.angle && angle1 == other.angle1 &&
           angle2 == other.angle2 && control == other.control && target == other.target &&
           index == other.index;
}

bool LineOfGates::operator==(const LineOfGates& other) const {
    if (phase != other.phase) return false;
    if (gates.size() != other.gates.size()) return false;
    auto it = other.gates.begin();
    for (const Gate& g : gates) {
        if (!(g == *it)) return false;
        ++it;
    }
    return true;
}

Gate_type next_direction(Gate& g) {
    switch (g.type) {
        case RX:
            return RY;
        case RY:
            return RZ;
        case RZ:
            return RX;
        default:
            std::cerr << "Error! next_direction: operation not supported!" << std::endl;
            return RY;
    }
}

Gate_type prev_direction(Gate& g) {
    switch (g.type) {
        case RX:
            return RZ;
        case RY:
            return RX;
        case RZ:
            return RY;
        default:
            std::cerr << "Error! prev_direction: operation not supported!" << std::endl;
            return RZ;
    }
}

bool in_order(Gate& a, Gate& b) {
    if (!is_rotation(a) || !is_rotation(b))
        std::cerr << "Error! in_order: gate type not supported!" << std::endl;
    if (a.type == b.type) {
        std::cerr << "Error! in_order: comparision filed!" << std::endl;
        return false;
    }
    return ((b.type - a.type + 3) % 3) == 1;
}

int num_2Q_gate(std::list<Gate>& gates) {
    int count = 0;
    for (const Gate& g : gates) {
        if (g.type == OUT) break;
        if (is_2Q_gate(g.type)) ++count;
    }
    return count;
}

void print_a_list(std::list<Gate>& gates) {
    std::cout << "Print list:" << std::endl;
    for (const Gate& g : gates) {
        const char* name = list_name(g.type);
        if (is_rotation(g)) {
            std::cout << name << " (" << g.target << " " << g.angle << ") ";
        } else if (g.type == RXY) {
            std::cout << name << " (" << g.target << " " << g.angle << "," << g.angle1 << ") ";
        } else if (g.type == ASQU) {
            std::cout << name << " (" << g.target << " " << g.angle << "," << g.angle1 << ","
                      << g.angle2 << ") ";
        } else if (is_2Q_gate(g.type)) {
            std::cout << name << "(" << g.control << "," << g.target << "," << g.angle << ")"
                      << " ";
        } else if (is_1Q_gate(g.type)) {
            std::cout << name << " (" << g.target << ") " << std::endl;
        } else {
            std::cout << name << " (" << g.target << std::endl;
        }
    }
    std::cout << std::endl;
}

bool same_record(const Gate& a, const Gate& b) {
    auto same_bits = [](double x, double y) { return std::memcmp(&x, &y, sizeof(double)) == 0; };
    return a.type == b.type && a.control == b.control && a.target == b.target &&
           same_bits(a.angle, b.angle) && same_bits(a.angle1, b.angle1) &&
           same_bits(a.angle2, b.angle2);
}
