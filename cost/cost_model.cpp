#include "cost/cost_model.h"

Measure measure_of_mode(int mode) {
    switch (mode) {
        case 1:
            return Measure::Cycles;
        case 2:
            return Measure::LogicalOps;
        case 3:
            return Measure::LogicalCycles;
        default:
            return Measure::GateCount;
    }
}

double CostModel::gate_cost(Gate_type kind, double angle, int control, int target,
                            Measure m) const {
    switch (m) {
        case Measure::Cycles:
            return CostCycleCount::get_cycle_cost(kind, pmd, angle);
        case Measure::LogicalOps:
            return tile_table.getOpsCyc(code, kind, angle, control, target, 0);
        case Measure::LogicalCycles:
            return tile_table.getOpsCyc(code, kind, angle, control, target, 1);
        case Measure::GateCount:
            break;
    }
    return cost_gate_count.get_gate_cost(kind, pmd);
}

double CostModel::window_cost(std::list<Gate>& gates, int from, int to, Measure m) const {
    switch (m) {
        case Measure::Cycles:
            return CostCycleCount::get_window_cycle_cost(gates, from, to, pmd);
        case Measure::LogicalOps:
            return tile_table.getWindowOpsCycCost(gates, code, from, to, 0);
        case Measure::LogicalCycles:
            return tile_table.getWindowOpsCycCost(gates, code, from, to, 1);
        case Measure::GateCount:
            break;
    }
    return cost_gate_count.get_window_gate_cost(gates, from, to, pmd);
}
