#pragma once
// Gate vocabulary shared by the whole program: gate kinds, machine descriptions, codes, and the
// value records used for line and window lists.
//
// Units everywhere: gate angles in π/4 (8 is a full turn, 4 is π, 1 is the T angle); global
// phases in π (0.5 is a phase of π/2).

#include <cmath>
#include <cstdint>
#include <list>
#include <string>
#include <type_traits>

#include "circuit/periodic.h"

/// Gate kinds; the values are fixed (cost tables and writers index by them).
enum Gate_type : int32_t {
    I = 0,
    RX = 1,
    RY = 2,
    RZ = 3,
    X = 4,
    Y = 5,
    Z = 6,
    H = 7,
    S = 8,
    S_dag = 9,
    T = 10,
    T_dag = 11,
    RXY = 12,
    ASQU = 13,
    CNOT = 20,
    CZ = 21,
    SWAP = 22,
    ZENO = 23,
    ZENO_dag = 24,
    CP = 25,
    GEO = 26,
    ISWAP = 27,
    Toffoli = 30,  // cost-table row keys only, never a vertex
    PERES = 31,
    Fredkin = 33,
    IN = 100,  // line markers
    OUT = 101,
    SOURCE = 102,
    SINK = 103
};

/// Physical machine descriptions. ND (no description) is reachable only from code.
enum PMD_type : int32_t {
    QD = 0,
    SC = 1,
    IT = 2,
    NA = 3,
    LP = 4,
    NP = 5,
    ND = 6,
    CTL = 7,
    FTS = 8
};

/// Quantum error-correcting codes of the logical cost model; 4 means "no code".
enum qecCode : int32_t { qec_code0 = 0, qec_code1 = 1, qec_code2 = 2, qec_code3 = 3, qec_none = 4 };

/// \brief True exactly for the two-qubit kinds 20 to 29.
inline bool is_2Q_gate(Gate_type kind) {
    return kind >= 20 && kind <= 29;
}

/// \brief True for the one-qubit kinds, below 20: the gates a one-qubit window may hold.
inline bool is_1Q_gate(Gate_type kind) {
    return kind < 20;
}

/// \brief True for the line markers IN, OUT, SOURCE and SINK, from 100 up.
inline bool is_marker(Gate_type kind) {
    return kind > 99;
}

/// \brief True for the kinds a netlist may hold as a record: the one- and two-qubit gates, below
/// 30 (the composite price-row kinds from Toffoli up and the markers are not written).
inline bool is_netlist_gate(Gate_type kind) {
    return kind < Toffoli;
}

/// \brief Netlist keyword of a kind ("???" for kinds without one, markers included).
/// ZENO_dag is written "ZENO_dag" so that a circuit holding it reads back.
const char* gate_keyword(Gate_type kind);

/// \brief Parses a netlist keyword that is stored as a kind of its own; false if there is none.
bool gate_from_keyword(const std::string& keyword, Gate_type& kind);

/// \brief Row keyword of a kind in the price file: the gate keyword, or "Toffoli", "PERES" and
/// "Fredkin" for the composite rows; nullptr for kinds without a row keyword.
const char* price_row_keyword(Gate_type kind);

/// \brief Parses a row keyword of the price file (gate keywords and the composite rows); false
/// if there is none.
bool price_row_from_keyword(const std::string& keyword, Gate_type& kind);

/// \brief Keyword of a machine description ("???" for values out of range).
const char* pmd_keyword(PMD_type pmd);

/// One gate of a line or window list. Angles in π/4. A plain value of 40 bytes (the doubles
/// first, so that no padding is needed): lines of hundreds of thousands of records are copied
/// and compared as blocks.
class Gate {
  public:
    double angle = 0.0;
    double angle1 = 0.0;
    double angle2 = 0.0;
    Gate_type type = I;
    int control = -1;  // control line of a two-qubit gate, -1 otherwise
    int target = -1;   // line of a one-qubit gate or marker; target of a two-qubit gate
    int index = -100;  // index of the graph vertex copied from; -100 when not from the graph

    Gate() = default;
    Gate(Gate_type type, double angle, double angle1, double angle2, int control, int target,
         int index)
        : angle(angle),
          angle1(angle1),
          angle2(angle2),
          type(type),
          control(control),
          target(target),
          index(index) {}

    /// All seven fields equal; doubles compared exactly (a NaN equals nothing).
    bool operator==(const Gate& other) const;
    bool operator!=(const Gate& other) const { return !(*this == other); }
};

/// The gates of one qubit line, in time order, with the global phase (in π) gathered while the
/// list is rewritten.
class LineOfGates {
  public:
    std::list<Gate> gates;
    GlobalPhase phase;  // in π

    /// Phases exactly equal and the records equal position by position.
    bool operator==(const LineOfGates& other) const;
    bool operator!=(const LineOfGates& other) const { return !(*this == other); }
};
static_assert(std::is_trivially_copyable<Gate>::value, "a gate is a plain value");

/// \brief Same kind, angles, control and target, doubles compared bit for bit (so that 0.0 and
/// -0.0 differ and a NaN equals itself); the vertex index is not compared.
bool same_record(const Gate& a, const Gate& b);

/// \brief An angle (π/4) reduced modulo a full turn, 8, into [0, 8) by the floating remainder.
/// (A tiny negative angle gives 8 itself: the remainder plus 8 rounds up.)
inline double normalised_turn(double angle) {
    double r = std::fmod(angle, 8.0);
    if (r < 0.0) r += 8.0;
    return r;
}

/// \brief True for the rotation kinds RX, RY and RZ.
inline bool is_rotation(Gate_type kind) {
    return kind == RX || kind == RY || kind == RZ;
}
/// \brief True for a rotation record: RX, RY or RZ, whatever the angle.
inline bool is_rotation(const Gate& g) {
    return is_rotation(g.type);
}

/// \brief Next rotation axis in the cycle X -> Y -> Z -> X; reports and returns RY otherwise.
Gate_type next_direction(Gate& g);
/// \brief Previous rotation axis in the cycle; reports and returns RZ otherwise.
Gate_type prev_direction(Gate& g);
/// \brief True when b's axis follows a's in the cycle X -> Y -> Z -> X.
bool in_order(Gate& a, Gate& b);

/// \brief Number of two-qubit records before the first OUT record.
int num_2Q_gate(std::list<Gate>& gates);

/// \brief Debug print of a record list on standard output.
void print_a_list(std::list<Gate>& gates);
