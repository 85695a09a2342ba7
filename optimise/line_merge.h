#pragma once
// Pair and triple rewrites of adjacent rotations toward H, RXY and ASQU records, each a table of
// rows that one scan of the whole line copy walks (see line_merge.cpp). merge_H_gate and
// merge_ASQU_gate rewrite unconditionally; the others keep the best copy under the whole-line
// gate count. No pass of the synthesis flow calls them. Angles in π/4, phases in π.

#include "circuit/gate.h"
#include "cost/cost_model.h"

namespace line {

void merge_H_gate(const CostModel& c, LineOfGates& L);
void change_RXY2_gate(const CostModel& c, LineOfGates& L);
void merge_RXY2_gate(const CostModel& c, LineOfGates& L);
void interchange_RZ_gate(const CostModel& c, LineOfGates& L);
/// The ASQU results equal their pairs only up to a global phase, which is not recorded.
void merge_ASQU_gate(const CostModel& c, LineOfGates& L);
void merge_RXY3_gate(const CostModel& c, LineOfGates& L);

}  // namespace line
