#pragma once
// Physical cycle prices: how many machine time steps one gate takes. The prices are fixed tables
// per machine description; rotation prices depend on the angle (in π/4).

#include <list>

#include "circuit/gate.h"

/// Physical cycle count of a gate; fixed tables, no state.
class CostCycleCount {
  public:
    /// \brief Cycles of one gate on `pmd`; `angle` (π/4 units) matters for rotations, CP and
    /// ISWAP on QD and SC. I and the line markers take 0 cycles.
    static int get_cycle_cost(Gate_type kind, PMD_type pmd, double angle);
    /// \brief Cycle sum over a window of a record list, given by record indices: with
    /// first = last = -1 everything between the list's first and last record, otherwise from the
    /// (last) record with index `first` up to, not including, the (last) record with index `last`.
    static int get_window_cycle_cost(std::list<Gate>& line, int first, int last, PMD_type pmd);
};

/// \brief The window [begin, end) of a record list named by record indices (see
/// CostCycleCount::get_window_cycle_cost). A `first` that no record carries gives an empty
/// window; a `last` that no record carries runs the window to the end of the list.
/// O(n) in the list length.
void cost_window_bounds(std::list<Gate>& line, int first, int last,
                        std::list<Gate>::iterator& begin, std::list<Gate>::iterator& end);
