#pragma once
// gtest assertions over the test simulator's unitaries, with readable failures.

#include <gtest/gtest.h>

#include "support/unitary.h"

namespace sim {

/// \brief Success when `got` equals `want` exactly (global phase included); the failure names
/// the largest differences and prints both matrices when they are small.
inline testing::AssertionResult exactly_equal(const Unitary& got, const Unitary& want) {
    if (equal_exact(got, want)) return testing::AssertionSuccess();
    testing::AssertionResult r = testing::AssertionFailure();
    r << "max difference " << max_difference(got, want) << " (up to phase "
      << max_difference_up_to_phase(got, want) << ")";
    if (got.dim <= 8) r << "\ngot:\n" << to_string(got) << "want:\n" << to_string(want);
    return r;
}

}  // namespace sim
