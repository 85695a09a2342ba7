#pragma once
// Solovay-Kitaev approximation of a one-qubit unitary by a sequence of H, T and T_dag gates.

#include <string>

#include "FaultTolerant/matrix/matrix2.h"
#include "FaultTolerant/pelmar/net.h"

/// \brief Approximates the 2x2 unitary U by a gate-sequence string over "H", "T", "t" with the
/// Solovay-Kitaev recursion to the given depth (0 = the epsilon net's nearest sequence).
/// The string's left-to-right product approximates U up to a global phase. Returns "" when no
/// approximation could be made (the error is printed as "*** ERROR: ...").
std::string ftpelmar(Matrix2 U, int depth);

/// \brief The epsilon net ftpelmar uses: gates "H" (i H) and "T" (Rz(pi/4)) and their inverse
/// "t", all sequences up to 14 gates, tile width 0.18. Built on first use, then shared.
Net& ftpelmar_net();
