#pragma once
// Gate-sequence strings: the letters of the fault-tolerant alphabet and their gates, and the
// matrices with which gates enter the left-to-right product of a string or a window. Shared by
// the sequence cache and the window conversion.
//
// A gate-sequence string holds one letter per fault-tolerant gate, in time order: "H", "T" (T),
// "t" (T_dag), "S" (S), "s" (S_dag), "X", "Z" and "I" (identity); "(" and ")" enclose the
// letters of one composite label of the exhaustive search and stand for no gate.

#include "FaultTolerant/matrix/matrix2.h"
#include "circuit/gate.h"

/// \brief The gate kind of a letter of a gate-sequence string (H, T, t = T_dag, S, s = S_dag,
/// X, Z, I); false for "(", ")" and unknown letters.
bool ft_letter_kind(char letter, Gate_type& kind);

/// \brief True for "(" and ")", which group the letters of a composite label and stand for no
/// gate.
inline bool ft_is_grouping(char letter) {
    return letter == '(' || letter == ')';
}

/// \brief RZ(angle) = diag(e^{-iθ/2}, e^{iθ/2}) with θ = angle π/4 (angle in π/4 units).
Matrix2 ft_rz_matrix(double angle);

/// \brief Matrix with which a one-qubit gate enters the left-to-right product of a window: the
/// transpose of the gate's operator matrix. Angles in π/4. Since every letter of a gate-sequence
/// string is a symmetric matrix, a string whose left-to-right product approximates the product
/// of these matrices, inserted in time order, approximates the window's operator.
/// \return false (and the identity) for a kind without a one-qubit meaning.
bool ft_window_factor(const Gate& gate, Matrix2& factor);
