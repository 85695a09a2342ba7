// Placeholder until the physical price tables land: every gate costs 1.
#include "cost/cost_gate_count.h"

void CostGateCount::set_cost_table() {}
int CostGateCount::get_gate_cost(Gate_type kind, PMD_type) const { return kind >= IN ? 0 : 1; }
int CostGateCount::get_line_gate_cost(std::list<Gate>& line, PMD_type pmd) const {
    int total = 0;
    for (const Gate& g : line) {
        if (g.type == OUT) break;
        total += get_gate_cost(g.type, pmd);
    }
    return total;
}
int CostGateCount::get_window_gate_cost(std::list<Gate>& line, int, int, PMD_type pmd) const {
    return get_line_gate_cost(line, pmd);
}
int CostCycleCount::get_cycle_cost(Gate_type kind, PMD_type, double) { return kind >= IN ? 0 : 1; }
int CostCycleCount::get_window_cycle_cost(std::list<Gate>& line, int, int, PMD_type) {
    return static_cast<int>(line.size());
}
