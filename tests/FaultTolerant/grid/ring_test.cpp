// Exact ring arithmetic of Z[√2] and Z[ω]: identities checked by hand, and the algebraic laws
// (conjugations are homomorphisms, norms multiply, division and gcd are exact) over every
// element with small coordinates, against the complex values computed in doubles.

#include "FaultTolerant/grid/ring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

using namespace grid;

namespace {

std::complex<double> value(const ZOmega& x) {
    double re, im;
    x.to_double(re, im);
    return {re, im};
}

std::vector<ZOmega> random_elements(int count, int range, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(-range, range);
    std::vector<ZOmega> v;
    for (int i = 0; i < count; ++i) v.push_back(ZOmega{d(rng), d(rng), d(rng), d(rng)});
    return v;
}

}  // namespace

TEST(RingByHand, OmegaPowersAndRoot2) {
    const ZOmega one{1, 0, 0, 0}, omega{0, 1, 0, 0};
    EXPECT_EQ(zomega_times_omega_power(one, 8), one);
    EXPECT_EQ(zomega_times_omega_power(one, 4), -one);
    EXPECT_EQ(zomega_times_omega_power(omega, -1), one);
    const ZOmega root2(ZRoot2(0, 1));
    EXPECT_EQ(root2 * root2, ZOmega(ZRoot2(2, 0)));
    EXPECT_EQ(root2, omega - zomega_times_omega_power(one, 3));  // √2 = ω − ω³
    // λ = 1 + √2 is a unit with inverse √2 − 1, and its conjugate is −1/λ.
    EXPECT_EQ(zroot2_lambda() * zroot2_lambda_inverse(), ZRoot2(1, 0));
    EXPECT_EQ(zroot2_lambda().norm(), -1);
    // (1 + ω)†(1 + ω) = 2 + √2.
    EXPECT_EQ(ZOmega(1, 1, 0, 0).norm_sq(), ZRoot2(2, 1));
}

TEST(RingByHand, SignAndDoublePositivity) {
    EXPECT_EQ(ZRoot2(3, -2).sign(), 1);  // 3 − 2.83
    EXPECT_EQ(ZRoot2(-3, 2).sign(), -1);
    EXPECT_EQ(ZRoot2(2, -2).sign(), -1);  // 2 − 2.83
    EXPECT_TRUE(ZRoot2(3, 2).doubly_positive());
    EXPECT_FALSE(ZRoot2(1, 1).doubly_positive());  // λ• = 1 − √2 < 0
    EXPECT_TRUE(ZRoot2(0, 0).doubly_positive());
}

TEST(RingByHand, RoundingDivision) {
    EXPECT_EQ(floor_div(-7, 2), -4);
    EXPECT_EQ(floor_div(7, -2), -4);
    EXPECT_EQ(round_div(-7, 2), -3);  // −3.5 rounds up
    EXPECT_EQ(round_div(5, 3), 2);
    EXPECT_EQ(round_div(-5, 3), -2);
}

TEST(RingLaws, ConjugationsAndNormsAgreeWithComplexValues) {
    const auto xs = random_elements(60, 6, 1);
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const ZOmega& x = xs[i];
        const ZOmega& y = xs[i + 1];
        EXPECT_LT(std::abs(value(x * y) - value(x) * value(y)), 1e-9);
        EXPECT_LT(std::abs(value(x.conj()) - std::conj(value(x))), 1e-12);
        EXPECT_EQ((x * y).conj2(), x.conj2() * y.conj2());
        EXPECT_EQ((x * y).norm(), x.norm() * y.norm());
        EXPECT_NEAR(x.norm_sq().to_double(), std::norm(value(x)), 1e-9);
        EXPECT_GE(x.norm(), 0);
    }
}

TEST(RingLaws, ExactDivisionAndRoot2) {
    const auto xs = random_elements(80, 5, 2);
    const ZOmega root2(ZRoot2(0, 1));
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const ZOmega& x = xs[i];
        const ZOmega& y = xs[i + 1];
        ZOmega q;
        if (!y.is_zero()) {
            ASSERT_TRUE(zomega_divide_exact(x * y, y, q));
            EXPECT_EQ(q, x);
        }
        EXPECT_TRUE(zomega_divisible_by_root2(x * root2));
        EXPECT_EQ(zomega_div_root2(x * root2), x);
        // Divisible exactly when the quotient exists in the ring.
        EXPECT_EQ(zomega_divisible_by_root2(x), zomega_divide_exact(x, root2, q));
    }
}

TEST(RingLaws, GcdDividesBothAndKeepsCommonFactors) {
    const auto xs = random_elements(60, 4, 3);
    for (size_t i = 0; i + 2 < xs.size(); i += 3) {
        const ZOmega common = xs[i];
        if (common.is_zero()) continue;
        const ZOmega a = common * xs[i + 1], b = common * xs[i + 2];
        ZOmega g, q;
        ASSERT_TRUE(zomega_gcd(a, b, g));
        if (a.is_zero() && b.is_zero()) continue;
        EXPECT_TRUE(zomega_divide_exact(a, g, q)) << a.to_string() << " " << g.to_string();
        EXPECT_TRUE(zomega_divide_exact(b, g, q));
        EXPECT_TRUE(zomega_divide_exact(g, common, q));
    }
    // Z[√2]: gcd(p, x + √2) splits 7 = (3 + √2)(3 − √2).
    const ZRoot2 eta = zroot2_gcd(ZRoot2(7, 0), ZRoot2(3, 1));
    EXPECT_EQ(abs(eta.norm()), 7);
}

TEST(RingLaws, Root2ValuationMatchesRepeatedDivision) {
    for (int a = -12; a <= 12; ++a)
        for (int b = -12; b <= 12; ++b) {
            const ZRoot2 x(a, b);
            if (x.is_zero()) continue;
            int v = 0;
            ZRoot2 y = x, q;
            while (zroot2_divide_exact(y, ZRoot2(0, 1), q)) {
                y = q;
                ++v;
            }
            EXPECT_EQ(zroot2_root2_valuation(x), v) << x.to_string();
            EXPECT_EQ(x.sign(), (x.to_double() > 0) - (x.to_double() < 0));
        }
}
