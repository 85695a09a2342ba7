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

/// \brief The simplify rounds: simplify1, simplify2, simplify1, simplify3, simplify1 on the
/// window, then again on the whole line by the gate count while the whole-line cost falls.
void simplify(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
              KnownCost* known = nullptr);
/// \brief Identities removed, angles brought into [0, 8), and named pairs and rotation
/// neighbours merged or cancelled. Keeps no best copy.
void simplify1(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known = nullptr);
/// \brief Two half-turns about different axes become one half-turn about the third axis.
void simplify2(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known = nullptr);
/// \brief H conjugations of a rotation and the triple families of rotations.
void simplify3(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known = nullptr);

/// \brief The scans of the three stages on the window of an editor the caller owns (which keeps
/// the best copy or not); simplify1_scan returns the phase it gathered, in π, for the caller to
/// add to the line.
GlobalPhase simplify1_scan(LineEditor& ed);
void simplify2_scan(LineEditor& ed);
void simplify3_scan(LineEditor& ed);
/// \brief One simplify round on the window of `ed`, an editor of L: the five scans of
/// simplify, their phases added to L.
void simplify_round_scan(LineEditor& ed, LineOfGates& L);

}  // namespace line
