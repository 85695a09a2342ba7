#pragma once
// The one-qubit gates that the phase passes merge, written in two forms that add up: a diagonal
// gate as e^{iπ·phase}·diag(1, e^{iπ·angle/4}) (Z, S, S_dag, T, T_dag, RZ), and an X-axis gate
// as e^{iπ·phase}·RX(angle) (X, RX). Merging two gates of a form adds their angles and phases;
// the sum is written back as the plainest gate of that meaning. Angles in π/4, phases in π.

#include "circuit/gate.h"

namespace phases {

/// A one-qubit gate kind with its angle, times e^{iπ·phase}; kind I stands for no gate.
struct PhaseGate {
    Gate_type kind = I;
    double angle = 0;  // π/4
    double phase = 0;  // π
};

/// A sum of merged gates of one form: angle in π/4, phase in π.
struct PhaseSum {
    double angle = 0;
    double phase = 0;

    PhaseSum& operator+=(const PhaseSum& other) {
        angle += other.angle;
        phase += other.phase;
        return *this;
    }
};

/// \brief True for Z, S, S_dag, T, T_dag and RZ, setting `form` to the gate as
/// e^{iπ·phase}·diag(1, e^{iπ·angle/4}).
bool diagonal_form(Gate_type kind, double angle, PhaseSum& form);

/// \brief True for X and RX, setting `form` to the gate as e^{iπ·phase}·RX(angle).
bool x_axis_form(Gate_type kind, double angle, PhaseSum& form);

/// \brief The gate e^{iπ·sum.phase}·diag(1, e^{iπ·sum.angle/4}): a named gate when the angle is
/// 1, 2, 4, 6 or 7 modulo 8, no gate at 0, else RZ; the phase left over is in `phase`.
PhaseGate diagonal_gate(const PhaseSum& sum);

/// \brief The gate e^{iπ·sum.phase}·RX(sum.angle): X when the angle is 4 or 12 modulo 16, no
/// gate at 0 or 8, else RX; the phase left over is in `phase`.
PhaseGate x_axis_gate(const PhaseSum& sum);

}  // namespace phases
