#pragma once
// Critical-path reduction (reduce_critical): re-optimises, with the window cycle
// cost as the measure, only the runs of one-qubit gates that lie on one critical path.
// Expects: any gates. Produces: the same circuit, exactly (the phase of each rewritten line is
// added to the global phase). Leaves two-qubit gates and every line without a window unchanged;
// sets the circuit's level to 0.

#include <vector>

#include "circuit/circuit_graph.h"
#include "cost/cost_model.h"
#include "optimise/line_reduction_memo.h"

/// A run of one-qubit gates of the critical path on one line, bounded by the vertex indices of
/// the node just before it (`from`) and just after it (`to`) on that line.
struct CriticalWindow {
    int line;
    int from;
    int to;
};

inline bool operator==(const CriticalWindow& a, const CriticalWindow& b) {
    return a.line == b.line && a.from == b.from && a.to == b.to;
}

/// \brief Cuts a critical path (gate vertices in time order) into windows, one per run of
/// consecutive one-qubit gates of the path on the same line, in the order found. Two-qubit
/// gates and markers neither end nor extend a run, so a run may span two-qubit gates of its line.
/// O(length of the path).
std::vector<CriticalWindow> cut_critical_windows(const Graph& graph,
                                                 const std::vector<Vertex>& path);

/// \brief Passes A (X right, Z left) and B (X left, Z right) of the line-reduction stages over
/// the windows, in order, with the window cycle cost as the measure; each window's line is
/// written back as the copy of strictly lowest window cycle cost, or as copied. Works each line
/// once: O(path + lines) unless a window simplification spreads over its whole line. With
/// `memo` (the line reduction's), a line that holds what was last written on it is copied from
/// there instead of walked, and what is written back is noted there.
void reduce_critical_windows(CircuitGraph& circuit, const CostModel& cost,
                             const std::vector<CriticalWindow>& windows,
                             line::ReductionMemo* memo = nullptr);

/// \brief The same passes done literally, copying and writing back the window's line for every
/// window: the same line contents and global phase, in O(windows x line length). The reference
/// the tests compare with.
void reduce_critical_windows_literal(CircuitGraph& circuit, const CostModel& cost,
                                     const std::vector<CriticalWindow>& windows);

/// \brief The whole pass: one critical path found, cut into windows and reduced.
void reduce_critical(CircuitGraph& circuit, const CostModel& cost,
                     line::ReductionMemo* memo = nullptr);
