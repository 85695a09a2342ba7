#pragma once
// Physical price tables: operations per gate kind (from "CostGateCount.txt") and cycles per gate.

#include <list>
#include <map>
#include <vector>

#include "circuit/gate.h"

/// Price that marks a gate as not available on a description.
constexpr int kUnavailableGate = 134217727;  // 0x7FFFFFF

/// Physical operation count of each gate kind on each machine description, read from
/// "CostGateCount.txt" in the working directory.
class CostGateCount {
public:
    std::map<Gate_type, std::vector<int>> table;  // kind -> price per PMD_type value

    /// \brief Reads "CostGateCount.txt" and adds its rows (rows already present are kept).
    void set_cost_table();
    /// \brief Price of one gate kind; markers cost 0.
    int get_gate_cost(Gate_type kind, PMD_type pmd) const;
    /// \brief Sum of prices from the front of the list up to the first OUT record.
    int get_line_gate_cost(std::list<Gate>& line, PMD_type pmd) const;
    /// \brief Price of the window [first, last) given by record indices (-1, -1: whole line).
    int get_window_gate_cost(std::list<Gate>& line, int first, int last, PMD_type pmd) const;
};

/// Physical cycle count of a gate; fixed tables, no state.
class CostCycleCount {
public:
    /// \brief Cycles of one gate; `angle` in π/4 matters for rotations on QD and SC.
    static int get_cycle_cost(Gate_type kind, PMD_type pmd, double angle);
    /// \brief Cycle sum over the window [first, last) given by record indices (-1, -1: whole).
    static int get_window_cycle_cost(std::list<Gate>& line, int first, int last, PMD_type pmd);
};
