#pragma once
// The prices the passes measure a circuit by: for one machine description and code, the cost of
// a gate, a window of a line copy or a whole line under a named measure. A view of the price
// tables (the circuit owns them); every question is const.

#include <list>

#include "circuit/gate.h"
#include "cost/cost_cycle_count.h"
#include "cost/cost_gate_count.h"
#include "cost/tile_table.h"

/// What a pass minimises.
enum class Measure {
    GateCount,     // physical operations (the price table)
    Cycles,        // physical cycles
    LogicalOps,    // logical operations under the code (tile table)
    LogicalCycles  // logical cycles under the code (tile table)
};

/// \brief The measure of a numbered cost mode: 0 gate count, 1 cycles, 2 logical operations,
/// 3 logical cycles; any other number is the gate count.
Measure measure_of_mode(int mode);

/// \brief The measure of operation counts: logical operations under a code, else the gate
/// count. The line reduction minimises it.
inline Measure ops_measure(qecCode code) {
    return code != qec_none ? Measure::LogicalOps : Measure::GateCount;
}
/// \brief The measure of cycle counts: logical cycles under a code, else physical cycles.
inline Measure cycles_measure(qecCode code) {
    return code != qec_none ? Measure::LogicalCycles : Measure::Cycles;
}

class CostModel {
  public:
    CostModel(const CostGateCount& prices, const tileTable& tiles, PMD_type pmd, qecCode code)
        : cost_gate_count(prices), tile_table(tiles), pmd(pmd), code(code) {}

    const CostGateCount& cost_gate_count;
    const tileTable& tile_table;
    const PMD_type pmd;
    const qecCode code;

    /// \brief The same prices on another description.
    CostModel on(PMD_type other) const {
        return CostModel(cost_gate_count, tile_table, other, code);
    }

    /// \brief Price of one gate under a measure (angle in π/4; control and target matter only
    /// to the logical measures).
    double gate_cost(Gate_type kind, double angle, int control, int target, Measure m) const;
    /// \brief Price of one record under a measure.
    double record_cost(const Gate& g, Measure m) const {
        return gate_cost(g.type, g.angle, g.control, g.target, m);
    }
    /// \brief Window cost of a line copy (from = to = -1: the whole line between IN and OUT).
    /// O(n) in the line length.
    double window_cost(std::list<Gate>& gates, int from, int to, Measure m) const;
    /// \brief Whole-line cost of a line copy: its logical operations under LogicalOps, and under
    /// every other measure its gate count (the prices summed up to the first OUT record).
    double line_cost(std::list<Gate>& gates, Measure m) const {
        if (m == Measure::LogicalOps) return tile_table.getLineOpsCost(gates, code);
        return cost_gate_count.get_line_gate_cost(gates, pmd);
    }
    /// \brief Gate-count price of a kind on this description.
    double gate_price(Gate_type kind) const { return cost_gate_count.get_gate_cost(kind, pmd); }
};
