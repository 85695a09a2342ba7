#include "cost/tile_table.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/netlist_text.h"
#include "cost/logical_cost.h"

namespace {

/// Operation of Part-5.3 kind behind each two-qubit key, in key order 10 ... 17.
struct PairEntry {
    tileGate2D key;
    double (LogicalOps::*ops)(int, int);
    double (LogicalCycles::*cyc)(int, int);
};
const PairEntry kPairEntries[] = {
    {tgHCNOT, &LogicalOps::hCNOT, &LogicalCycles::hCNOT},
    {tgVCNOT, &LogicalOps::vCNOT, &LogicalCycles::vCNOT},
    {tgHCZ, &LogicalOps::hCZ, &LogicalCycles::hCZ},
    {tgVCZ, &LogicalOps::vCZ, &LogicalCycles::vCZ},
    {tgHGeo, &LogicalOps::hGeo, &LogicalCycles::hGeo},
    {tgVGeo, &LogicalOps::vGeo, &LogicalCycles::vGeo},
    {tgHSWAP, &LogicalOps::hSWAP, &LogicalCycles::hSWAP},
    {tgVSWAP, &LogicalOps::vSWAP, &LogicalCycles::vSWAP},
};
/// Code of each slot for the two-qubit keys.
constexpr int kPairCodes[3] = {0, 1, 3};

/// One-qubit rotation keys 0 ... 8: axis and the representative angle of the class (π/4).
struct RotationEntry {
    tileGate2D key;
    double (LogicalOps::*ops)(int, int, double);
    double (LogicalCycles::*cyc)(int, int, double);
    double angle;
};
const RotationEntry kRotationEntries[] = {
    {tgRxOdd, &LogicalOps::Rx, &LogicalCycles::Rx, 1.0},
    {tgRxHalf, &LogicalOps::Rx, &LogicalCycles::Rx, 2.0},
    {tgRxPi, &LogicalOps::Rx, &LogicalCycles::Rx, 4.0},
    {tgRyOdd, &LogicalOps::Ry, &LogicalCycles::Ry, 1.0},
    {tgRyHalf, &LogicalOps::Ry, &LogicalCycles::Ry, 2.0},
    {tgRyPi, &LogicalOps::Ry, &LogicalCycles::Ry, 4.0},
    {tgRzOdd, &LogicalOps::Rz, &LogicalCycles::Rz, 1.0},
    {tgRzHalf, &LogicalOps::Rz, &LogicalCycles::Rz, 2.0},
    {tgRzPi, &LogicalOps::Rz, &LogicalCycles::Rz, 4.0},
};
/// Code of each slot for the one-qubit keys.
constexpr int kSingleCodes[3] = {0, 1, 2};

/// Rotation class offset: odd multiple of π/4 -> 0, ±π/2 or ±3π/2 -> 1, ±π -> 2, else -1.
int rotation_class(double a) {
    if (a == 1 || a == -1 || a == 3 || a == -3 || a == 5 || a == -5 || a == 7 || a == -7) return 0;
    if (a == 2 || a == -2 || a == 6 || a == -6) return 1;
    if (a == 4 || a == -4) return 2;
    return -1;
}

[[noreturn]] void unsupported_gate(Gate_type type, double angle) {
    std::ostringstream message;
    message.precision(std::cout.precision());
    message << "error! not supported gate " << static_cast<int>(type) << " angle: " << angle;
    fatal_error(message.str());
}

}  // namespace

tileTable::tileTable(std::map<std::string, int> qubit_line, PMD_type pmd, int level,
                     std::string layout_file)
    : pmd(pmd), level(level) {
    read_layout(qubit_line, layout_file);

    LogicalOps ops(pmd);
    LogicalCycles cyc(pmd);
    for (const PairEntry& e : kPairEntries)
        for (int slot = 0; slot < 3; ++slot)
            ops_table[e.key].v[slot] = (ops.*e.ops)(level, kPairCodes[slot]);
    for (const PairEntry& e : kPairEntries)
        for (int slot = 0; slot < 3; ++slot)
            cyc_table[e.key].v[slot] = (cyc.*e.cyc)(level, kPairCodes[slot]);
    for (const RotationEntry& e : kRotationEntries) {
        for (int slot = 0; slot < 3; ++slot) {
            ops_table[e.key].v[slot] = (ops.*e.ops)(level, kSingleCodes[slot], e.angle);
            cyc_table[e.key].v[slot] = (cyc.*e.cyc)(level, kSingleCodes[slot], e.angle);
        }
    }
    for (int slot = 0; slot < 3; ++slot) {
        ops_table[tgH].v[slot] = ops.H(level, kSingleCodes[slot]);
        cyc_table[tgH].v[slot] = cyc.H(level, kSingleCodes[slot]);
    }
}

void tileTable::read_layout(std::map<std::string, int>& qubit_line,
                            const std::string& layout_file) {
    std::ifstream in;
    if (!std::filesystem::is_directory(layout_file)) in.open(layout_file, std::ios::binary);
    if (!in.is_open()) fatal_error("cannot find qubit layout information: " + layout_file);

    // One grid row per text line (empty lines count); a name's column is its position on the
    // line. A name the circuit lacks is entered with line 0; a line keeps its first position.
    std::string text;
    std::vector<std::string_view> names;
    std::size_t count = 0;
    int row = 0;
    while (std::getline(in, text)) {
        netlist::tokenize_line(text, netlist::kAnyLength, names, netlist::kWhiteSpace);
        int column = 0;
        for (const std::string_view name : names) {
            const int line = qubit_line.emplace(std::string(name), 0).first->second;
            layout.emplace(line, std::make_pair(column, row));
            ++column;
        }
        count += static_cast<std::size_t>(column);
        ++row;
    }
    if (in.bad()) fatal_error("cannot read qubit layout information: " + layout_file);
    if (count != qubit_line.size()) fatal_error("#qubit readed does not match!");
}

std::pair<int, int> tileTable::position(int line) const {
    auto it = layout.find(line);
    return it == layout.end() ? std::make_pair(0, 0) : it->second;
}

bool tileTable::horizontal(int control, int target) const {
    const std::pair<int, int> a = position(control), b = position(target);
    const int dc = a.first - b.first, dr = a.second - b.second;
    return (dc == 1 || dc == -1) && dr == 0;
}

double tileTable::getOpsCyc(qecCode code, Gate_type type, double angle, int control, int target,
                            int cycles) const {
    if (is_marker(type)) return 0.0;
    // Angles in π/4: one turn is taken off above and below, once each.
    if (angle >= 8.0) angle -= 8.0;
    if (angle <= -8.0) angle += 8.0;

    int key = -1;
    switch (type) {
        case H:
            key = tgH;
            break;
        case RX:
        case RY:
        case RZ: {
            if (angle == 0.0) return 0.0;
            const int cls = rotation_class(angle);
            if (cls < 0) unsupported_gate(type, angle);
            const int base = (type == RX) ? tgRxOdd : (type == RY) ? tgRyOdd : tgRzOdd;
            key = base + cls;
            break;
        }
        case T:
        case T_dag:
            key = tgRzOdd;
            break;
        case S:
        case S_dag:
            key = tgRzHalf;
            break;
        case X:
            key = tgRxPi;
            break;
        case Y:
            key = tgRyPi;
            break;
        case Z:
            key = tgRzPi;
            break;
        // Two-qubit kinds: only horizontal neighbours take the h-keys; vertical and distant
        // pairs both take the v-keys.
        case CNOT:
            key = horizontal(control, target) ? tgHCNOT : tgVCNOT;
            break;
        case CZ:
            key = horizontal(control, target) ? tgHCZ : tgVCZ;
            break;
        case GEO:
            key = horizontal(control, target) ? tgHGeo : tgVGeo;
            break;
        case SWAP:
            key = horizontal(control, target) ? tgHSWAP : tgVSWAP;
            break;
        default:
            if (type == CP && angle == 4.0) {
                key = horizontal(control, target) ? tgHCZ : tgVCZ;
                break;
            }
            // I, RXY, ASQU, ZENO, ISWAP, CP of another angle, ...
            if (angle == 0.0) return 0.0;
            unsupported_gate(type, angle);
    }

    if (code < 0 || code > 2)
        fatal_error("tileTable: code " + std::to_string(static_cast<int>(code)) +
                    " has no cost slot");
    const std::map<tileGate2D, triple>& table = (cycles == 0) ? ops_table : cyc_table;
    auto it = table.find(static_cast<tileGate2D>(key));
    return it == table.end() ? 0.0 : it->second.v[code];
}

double tileTable::getLineOpsCost(std::list<Gate>& gates, qecCode code) const {
    double total = 0.0;
    for (const Gate& g : gates) {
        if (g.type == OUT) break;
        total += getOpsCyc(code, g.type, g.angle, g.control, g.target, 0);
    }
    return total;
}

double tileTable::getWindowOpsCycCost(std::list<Gate>& gates, qecCode code, int from, int to,
                                      int cycles) const {
    auto begin = gates.end(), end = gates.end();
    if (from == -1 && to == -1) {
        if (gates.size() < 2) return 0.0;
        begin = std::next(gates.begin());
        end = std::prev(gates.end());
    } else {
        // The last record carrying each index counts.
        for (auto it = gates.begin(); it != gates.end(); ++it) {
            if (it->index == from) begin = it;
            if (it->index == to) end = it;
        }
    }
    double total = 0.0;
    for (auto it = begin; it != end && it != gates.end(); ++it)
        total += getOpsCyc(code, it->type, it->angle, it->control, it->target, cycles);
    return total;
}
