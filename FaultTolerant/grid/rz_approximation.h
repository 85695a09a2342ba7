#pragma once
// Approximation of one-qubit unitaries by Clifford+T sequences with the number-theoretic method:
// a Z rotation by a grid search for the top-left entry u, the norm equation for the entry t
// below it and exact synthesis of the resulting unitary; any other unitary as Rz·H·Rz·H·Rz with
// a share of the threshold for each rotation. Every result is rebuilt exactly from its letters
// and its distance recomputed in extended precision before it is returned.
//
// Distances are the program's own: d(U, V) = sqrt((2 − |tr(U†V)|) / 2), blind to the global
// phase; for nearby one-qubit unitaries it is the operator-norm distance up to phase over √2.

#include <string>

#include "FaultTolerant/grid/exact_unitary.h"
#include "FaultTolerant/grid/extended_real.h"
#include "FaultTolerant/matrix/matrix2.h"

namespace grid {

/// Finest threshold at which every rotation finds a sequence within the search bounds: single Z
/// rotations reach 1e-21 (at 5e-22 four in ten find none), and a window of several rotations
/// needs each of its three Z rotations within a third of its threshold (at 3e-21 two windows in
/// ten find none, at 6e-21 all do). The conversion refuses finer thresholds before it starts.
constexpr double kFinestReachableThreshold = 1e-20;

/// A 2×2 complex matrix in extended precision.
struct RealMatrix2 {
    Real re[2][2], im[2][2];
};

/// \brief Rz(θ) = diag(e^{−iθ/2}, e^{iθ/2}), θ in radians.
RealMatrix2 rz_matrix(const Real& theta);

/// \brief d(target, u) in extended precision.
Real grid_distance(const RealMatrix2& target, const ExactUnitary& u);

/// \brief d between the left-to-right product of a gate-sequence string and RZ(angle), angle
/// in π/4 units, in extended precision; negative when the string has a letter outside the
/// alphabet.
double ft_sequence_distance_to_rz(const std::string& letters, double angle);

/// Figures of one approximation, for benchmarks and logs.
struct GridStats {
    int level = 0;        // k of the accepted unitary (denominator √2^k)
    int candidates = 0;   // u tried (norm equations attempted)
    int timed_out = 0;    // norm equations given up for time
    long long nodes = 0;  // enumeration steps of the grid search
    bool split = false;   // approximated as two generic rotations (see grid_approximate_rz)
};

/// \brief Letters (H, T, t, S, s, X, Z, time order; "I" for a rotation within the threshold of
/// the identity) whose left-to-right product is within `threshold` of Rz(theta), θ in radians,
/// with about 3·log2(1/threshold) T gates. Deterministic. Angles very close to a multiple of
/// π/4 but not on it (at 1e-10, closer than about 1e-7 rad) make the grid search degenerate (its
/// solutions come in long rows at high levels); when the search runs out of its work bound there,
/// the rotation is approximated as Rz(θ − α)·Rz(α) for a fixed generic α, each to half the
/// threshold (about twice the T count). False when no sequence was found within the bounds (or the
/// threshold is finer than kFinestThreshold).
bool grid_approximate_rz(const Real& theta, double threshold, std::string& letters,
                         GridStats* stats = nullptr);

/// \brief The same for RZ(angle) with the angle in π/4 units (as the circuit holds it).
bool grid_sequence_for_rz(double angle, double threshold, std::string& letters);

/// \brief Letters whose left-to-right product is within `threshold` of the 2×2 unitary
/// `target` up to a global phase: Rz(α)·H·Rz(β)·H·Rz(γ), each rotation to a third of the
/// threshold, the whole checked against the target. False when none was found.
bool grid_sequence_for_matrix(const Matrix2& target, double threshold, std::string& letters);

}  // namespace grid
