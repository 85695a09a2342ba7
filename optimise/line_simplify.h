#pragma once
// Simplification stages of the one-qubit line reduction on a window of a line copy: identities
// removed, neighbours merged or cancelled, half-turn and H rewrites, each under the best-copy
// rule of line_editor.h.

// Windows: from = to = -1 is the whole line between IN and OUT; otherwise the records from the
// one whose index is `from` (included) to the one whose index is `to` (excluded), where those
// two records are the line's anchors (two-qubit records or markers). Angles in π/4, phases in π.
//
// `known` (optional, see KnownCost): the whole-line window cost handed along by the pass, so
// that no stage sums it again; callers outside the pass leave it out.

#include "circuit/gate.h"
#include "cost/cost_model.h"
#include "optimise/line_editor.h"

namespace line {

/// by the gate count while the whole-line cost falls.
void simplify(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
              KnownCost* known = nullptr);
/// neighbours. Keeps no best copy.
void simplify1(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known = nullptr);
/// \brief Two half-turns about different axes become one half-turn about the third axis.
void simplify2(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known = nullptr);
/// \brief H conjugations of a rotation and the triple families of rotations.
void simplify3(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known = nullptr);

}  // namespace line
