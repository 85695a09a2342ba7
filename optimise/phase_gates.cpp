#include "optimise/phase_gates.h"

#include <cmath>

#include "circuit/named_rotation.h"

namespace phases {

namespace {

// diag(1, e^{iπ·k/4}) for k = 0..7 as a named gate, or I where no named gate has that meaning.
constexpr Gate_type kNamedDiagonal[8] = {I, T, S, I, Z, I, S_dag, T_dag};

// x in [0, period) when x is a whole number; -1 otherwise.
double whole_residue(double x, double period) {
    if (x != std::floor(x)) return -1;
    double r = std::fmod(x, period);
    if (r < 0) r += period;
    return r;
}

// x modulo `period`, into (-period/2, period/2], keeping the value exact.
double centred(double x, double period) {
    double r = std::fmod(x, period);
    if (r > period / 2) r -= period;
    if (r <= -period / 2) r += period;
    return r;
}

}  // namespace

bool diagonal_form(Gate_type kind, double angle, PhaseSum& form) {
    if (kind == RZ) {
        // RZ(a) = diag(e^{-iπa/8}, e^{iπa/8}) = e^{-iπa/8}·diag(1, e^{iπa/4}).
        form = {angle, -angle / 8};
        return true;
    }
    if (kind != Z && kind != S && kind != S_dag && kind != T && kind != T_dag) return false;
    const NamedRotation& row = *named_rotation(kind);
    form = {row.angle, row.phase - row.angle / 8};
    return true;
}

bool x_axis_form(Gate_type kind, double angle, PhaseSum& form) {
    if (kind == RX) {
        form = {angle, 0};
        return true;
    }
    if (kind != X) return false;
    const NamedRotation& row = *named_rotation(X);
    form = {row.angle, row.phase};
    return true;
}

PhaseGate diagonal_gate(const PhaseSum& sum) {
    const double k = whole_residue(sum.angle, 8);
    if (k >= 0 && (k == 0 || kNamedDiagonal[static_cast<int>(k)] != I)) {
        const Gate_type kind = k == 0 ? I : kNamedDiagonal[static_cast<int>(k)];
        if (kind == I) return {I, 0, sum.phase};
        const NamedRotation& row = *named_rotation(kind);
        // The named gate is e^{iπ(row.phase - row.angle/8)}·diag(1, e^{iπk/4}).
        return {kind, 0, sum.phase - (row.phase - row.angle / 8)};
    }
    // diag(1, e^{iπa/4}) = e^{iπa/8}·RZ(a), for a taken into (-4, 4].
    const double a = centred(sum.angle, 8);
    return {RZ, a, sum.phase + a / 8};
}

PhaseGate x_axis_gate(const PhaseSum& sum) {
    const double k = whole_residue(sum.angle, 16);
    // RX(8) = -I, RX(4) = e^{-iπ/2}·X and RX(12) = e^{iπ/2}·X.
    if (k == 0) return {I, 0, sum.phase};
    if (k == 8) return {I, 0, sum.phase + 1};
    if (k == 4) return {X, 0, sum.phase - 0.5};
    if (k == 12) return {X, 0, sum.phase + 0.5};
    return {RX, centred(sum.angle, 16), sum.phase};
}

}  // namespace phases
