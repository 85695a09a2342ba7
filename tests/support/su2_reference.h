#pragma once
// Helpers shared by the Solovay-Kitaev tests: independent matrices of the gate letters and
// distances up to a global phase.

#include <complex>
#include <random>
#include <string>

#include "FaultTolerant/matrix/matrix2.h"

namespace pelmar_test {

/// Left-to-right product of a gate-sequence string, built from the circuit simulator's own
/// H, T and T_dag matrices (not from the net's gate set).
Matrix2 independent_product(const std::string& seq);

/// The SU(2) member of the phase class of a unitary 2x2 matrix (divided by sqrt(det)).
Matrix2 to_su2(const Matrix2& U);

/// proj_trace_dist of the SU(2) forms: the distance up to a global phase.
double phase_free_dist(const Matrix2& A, const Matrix2& B);

/// Rz(theta) = diag(e^(-i theta/2), e^(i theta/2)), theta in radians.
Matrix2 rz(double theta);

/// A random SU(2) matrix (rotation angle up to 2 pi about a random axis).
Matrix2 random_su2(std::mt19937& rng);

}  // namespace pelmar_test
