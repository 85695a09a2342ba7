#pragma once
// The one-qubit line reduction pass (reduce1Qgate): each line is copied out of the graph, its
// records simplified, then interchanged, moved and simplified again up to min(n2, 4) times (n2
// its two-qubit records), and the copy of strictly lowest whole-line cost is written back; one
// pass with X rotations moved left and Z right, then one the other way. The measure is logical
// operations under a code, else the gate count. Angles in π/4, phases in π.

#include "circuit/circuit_graph.h"
#include "cost/cost_model.h"
#include "optimise/line_editor.h"
#include "optimise/line_interchange.h"
#include "optimise/line_reduction_memo.h"
#include "optimise/line_simplify.h"

namespace line {

/// How a line is reduced: by segments where that gives the whole-line result exactly (see
/// line_segments.h), or always by the whole-line stages (kept for comparison).
enum class LineWalk { BySegment, WholeLine };

/// \brief The whole pass over every line. `memos` remembers what each line was made into, so
/// that a line read back unchanged is written without being reduced again.
void reduce_lines(CircuitGraph& c, const CostModel& cost, ReductionMemo& memos,
                  LineWalk walk = LineWalk::BySegment);

/// \brief Repetitions of the stages for a line with n2 two-qubit records: min(n2, 4), and one
/// for a line without any.
int line_repetitions(int n2);

/// \brief One repetition of the pass on line q's copy: interchange and movement in the pass's
/// direction (X left, Z right when `xlzr`), then simplify, all over the whole line.
void run_stages(const CostModel& c, int q, LineOfGates& L, bool xlzr, Measure mode, Strategy s,
                KnownCost* known = nullptr);

/// \brief Splits every rotation whose angle is not whole into a rotation by the nearest whole
/// angle (halves away from 0) followed by one by the rest; new records take indices from
/// `gate_counter`.
void split_angles(LineOfGates& L, int& gate_counter);

}  // namespace line
