#pragma once
// Counts of a whole circuit graph: operations, as-soon-as-possible cycles and one critical
// path, priced by a cost model.

#include <vector>

#include "circuit/circuit_graph.h"
#include "cost/cost_model.h"

/// \brief Operations of every gate vertex, priced on `pmd`: the price table without a code, the
/// tile table's logical operations with one.
double num_ops(const CircuitGraph& c, const CostModel& cost, PMD_type pmd);
/// \brief The count without a code from the kind counts; false when a kind has no plain price,
/// the counts do not match the graph or the sum may be inexact (the caller then counts vertex
/// by vertex).
bool ops_from_kind_counts(const CircuitGraph& c, const CostModel& cost, PMD_type pmd,
                          double& total);
/// \brief Finish time of the as-soon-as-possible schedule, in whole cycles.
double num_cycles(const CircuitGraph& c, const CostModel& cost, PMD_type pmd);
/// \brief Computes finish, latest and slack times; hands back in `path` the gate vertices of
/// one critical path in time order.
void find_critical_path(const CircuitGraph& c, const CostModel& cost, std::vector<Vertex>& path);
