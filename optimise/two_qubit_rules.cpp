#include "optimise/two_qubit_rules.h"

namespace {

EnclosedRewrite keep() {
    return EnclosedRewrite{};
}

EnclosedRewrite become(Gate_type kind, double angle) {
    EnclosedRewrite r;
    r.change = true;
    r.kind = kind;
    r.angle = angle;
    return r;
}

EnclosedRewrite become_then(Gate_type kind, double angle, Gate_type next, double next_angle) {
    EnclosedRewrite r = become(kind, angle);
    r.append = true;
    r.append_kind = next;
    r.append_angle = next_angle;
    return r;
}

}  // namespace

bool matches(const EnclosedPattern& pattern, Gate_type kind, double angle) {
    if (kind != pattern.kind) return false;
    return kind == H || angle == pattern.angle;
}

const std::vector<HalfTurnCnotRule>& half_turn_cnot_rules() {
    // X_c -> X_c X_t and Z_t -> Z_c Z_t under CNOT conjugation; with RX(4) = -iX, RY(4) = iY,
    // RZ(4) = -iZ the phases below make each row exact.
    static const std::vector<HalfTurnCnotRule> rules = {
        {"C4", RX, RY, RY, RZ, 0.0},
        {"C5", RX, RZ, RY, RY, 1.0},
        {"C6", RY, RZ, RX, RY, 0.0},
        {"C7", RY, RY, RX, RZ, 1.0},
    };
    return rules;
}

const std::vector<ReversedCnotRule>& reversed_cnot_rules() {
    static const std::vector<ReversedCnotRule> rules = {
        {"R1", {RY, 2.0}, {H, 0.0}, keep(), become(RY, 2.0), 0.0},
        {"R2",
         {RY, 2.0},
         {RY, 6.0},
         become_then(RY, 4.0, H, 0.0),
         become_then(H, 0.0, RY, 4.0),
         0.0},
        // NOTE: the H belongs on the target line; turning `a` into H instead breaks the
        // circuit.
        {"R3", {RY, 2.0}, {RY, 2.0}, keep(), become(H, 0.0), 0.0},
        {"R4", {RY, 6.0}, {H, 0.0}, keep(), keep(), 0.0},
        // NOTE: exact only with a phase of +1; a phase of 0 holds up to phase alone.
        {"R5", {RY, 6.0}, {RY, 6.0}, become(H, 0.0), keep(), 1.0},
        {"R6", {RY, 6.0}, {RY, 2.0}, keep(), keep(), 0.0},
        {"R7", {H, 0.0}, {H, 0.0}, keep(), keep(), 0.0},
        // NOTE: exact only with a phase of +1, as R5.
        {"R8", {H, 0.0}, {RY, 6.0}, become(RY, 6.0), keep(), 1.0},
        {"R9", {H, 0.0}, {RY, 2.0}, keep(), keep(), 0.0},
    };
    return rules;
}
