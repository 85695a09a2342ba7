#pragma once
// Interchange and movement stages of the one-qubit line reduction on a window of a line copy:
// X and Z rotations moved past one-qubit records and through the two-qubit records they commute
// with, each under the best-copy rule of line_editor.h.

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

/// \brief Moves X rotations left and Z rotations right through one-qubit records.
void interchange_xlzr(const CostModel& c, LineOfGates& L, int from, int to, Measure mode,
                      Strategy s, KnownCost* known = nullptr);
/// \brief Moves X rotations right and Z rotations left through one-qubit records.
void interchange_xrzl(const CostModel& c, LineOfGates& L, int from, int to, Measure mode,
                      Strategy s, KnownCost* known = nullptr);
/// Z-transparent two-qubit records of line q.
void movement_xlzr(const CostModel& c, int q, LineOfGates& L, int from, int to, Measure mode,
                   Strategy s, KnownCost* known = nullptr);
/// Z-transparent two-qubit records of line q.
void movement_xrzl(const CostModel& c, int q, LineOfGates& L, int from, int to, Measure mode,
                   Strategy s, KnownCost* known = nullptr);

/// \brief The forward and backward scans of interchange_xlzr (`xlzr`) or interchange_xrzl on
/// the window of an editor the caller owns.
void interchange_scans(LineEditor& ed, bool xlzr);
/// \brief The movement rule at the two-qubit record g of line q, in the direction of
/// movement_xlzr (`xlzr`) or movement_xrzl: moves at most one one-qubit record through g and
/// returns the record the movement scan goes on from (the moved record, or the one after g).
LineEditor::It movement_at(LineEditor& ed, LineEditor::It g, int q, bool xlzr);
/// \brief How a movement stage accepts a copy: strictly lower cost for movement_xrzl on CTL
/// and QD, else a cost not above the best.
Acceptance movement_acceptance(const CostModel& c, bool xlzr);

}  // namespace line
