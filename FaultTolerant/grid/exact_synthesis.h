#pragma once
// Exact synthesis: the shortest Clifford+T circuit (fewest T) of an exact unitary.

#include <string>

#include "FaultTolerant/grid/exact_unitary.h"

namespace grid {

/// \brief Letters (H, T, t, S, s, X, Z; "" for the identity) whose left-to-right product equals
/// `u` up to a power of ω, with the least number of T gates: each step peels one layer T^j H
/// off the left while it lowers the denominator exponent of |u00|², and a table of the
/// unitaries with at most one T gate ends the walk. False when `u` is not a Clifford+T
/// unitary (its entries do not form one). Cost O(k) steps of exact arithmetic.
bool exact_synthesis(const ExactUnitary& u, std::string& letters);

}  // namespace grid
