#include "support/literal_line_reduction.h"

#include "optimise/line_reduction.h"

namespace reference {

namespace {

void reduce_line_literal(CircuitGraph& c, const CostModel& cost, int q, bool xlzr, Measure mode) {
    const line::Strategy s = line::Strategy::Literal;
    LineOfGates L;
    c.copy_a_line(q, L);
    LineOfGates best = L;
    const int n2 = num_2Q_gate(L.gates);
    double cost_best = line::whole_line_cost(cost, L.gates, mode, s);
    line::simplify(cost, L, -1, -1, mode, s);
    for (int k = 0; k < line::line_repetitions(n2); ++k) {
        LineOfGates prev = L;
        line::run_stages(cost, q, L, xlzr, mode, s);
        const double now = line::whole_line_cost(cost, L.gates, mode, s);
        if (cost_best > now) {
            best = L;
            cost_best = now;
        }
        if (L == prev) break;
    }
    c.revise_a_line(q, best);
}

}  // namespace

void reduce_lines_literal(GraphCircuit& c) {
    if (c.num_qubits < 1) return;
    const CostModel cost = c.cost_model();
    const Measure mode = ops_measure(cost.code);
    for (int pass = 0; pass < 2; ++pass)
        for (int q = 0; q < c.num_qubits; ++q) reduce_line_literal(c, cost, q, pass == 0, mode);
}

}  // namespace reference
