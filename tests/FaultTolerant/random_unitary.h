#pragma once
// Random one-qubit unitaries for the tests of the 2x2 matrix and the exhaustive search.

#include <cmath>
#include <complex>
#include <random>

#include "FaultTolerant/matrix/matrix2.h"

namespace fttest {

enum class GlobalPhase { None, Random };

/// Haar-like random unitary: a random unit quaternion as an SU(2) matrix [[a, -b̄], [b, ā]],
/// times a random phase e^{iφ}, φ in [0, 6), when asked for.
inline Matrix2 random_u2(std::mt19937& rng, GlobalPhase phase) {
    std::normal_distribution<double> g;
    double q[4];
    double n = 0;
    for (double& x : q) {
        x = g(rng);
        n += x * x;
    }
    n = std::sqrt(n);
    using cd = std::complex<double>;
    const cd a(q[0] / n, q[1] / n), b(q[2] / n, q[3] / n);
    const cd p = phase == GlobalPhase::Random
                     ? std::polar(1.0, std::uniform_real_distribution<double>(0, 6)(rng))
                     : cd(1);
    return matrix2_of(p * a, -p * std::conj(b), p * b, p * std::conj(a));
}

}  // namespace fttest
