#pragma once
// The norm equation t† t = ξ over Z[ω], for ξ in Z[√2]: the step that completes the first
// column (u, t) of an exact unitary once u is chosen.

#include "FaultTolerant/grid/ring.h"

namespace grid {

enum class NormEquation {
    Solved,      // t† t = ξ exactly
    Unsolvable,  // no t exists (ξ not doubly positive, or a prime over p ≡ 7 mod 8 to an odd power)
    TimedOut     // factoring N(ξ) did not finish within the budget
};

/// \brief Solves t† t = ξ. `budget` bounds the Pollard rho iterations spent on each composite
/// cofactor of N(ξ); a cofactor that does not split in time gives TimedOut. Deterministic.
NormEquation solve_norm_equation(const ZRoot2& xi, int budget, ZOmega& t);

}  // namespace grid
