#pragma once
// Physical operation prices per gate kind and machine description, read from
// "CostGateCount.txt"; the cycle prices live in cost_cycle_count.h.

#include <list>
#include <map>
#include <vector>

#include "circuit/gate.h"
#include "cost/cost_cycle_count.h"

/// Price that marks a gate as not available on a description.
constexpr int kUnavailableGate = 134217727;  // 0x7FFFFFF

/// Number of price columns of a row: one per PMD_type value QD ... FTS.
constexpr int kCostColumns = 9;

/// Physical operation count of each gate kind on each machine description, read from
/// "CostGateCount.txt" in the working directory.
class CostGateCount {
  public:
    std::map<Gate_type, std::vector<int>> table;  // kind -> price per PMD_type value

    /// \brief Reads "CostGateCount.txt" and adds its rows (rows already present are kept).
    /// An unreadable file, an unknown keyword or a malformed row ends the program (status 1).
    void set_cost_table();
    /// \brief Adds the rows of a cost-table text; `source` names it in error messages.
    void add_rows(const std::string& text, const std::string& source);
    /// \brief Price of one gate kind; markers cost 0. A kind without a row (ZENO_dag falls back
    /// to the ZENO row) ends the program.
    int get_gate_cost(Gate_type kind, PMD_type pmd) const;
    /// \brief Sum of prices from the front of the list up to the first OUT record.
    int get_line_gate_cost(std::list<Gate>& line, PMD_type pmd) const;
    /// \brief Price of the window [first, last) given by record indices (-1, -1: whole line);
    /// the window is that of CostCycleCount::get_window_cycle_cost.
    int get_window_gate_cost(std::list<Gate>& line, int first, int last, PMD_type pmd) const;
};
