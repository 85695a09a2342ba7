#pragma once
// Rational integer number theory for the norm equation: probable primes, bounded factoring and
// square roots modulo a prime. Every loop has a fixed bound; all choices are deterministic.

#include <utility>
#include <vector>

#include "FaultTolerant/grid/ring.h"

namespace grid {

/// One prime factor with its exponent.
using PrimePower = std::pair<Integer, int>;

/// \brief Miller-Rabin with the first twelve primes as bases: exact below 3.3·10²⁴ and a
/// probable-prime test beyond.
bool is_probable_prime(const Integer& n);

/// \brief A non-trivial factor of the odd composite n by Pollard's rho (Brent's cycle
/// finding) within `budget` iterations per seed; false when the budget runs out.
bool pollard_rho(const Integer& n, int budget, Integer& factor);

/// \brief The prime factorisation of n ≥ 1 (ascending primes): trial division by small primes,
/// then probable-prime tests and Pollard's rho within `budget`; false when a cofactor could not
/// be split in time.
bool factor_integer(Integer n, int budget, std::vector<PrimePower>& factors);

/// \brief r with r² ≡ a (mod p) for an odd prime p (Tonelli-Shanks); false when a is not a
/// square modulo p.
bool sqrt_mod_prime(const Integer& a, const Integer& p, Integer& root);

}  // namespace grid
