#include "circuit/named_rotation.h"

namespace {

//   X = e^{iπ/2} RX(4), Y = e^{-iπ/2} RY(4), Z = e^{iπ/2} RZ(4), S = e^{iπ/4} RZ(2),
//   T = e^{iπ/8} RZ(1), and the adjoints.
// NOTE: Y carries the phase -0.5: with RY(a) = [[cos, sin], [-sin, cos]] (half-angle aπ/8),
// RY(4) = [[0, 1], [-1, 0]] = i·Y, so +0.5 would flip the sign of the circuit.
constexpr NamedRotation kNamedRotations[] = {
    {X, RX, 4, 0.5},        {Y, RY, 4, -0.5},  {Z, RZ, 4, 0.5},         {S, RZ, 2, 0.25},
    {S_dag, RZ, -2, -0.25}, {T, RZ, 1, 0.125}, {T_dag, RZ, -1, -0.125},
};

}  // namespace

const NamedRotation* named_rotation(Gate_type kind) {
    for (const NamedRotation& row : kNamedRotations)
        if (row.kind == kind) return &row;
    return nullptr;
}
