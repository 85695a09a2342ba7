// Technology mapping of the two-qubit gates CNOT, CZ, CP and GEO onto the native gates of each
// machine description. Every recipe, times e^{iπ·(phase added)}, equals its gate exactly.
// Angles in π/4, phases in π.

#include "mapping/two_qubit_mapping.h"

#include <cmath>

#include "mapping/mapping_tables.h"

using namespace mapping;

namespace {

// Operand roles of every two-qubit recipe: control and target.
constexpr int c = 0, t = 1;

const RecipeTable& cnot_table() {
    static const RecipeTable table = {
        {{SC, NA}, {gate(RY, t, 2), call_CZ(c, t), gate(RY, t, -2)}},
        {{QD}, {gate(RZ, t, 6), gate(RX, t, 6), call_CZ(c, t), gate(RX, t, 2), gate(RZ, t, 2)}},
        {{IT},
         {gate(RY, t, 2), call_GEO(c, t, -2), gate(RZ, c, 2), gate(RZ, t, 2), gate(RY, t, -2),
          phase(0.5)}},
        {{LP, NP, ND, CTL, FTS}, {gate2(CNOT, c, t)}},
    };
    return table;
}

const RecipeTable& cz_table() {
    static const RecipeTable table = {
        {{NP}, {gate(H, t), call_CNOT(c, t), gate(H, t)}},
        {{IT}, {call_GEO(c, t, -2), gate(RZ, c, 2), gate(RZ, t, 2), phase(0.5)}},
        {{SC}, {gate2(CP, c, t, 4)}},
        {{QD, NA, LP, ND, CTL, FTS}, {gate2(CZ, c, t)}},
    };
    return table;
}

// CP(θ) for θ not a multiple of 4.
const RecipeTable& cp_table() {
    static const RecipeTable table = {
        {{LP, NP},
         {phase(theta(1.0 / 16)), call_CNOT(c, t), gate(RZ, t, theta(-0.5)), call_CNOT(c, t),
          gate(RZ, c, theta(0.5)), gate(RZ, t, theta(0.5))}},
        {{QD, CTL},
         {phase(theta(1.0 / 16)), gate(H, t), call_CZ(c, t), gate(RX, t, theta(-0.5)),
          call_CZ(c, t), gate(RZ, c, theta(0.5)), gate(H, t), gate(RZ, t, theta(0.5))}},
        {{NA, FTS},
         {phase(theta(1.0 / 16)), gate(RY, t, 2), call_CZ(c, t), gate(RX, t, theta(0.5)),
          call_CZ(c, t), gate(RZ, c, theta(0.5)), gate(RX, t, theta(-0.5)), gate(RY, t, -2)}},
        {{IT},
         {phase(theta(1.0 / 8)), call_GEO(c, t, theta(-0.5)), gate(RZ, c, theta(0.5)),
          gate(RZ, t, theta(0.5))}},
        {{SC, ND}, {gate2(CP, c, t, theta(1))}},
    };
    return table;
}

// GEO(θ) with θ mod 8 exactly 2. Descriptions without a row here use the general table.
const RecipeTable& geo_r2_table() {
    static const RecipeTable table = {
        {{LP, NP, CTL},
         {gate(RZ, c, 2), gate(RZ, t, 2), gate(H, t), call_CNOT(c, t), gate(H, t), phase(0.5)}},
        {{QD, NA}, {gate(RZ, c, 2), gate(RZ, t, 2), call_CZ(c, t), phase(0.5)}},
        {{FTS}, {gate2(GEO, c, t, 2)}},
    };
    return table;
}

// GEO(θ) with θ mod 8 exactly 6. Descriptions without a row here use the general table.
const RecipeTable& geo_r6_table() {
    static const RecipeTable table = {
        {{LP, NP, CTL},
         {gate(H, t), call_CNOT(c, t), gate(RZ, c, -2), gate(H, t), gate(RZ, t, -2), phase(-0.5)}},
        {{QD, NA}, {call_CZ(c, t), gate(RZ, c, -2), gate(RZ, t, -2), phase(-0.5)}},
        {{FTS}, {phase(1), gate(RZ, c, 4), gate(RZ, t, 4), gate2(GEO, c, t, 2)}},
    };
    return table;
}

// GEO(θ) for any other θ; θ itself (not θ mod 8) enters the angles and the phase.
const RecipeTable& geo_general_table() {
    static const RecipeTable table = {
        {{LP, NP, CTL},
         {phase(theta(1.0 / 8)), call_CNOT(c, t), gate(RZ, t, theta(1)), call_CNOT(c, t)}},
        {{QD},
         {phase(theta(1.0 / 8)), gate(H, t), call_CZ(c, t), gate(RX, t, theta(1)), call_CZ(c, t),
          gate(H, t)}},
        {{NA},
         {phase(theta(1.0 / 8)), gate(RY, t, 2), call_CZ(c, t), gate(RX, t, theta(-1)),
          call_CZ(c, t), gate(RY, t, -2)}},
        {{SC},
         {phase(theta(1.0 / 4)), call_CP(c, t, theta(-2)), gate(RZ, t, theta(1)),
          gate(RZ, c, theta(1))}},
        {{FTS},
         {gate(RY, t, 2), gate2(GEO, c, t, 2), gate(RY, t, theta(1)), gate2(GEO, c, t, 6),
          gate(RY, t, 6), phase(theta(1.0 / 8) + -1)}},
        {{IT, ND}, {gate2(GEO, c, t, theta(1))}},
    };
    return table;
}

}  // namespace

namespace mapping {

void add_CNOT(CircuitGraph& circuit, PMD_type pmd, int control, int target) {
    run_recipe(circuit, pmd, cnot_table(), {control, target});
}

void add_CZ(CircuitGraph& circuit, PMD_type pmd, int control, int target) {
    run_recipe(circuit, pmd, cz_table(), {control, target});
}

void add_CP(CircuitGraph& circuit, PMD_type pmd, int control, int target, double angle) {
    // fmod keeps the sign of the angle: −8 and 16 are full turns, ±4 is CZ.
    if (std::fmod(angle, 8) == 0) return;
    if (std::fmod(angle, 4) == 0) {
        add_CZ(circuit, pmd, control, target);
        return;
    }
    run_recipe(circuit, pmd, cp_table(), {control, target}, angle);
}

void add_GEO(CircuitGraph& circuit, PMD_type pmd, int control, int target, double angle) {
    // The remainder keeps the sign of the angle, so −6 matches neither special row.
    const double r = std::fmod(angle, 8);
    if (r == 0) return;
    const RecipeTable& special = r == 2 ? geo_r2_table() : geo_r6_table();
    if ((r == 2 || r == 6) && run_recipe(circuit, pmd, special, {control, target}, angle)) return;
    run_recipe(circuit, pmd, geo_general_table(), {control, target}, angle);
}

}  // namespace mapping
