#include "circuit/gate.h"

#include <cstring>
#include <iostream>

namespace {
struct KeywordEntry {
    Gate_type kind;
    const char* keyword;
};

// Kinds stored in the graph under a keyword of their own.
constexpr KeywordEntry kKeywords[] = {
    {I, "I"},         {RX, "RX"},     {RY, "RY"},       {RZ, "RZ"},
    {X, "X"},         {Y, "Y"},       {Z, "Z"},         {H, "H"},
    {S, "S"},         {S_dag, "S_dag"}, {T, "T"},       {T_dag, "T_dag"},
    {RXY, "RXY"},     {ASQU, "ASQU"}, {CNOT, "CNOT"},   {CZ, "CZ"},
    {SWAP, "SWAP"},   {ZENO, "ZENO"}, {ZENO_dag, "ZENO_dag"}, {CP, "CP"},
    {GEO, "GEO"},     {ISWAP, "ISWAP"},
};

// The debug printer's own names: rotations in mixed case, markers named.
const char* list_name(Gate_type kind) {
    switch (kind) {
        case RX: return "Rx";
        case RY: return "Ry";
        case RZ: return "Rz";
        case IN: return "IN";
        case OUT: return "OUT";
        case ZENO_dag: return "???";
        default: return gate_keyword(kind);
    }
}

bool is_rotation(Gate_type kind) { return kind == RX || kind == RY || kind == RZ; }
}  // namespace

const char* gate_keyword(Gate_type kind) {
    for (const KeywordEntry& entry : kKeywords)
        if (entry.kind == kind) return entry.keyword;
    return "???";
}

bool gate_from_keyword(const std::string& keyword, Gate_type& kind) {
    for (const KeywordEntry& entry : kKeywords) {
        if (keyword == entry.keyword) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
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
        case RX: return RY;
        case RY: return RZ;
        case RZ: return RX;
        default:
            std::cerr << "Error! next_direction: operation not supported!" << std::endl;
            return RY;
    }
}

Gate_type prev_direction(Gate& g) {
    switch (g.type) {
        case RX: return RZ;
        case RY: return RX;
        case RZ: return RY;
        default:
            std::cerr << "Error! prev_direction: operation not supported!" << std::endl;
            return RZ;
    }
}

bool in_order(Gate& a, Gate& b) {
    if (!is_rotation(a.type) || !is_rotation(b.type))
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
        if (is_rotation(g.type)) {
            std::cout << name << " (" << g.target << " " << g.angle << ") ";
        } else if (g.type == RXY) {
            std::cout << name << " (" << g.target << " " << g.angle << "," << g.angle1 << ") ";
        } else if (g.type == ASQU) {
            std::cout << name << " (" << g.target << " " << g.angle << "," << g.angle1 << ","
                      << g.angle2 << ") ";
        } else if (is_2Q_gate(g.type)) {
            std::cout << name << "(" << g.control << "," << g.target << "," << g.angle << ")"
                      << " ";
        } else if (g.type < 20) {
            std::cout << name << " (" << g.target << ") " << std::endl;
        } else {
            std::cout << name << " (" << g.target << std::endl;
        }
    }
    std::cout << std::endl;
}
