#pragma once
// Rewrite tables of the two-qubit gate reduction for a CNOT pair enclosing one one-qubit gate on
// each line. In time order: CNOT(c->t), then `a` on the control line c and `b` on the target line
// t, then the second CNOT. Both CNOTs are removed; the tables say what becomes of a and b and how
// much the global phase grows. Angles in π/4, phases in π.

#include <vector>

#include "circuit/gate.h"

/// What becomes of one enclosed one-qubit gate: it is kept, or given a new kind and angle, and it
/// may be followed by a new gate on the same line.
struct EnclosedRewrite {
    bool change = false;
    Gate_type kind = I;
    double angle = 0.0;
    bool append = false;
    Gate_type append_kind = I;
    double append_angle = 0.0;
};

/// A one-qubit gate to match: `kind`, and `angle` unless the kind is H (matched at any angle).
struct EnclosedPattern {
    Gate_type kind;
    double angle;
};

/// \brief True when the gate (kind, angle) matches the pattern; angles are compared exactly.
bool matches(const EnclosedPattern& pattern, Gate_type kind, double angle);

/// Second CNOT with the same orientation; a and b are both half-turns (angle 4.0).
struct HalfTurnCnotRule {
    const char* name;
    Gate_type a;
    Gate_type b;
    Gate_type new_a;
    Gate_type new_b;
    double phase;
};

/// Second CNOT with the reversed orientation (control t, target c).
struct ReversedCnotRule {
    const char* name;
    EnclosedPattern a;
    EnclosedPattern b;
    EnclosedRewrite a_to;
    EnclosedRewrite b_to;
    double phase;
};

/// \brief The rows for a pair of half-turns between two CNOTs of the same orientation.
const std::vector<HalfTurnCnotRule>& half_turn_cnot_rules();

/// \brief The rows for H, RY(2) and RY(6) between a CNOT and its reversal, in table order.
const std::vector<ReversedCnotRule>& reversed_cnot_rules();
