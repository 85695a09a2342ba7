#pragma once
// The named one-qubit gates as rotations: the one table that the netlist reader, the named-gate
// rewrite, the multi-qubit mapping and the fault-tolerant conversion read when they turn X, Y, Z,
// S, T or an adjoint into a rotation. Angles in π/4, phases in π.

#include "circuit/gate.h"

/// A named one-qubit gate written as a rotation times a global phase:
/// kind = e^{iπ·phase}·rotation(angle).
struct NamedRotation {
    Gate_type kind;
    Gate_type rotation;
    double angle;  // π/4
    double phase;  // π
};

/// \brief Rotation-and-phase form of X, Y, Z, S, S_dag, T and T_dag; nullptr for any other kind.
const NamedRotation* named_rotation(Gate_type kind);
