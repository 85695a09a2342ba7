#pragma once
// Periodic quantities kept within the range where doubles hold them meaningfully: the global
// phase of a circuit (units of π, period 2: the operator carries e^{iπ·value}) and gate angles
// (units of π/4, period 16 for every gate kind: RX, RY, RZ, RXY, ASQU, CP, GEO and ISWAP by 16
// are the identity).

#include <cmath>

/// A phase in π that never leaves the range of doubles. Every double of magnitude 2^53 or more
/// is an even integer, a phase of 1: such values (and sums that would reach them) are taken
/// modulo 2, exactly, so that repeated additions of huge terms cannot overflow to infinity and
/// the fractional part of the phase is kept. Below 2^53 the value is the plain sum, as a double
/// would hold it.
class GlobalPhase {
  public:
    GlobalPhase() = default;
    GlobalPhase(double value) : value_(reduced(value)) {}  // NOLINT: stands for a double

    operator double() const { return value_; }  // NOLINT: reads as a double

    /// \brief Adds `x` (in π).
    GlobalPhase& operator+=(double x) {
        const double sum = value_ + x;
        // NOTE: both remainders are exact and below 2 in magnitude; their sum keeps the
        // fractional parts to double precision.
        value_ = std::fabs(sum) < kWrap ? sum : std::fmod(value_, 2.0) + std::fmod(x, 2.0) + 0.0;
        return *this;
    }
    /// \brief Subtracts `x` (in π).
    GlobalPhase& operator-=(double x) { return *this += -x; }

  private:
    static constexpr double kWrap = 9007199254740992.0;  // 2^53

    // "+ 0.0" turns the -0.0 that fmod gives a negative even number into 0.
    static double reduced(double x) { return std::fabs(x) < kWrap ? x : std::fmod(x, 2.0) + 0.0; }

    double value_ = 0.0;
};

/// \brief The angle `a` (π/4 units) taken modulo 16 once its magnitude reaches 2^53, where
/// doubles are even integers and adding a fraction to them is lost; the same gate exactly. Any
/// smaller angle is returned as it is.
inline double reduced_angle(double a) {
    constexpr double kWrap = 9007199254740992.0;  // 2^53
    return std::fabs(a) < kWrap ? a : std::fmod(a, 16.0) + 0.0;
}
