#pragma once
// The extended-precision reals of the number-theoretic synthesis. Software floating point, so
// every result is the same on every machine. 80 significant digits cover thresholds down to
// about 1e-25: the search needs roughly 2·log10(1/ε) + 20 digits (the region's axes differ by a
// factor 1/ε, and the points have about 1.5·log10(1/ε) digits), and the final distance check
// needs 2·log10(1/ε) + a few.

#include <boost/math/constants/constants.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

namespace grid {

using Real = boost::multiprecision::number<boost::multiprecision::cpp_bin_float<80>,
                                           boost::multiprecision::et_off>;

/// \brief Finest threshold (the program's distance) that the precision of Real supports.
constexpr double kFinestThreshold = 1e-25;

/// \brief π in the precision of Real.
inline Real real_pi() {
    return boost::math::constants::pi<Real>();
}

}  // namespace grid
