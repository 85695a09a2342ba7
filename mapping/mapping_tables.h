#pragma once
// Mapping recipes written as data: per machine description, the list of steps that replaces one
// gate of the netlist vocabulary. A step appends a native gate, calls a mapping operation again
// (so the inner gate is mapped for the same description), or adds to the global phase. The
// operations in two_qubit_mapping.cpp and multi_qubit_mapping.cpp hold their tables next to
// their code, row by row, so each row can be read against its decomposition.
//
// Units: angles in π/4, phases in π.

#include <initializer_list>
#include <vector>

#include "circuit/circuit_graph.h"

namespace mapping {

/// An angle (π/4) or phase (π) of the form constant + factor·θ, where θ is the parameter of the
/// operation being mapped (the CP/GEO/ISWAP angle, or φ for the controlled-V gates).
struct Angle {
    double constant = 0;
    double factor = 0;

    constexpr Angle(double constant = 0) : constant(constant) {}
    constexpr Angle(double constant, double factor) : constant(constant), factor(factor) {}

    /// \brief The value for parameter `theta`; a pure constant never looks at `theta`, and a
    /// pure multiple of θ is computed as factor·θ alone (so −θ of +0 stays −0).
    double at(double theta) const {
        if (factor == 0) return constant;
        if (constant == 0) return factor * theta;
        return factor * theta + constant;
    }
};

/// \brief factor·θ (write theta(-0.5) for −θ/2).
constexpr Angle theta(double factor) {
    return Angle(0, factor);
}
/// \brief factor·θ + k.
constexpr Angle operator+(Angle a, double k) {
    return Angle(a.constant + k, a.factor);
}

enum class StepOp {
    Gate1,  // native one-qubit gate: add_gate(kind, a, angle, 0, 0)
    Gate2,  // native two-qubit gate: add_gate(kind, a, b, angle)
    CallCNOT,
    CallCZ,
    CallCP,
    CallGEO,
    CallISWAP,
    Phase  // global_phase += angle
};

/// One step of a recipe. `a` and `b` are operand roles: positions in the operand list of the
/// operation being mapped (e.g. 0 = control, 1 = target).
struct Step {
    StepOp op;
    Gate_type kind;
    int a;
    int b;
    Angle angle;
};

constexpr Step gate(Gate_type kind, int q, Angle angle = 0) {
    return {StepOp::Gate1, kind, q, -1, angle};
}
constexpr Step gate2(Gate_type kind, int a, int b, Angle angle = 0) {
    return {StepOp::Gate2, kind, a, b, angle};
}
constexpr Step call_CNOT(int c, int t) {
    return {StepOp::CallCNOT, CNOT, c, t, 0};
}
constexpr Step call_CZ(int c, int t) {
    return {StepOp::CallCZ, CZ, c, t, 0};
}
constexpr Step call_CP(int c, int t, Angle angle) {
    return {StepOp::CallCP, CP, c, t, angle};
}
constexpr Step call_GEO(int c, int t, Angle angle) {
    return {StepOp::CallGEO, GEO, c, t, angle};
}
constexpr Step call_ISWAP(int a, int b, Angle angle) {
    return {StepOp::CallISWAP, ISWAP, a, b, angle};
}
constexpr Step phase(Angle p) {
    return {StepOp::Phase, I, -1, -1, p};
}

/// The steps of one table row, shared by the descriptions it names.
struct Recipe {
    std::vector<PMD_type> pmds;
    std::vector<Step> steps;
};
using RecipeTable = std::vector<Recipe>;

/// \brief The steps of the row naming `pmd`, or nullptr when no row names it.
const std::vector<Step>* find_recipe(const RecipeTable& table, PMD_type pmd);

/// \brief Appends `steps` to `circuit` in order, mapping inner gates for `pmd`; operand role r
/// is qubit operands[r]; θ is `theta` (π/4 units).
void run_steps(CircuitGraph& circuit, PMD_type pmd, const std::vector<Step>& steps,
               std::initializer_list<int> operands, double theta);

/// \brief Runs the row of `table` for description `pmd`; false (nothing appended) when the
/// table has no row for it.
bool run_recipe(CircuitGraph& circuit, PMD_type pmd, const RecipeTable& table,
                std::initializer_list<int> operands, double theta = 0);

}  // namespace mapping
