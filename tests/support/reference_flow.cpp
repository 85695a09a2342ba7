#include "support/reference_flow.h"

#include <vector>

#include "optimise/two_qubit_reduction.h"
#include "support/literal_line_reduction.h"

namespace reference {

double literal_num_ops(GraphCircuit& c, PMD_type pmd) {
    const int first_gate = 2 * c.num_qubits;  // indices below belong to markers
    double total = 0;
    for (Vertex v : c.topological_order()) {
        if (boost::get(boost::vertex_index, c.graph, v) < first_gate) continue;
        const Gate_type kind = boost::get(boost::vertex_gate, c.graph, v);
        total += c.code == qec_none ? c.cost_gate_count.get_gate_cost(kind, pmd)
                                    : c.tile_table.getOpsCyc(
                                          c.code, kind, boost::get(boost::vertex_angle, c.graph, v),
                                          boost::get(boost::vertex_control, c.graph, v),
                                          boost::get(boost::vertex_target, c.graph, v), 0);
    }
    return total;
}

Passes program_passes() {
    return Passes{[](GraphCircuit& c) { c.reduce1Qgate(); },
                  [](GraphCircuit& c) { c.reduce2Qgate(); },
                  [](GraphCircuit& c) { c.reduce_critical(); },
                  [](GraphCircuit& c, PMD_type p) { return c.num_ops(p); },
                  [](GraphCircuit& c, PMD_type p) { return c.num_cycles(p); }};
}

Passes literal_passes() {
    return Passes{reduce_lines_literal,
                  [](GraphCircuit& c) { reduce2Qgate(c, c.cost_model(), PairSweep::Every); },
                  [](GraphCircuit& c) { c.reduce_critical(); }, literal_num_ops,
                  [](GraphCircuit& c, PMD_type p) { return c.num_cycles(p); }};
}

namespace {

double reduce_while_ops_fall(GraphCircuit& g, PMD_type pmd, double ops, const Passes& p) {
    for (;;) {
        p.reduce_lines(g);
        p.reduce_pairs(g);
        const double m = p.ops(g, pmd);
        if (!(m < ops)) return m;
        ops = m;
    }
}

}  // namespace

RunResult synthesis_run(GraphCircuit& g, PMD_type pmd, const Passes& p) {
    double ops = p.ops(g, pmd);
    double cycles = p.cycles(g, pmd);
    ops = reduce_while_ops_fall(g, pmd, ops, p);
    g.decompose_XYZSTH_gate();
    reduce_while_ops_fall(g, pmd, ops, p);
    for (;;) {
        p.reduce_critical(g);
        const double c = p.cycles(g, pmd);
        if (!(c < cycles)) break;
        cycles = c;
    }
    return RunResult{p.ops(g, pmd), p.cycles(g, pmd), g.output_circuit_in_string()};
}

}  // namespace reference
