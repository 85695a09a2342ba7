// The norm equation t† t = ξ: hand cases, and every ξ with small coordinates against a brute
// force over all t that could solve it (t† t = ξ bounds the coordinates of t: their squares sum
// to the rational part of ξ).

#include "FaultTolerant/grid/norm_equation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace grid;

namespace {

/// True when some t in Z[ω] has t† t = ξ, by trying every t with coordinates up to sqrt(a).
bool brute_force_solvable(const ZRoot2& xi) {
    const int bound = static_cast<int>(std::sqrt(static_cast<double>(xi.a))) + 1;
    for (int c0 = -bound; c0 <= bound; ++c0)
        for (int c1 = -bound; c1 <= bound; ++c1)
            for (int c2 = -bound; c2 <= bound; ++c2)
                for (int c3 = -bound; c3 <= bound; ++c3)
                    if (ZOmega(c0, c1, c2, c3).norm_sq() == xi) return true;
    return false;
}

}  // namespace

TEST(NormEquationByHand, KnownCases) {
    ZOmega t;
    // 2 + √2 = |1 + ω|²; 5 = |2 + i|²; 3 = |1 + i√2|²; 7 is a norm only squared (7 ≡ 7 mod 8).
    for (const ZRoot2& xi : {ZRoot2(2, 1), ZRoot2(5, 0), ZRoot2(3, 0), ZRoot2(49, 0), ZRoot2(1, 0),
                             ZRoot2(0, 0), ZRoot2(17, 0)}) {
        ASSERT_EQ(solve_norm_equation(xi, 1000, t), NormEquation::Solved) << xi.to_string();
        EXPECT_EQ(t.norm_sq(), xi);
    }
    EXPECT_EQ(solve_norm_equation(ZRoot2(7, 0), 1000, t), NormEquation::Unsolvable);
    EXPECT_EQ(solve_norm_equation(ZRoot2(1, 1), 1000, t), NormEquation::Unsolvable);  // λ• < 0
    EXPECT_EQ(solve_norm_equation(ZRoot2(-2, 0), 1000, t), NormEquation::Unsolvable);
}

TEST(NormEquation, SmallXiAgainstBruteForce) {
    int solved = 0, unsolvable = 0;
    for (int a = 0; a <= 16; ++a)
        for (int b = -11; b <= 11; ++b) {
            const ZRoot2 xi(a, b);
            if (!xi.doubly_positive()) continue;
            ZOmega t;
            const NormEquation r = solve_norm_equation(xi, 100000, t);
            ASSERT_NE(r, NormEquation::TimedOut) << xi.to_string();
            EXPECT_EQ(r == NormEquation::Solved, brute_force_solvable(xi)) << xi.to_string();
            if (r == NormEquation::Solved) {
                EXPECT_EQ(t.norm_sq(), xi) << xi.to_string();
                ++solved;
            } else {
                ++unsolvable;
            }
        }
    EXPECT_GT(solved, 30);
    EXPECT_GT(unsolvable, 10);
}

TEST(NormEquation, LargeProductsOfSolvableNorms) {
    // ξ = s† s for products s of many small elements: always solvable, with factors of every
    // residue class mod 8 and high multiplicities; the solution has the same squared modulus
    // (though it need not equal s).
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> d(-2, 2);
    for (int round = 0; round < 12; ++round) {
        ZOmega s{1, 0, 0, 0};
        for (int i = 0; i < 10; ++i) {
            const ZOmega f{d(rng), d(rng), d(rng), d(rng)};
            if (!f.is_zero()) s = s * f;
        }
        const ZRoot2 xi = s.norm_sq();
        ZOmega t;
        ASSERT_EQ(solve_norm_equation(xi, 100000, t), NormEquation::Solved) << xi.to_string();
        EXPECT_EQ(t.norm_sq(), xi);
    }
    // A prime over p ≡ 7 (mod 8) to an odd power has no solution, even beside solvable factors.
    ZOmega t;
    EXPECT_EQ(solve_norm_equation(ZRoot2(7 * 17 * 5, 0), 1000, t), NormEquation::Unsolvable);
    ASSERT_EQ(solve_norm_equation(ZRoot2(49 * 17 * 5, 0), 1000, t), NormEquation::Solved);
    EXPECT_EQ(t.norm_sq(), ZRoot2(49 * 17 * 5, 0));
}
