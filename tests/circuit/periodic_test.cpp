// The global phase keeps the plain double sum below 2^53 and never overflows above it.

#include "circuit/periodic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(GlobalPhase, BelowTwoToTheFiftyThreeItIsThePlainSum) {
    const std::vector<double> terms = {0.5, -0.125, 1e15, 0.25, -3e15, 1.0 / 3, 4e15, -0.75};
    GlobalPhase phase;
    double plain = 0;
    for (double x : terms) {
        phase += x;
        plain += x;
        EXPECT_EQ(static_cast<double>(phase), plain);
    }
    phase -= 0.5;
    EXPECT_EQ(static_cast<double>(phase), plain - 0.5);
    EXPECT_EQ(static_cast<double>(GlobalPhase(-1e15)), -1e15);
}

TEST(GlobalPhase, HugeTermsNeitherOverflowNorLoseTheFraction) {
    // Every double of magnitude 2^53 or more is an even number of half turns: a phase of 0 mod 2.
    GlobalPhase phase = 0.375;
    for (int i = 0; i < 10; ++i) phase += 1.7e308;
    EXPECT_TRUE(std::isfinite(phase));
    EXPECT_EQ(static_cast<double>(phase), 0.375);
    for (int i = 0; i < 10; ++i) phase -= 1.7e308;
    EXPECT_EQ(static_cast<double>(phase), 0.375);
    // A header phase near the double limit is a whole number of turns.
    GlobalPhase header = 1.7e308;
    EXPECT_EQ(static_cast<double>(header), 0.0);
    EXPECT_FALSE(std::signbit(static_cast<double>(GlobalPhase(-1.7e308))));
    // Two terms below the wrap whose sum reaches it: the sum is taken mod 2, and the half turn
    // that the plain sum (1.2e16 + 0.5, not a double) would round away is kept.
    GlobalPhase near = 8e15;
    near += 4e15 + 0.5;
    EXPECT_EQ(static_cast<double>(near), 0.5);
}

}  // namespace

namespace {

TEST(ReducedAngle, HugeAnglesAreTheSameGateModSixteenAndSmallOnesUntouched) {
    for (double a : {0.3, -7.5, 15.999, 1e15, -8e15 + 0.5}) EXPECT_EQ(reduced_angle(a), a);
    // 1.7e308 and 2^53 + 8 are multiples of 8 but not all of 16: RZ(8) = -I, RZ(16) = I.
    EXPECT_EQ(reduced_angle(1.7e308), std::fmod(1.7e308, 16.0));
    EXPECT_EQ(reduced_angle(9007199254740992.0 + 8), 8.0);
    EXPECT_EQ(reduced_angle(-9007199254740992.0 - 24), -8.0);
    EXPECT_FALSE(std::signbit(reduced_angle(-9007199254740992.0 * 4)));
}

}  // namespace
