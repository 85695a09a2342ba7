#pragma once
// One-qubit line reduction: the stage operations behind GraphCircuit::reduce1Qgate and their
// window forms, as free functions that take the editing strategy (see line_editor.h). The
// GraphCircuit members forward to these with Strategy::Incremental; tests run them with
// Strategy::Literal as the reference.
//
// Windows: from = to = -1 is the whole line between IN and OUT; otherwise the records from the
// one whose index is `from` (included) to the one whose index is `to` (excluded), where those
// two records are the line's anchors (two-qubit records or markers). Cost modes: 0 gate count,
// 1 cycles, 2 logical operations, 3 logical cycles. Angles in π/4, phases in π.
//
// `known` (optional, see KnownCost): the whole-line window cost handed along by the pass, so
// that no stage sums it again; callers outside the pass leave it out.

#include "circuit/gate.h"
#include "optimise/line_editor.h"

class GraphCircuit;

namespace line {

/// \brief simplify1, simplify2, simplify1, simplify3, simplify1; repeated over the whole line
/// with mode 0 while the whole-line cost falls.
void simplify(GraphCircuit& c, LineOfGates& L, int from, int to, int mode, Strategy s,
              KnownCost* known = nullptr);
/// \brief Removes identities, normalises rotation angles into [0, 8) and merges or cancels
/// neighbours. Keeps no best copy.
void simplify1(GraphCircuit& c, LineOfGates& L, int from, int to, int mode, Strategy s,
               KnownCost* known = nullptr);
/// \brief Two half-turns about different axes become one half-turn about the third axis.
void simplify2(GraphCircuit& c, LineOfGates& L, int from, int to, int mode, Strategy s,
               KnownCost* known = nullptr);
/// \brief H conjugations of a rotation and the triple families of rotations.
void simplify3(GraphCircuit& c, LineOfGates& L, int from, int to, int mode, Strategy s,
               KnownCost* known = nullptr);
/// \brief Moves X rotations left and Z rotations right through one-qubit records.
void interchange_xlzr(GraphCircuit& c, LineOfGates& L, int from, int to, int mode, Strategy s,
                      KnownCost* known = nullptr);
/// \brief Moves X rotations right and Z rotations left through one-qubit records.
void interchange_xrzl(GraphCircuit& c, LineOfGates& L, int from, int to, int mode, Strategy s,
                      KnownCost* known = nullptr);
/// \brief Moves RX records left through CNOT targets and RZ records right through
/// Z-transparent two-qubit records of line q.
void movement_xlzr(GraphCircuit& c, int q, LineOfGates& L, int from, int to, int mode, Strategy s,
                   KnownCost* known = nullptr);
/// \brief Moves RX records right through CNOT targets and RZ records left through
/// Z-transparent two-qubit records of line q.
void movement_xrzl(GraphCircuit& c, int q, LineOfGates& L, int from, int to, int mode, Strategy s,
                   KnownCost* known = nullptr);
/// \brief The whole pass over every line (GraphCircuit::reduce1Qgate).
void reduce_lines(GraphCircuit& c, Strategy s);

}  // namespace line
