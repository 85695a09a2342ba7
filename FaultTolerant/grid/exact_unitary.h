#pragma once
// Exact Clifford+T unitaries: 2×2 matrices with entries in Z[ω] over a common power √2^k, the
// form in which sequences are built, rebuilt from letters and compared.

#include <array>
#include <string>

#include "FaultTolerant/grid/ring.h"

namespace grid {

/// (1/√2^k) [[m00, m01], [m10, m11]], entries in Z[ω].
struct ExactUnitary {
    ZOmega m[2][2];
    int k = 0;

    /// \brief The identity.
    static ExactUnitary identity();
    /// \brief Divides the entries by √2 while all of them allow it (the least k).
    void reduce();
    /// \brief Conjugate transpose.
    ExactUnitary adjoint() const;
    /// \brief True when m† m = 2^k I (the entries form a unitary).
    bool is_unitary() const;
};

/// \brief Product a × b, reduced.
ExactUnitary operator*(const ExactUnitary& a, const ExactUnitary& b);

/// \brief The matrix of one letter of a gate-sequence string (H, T, t, S, s, X, Z, I); false
/// for any other character.
bool exact_letter(char letter, ExactUnitary& u);

/// \brief Left-to-right product of the letters of a gate-sequence string ("(" and ")" skipped);
/// false on a character outside the alphabet.
bool exact_from_letters(const std::string& letters, ExactUnitary& u);

/// A key equal for two unitaries exactly when they differ by a power of ω (the global phases
/// that Clifford+T products can carry): the least k and the sixteen coordinates of the
/// entries, turned by the power of ω that makes the first non-zero entry least.
struct PhaseKey {
    int k = 0;
    std::array<Integer, 16> c;
};
bool operator<(const PhaseKey& a, const PhaseKey& b);
bool operator==(const PhaseKey& a, const PhaseKey& b);

/// \brief The phase key of u.
PhaseKey exact_phase_key(const ExactUnitary& u);

/// \brief True when a = ω^j b for some j.
bool exact_equal_up_to_phase(const ExactUnitary& a, const ExactUnitary& b);

/// \brief Smallest denominator exponent of |m00|², over √2: 2k minus the number of factors √2
/// of m00† m00 (0 when m00 = 0). It falls by one with each T layer of a shortest circuit.
int exact_sde_top_left(const ExactUnitary& u);

/// \brief Number of T and T_dag letters ("T", "t") of a gate-sequence string.
int t_count(const std::string& letters);

}  // namespace grid
