// Number-theoretic approximation: distance and T count over random and special angles at
// thresholds from 1e-2 to 1e-15, checked with an evaluation of the letters in 50-digit
// arithmetic that shares no code with the synthesis; reproducibility; general unitaries.

#include "FaultTolerant/grid/rz_approximation.h"

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <complex>
#include <random>

#include "support/gate_sequences.h"

using namespace grid;

namespace {

using Float = boost::multiprecision::cpp_bin_float_50;

struct C {
    Float re, im;
};
C mul(const C& a, const C& b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
C add(const C& a, const C& b) {
    return {a.re + b.re, a.im + b.im};
}

struct M2 {
    C m[2][2];
};

M2 product(const M2& a, const M2& b) {
    M2 p;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            p.m[r][c] = add(mul(a.m[r][0], b.m[0][c]), mul(a.m[r][1], b.m[1][c]));
    return p;
}

M2 diag(const C& a, const C& b) {
    return {{{a, {0, 0}}, {{0, 0}, b}}};
}

/// Left-to-right product of the letters, in 50 digits.
M2 letters_matrix(const std::string& letters) {
    const Float pi = boost::math::constants::pi<Float>();
    const Float r = sqrt(Float(2)) / 2;
    M2 p = diag({1, 0}, {1, 0});
    for (char c : letters) {
        M2 g;
        switch (c) {
            case 'H':
                g = {{{{r, 0}, {r, 0}}, {{r, 0}, {-r, 0}}}};
                break;
            case 'T':
                g = diag({1, 0}, {cos(pi / 4), sin(pi / 4)});
                break;
            case 't':
                g = diag({1, 0}, {cos(pi / 4), -sin(pi / 4)});
                break;
            case 'S':
                g = diag({1, 0}, {0, 1});
                break;
            case 's':
                g = diag({1, 0}, {0, -1});
                break;
            case 'Z':
                g = diag({1, 0}, {-1, 0});
                break;
            case 'X':
                g = {{{{0, 0}, {1, 0}}, {{1, 0}, {0, 0}}}};
                break;
            case 'I':
                continue;
            default:
                ADD_FAILURE() << "letter " << c;
                continue;
        }
        p = product(p, g);
    }
    return p;
}

/// sqrt((2 − |tr(target† P)|)/2) with target given by its entries.
double distance(const M2& target, const M2& p) {
    C tr{0, 0};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            tr = add(tr, mul({target.m[r][c].re, -target.m[r][c].im}, p.m[r][c]));
    const Float d2 = (2 - sqrt(tr.re * tr.re + tr.im * tr.im)) / 2;
    return d2 > 0 ? static_cast<double>(sqrt(d2)) : 0.0;
}

M2 rz(const Float& theta) {
    return diag({cos(theta / 2), -sin(theta / 2)}, {cos(theta / 2), sin(theta / 2)});
}

const double kPi = 3.14159265358979323846;

}  // namespace

class GridRzAccuracy : public testing::TestWithParam<double> {};

TEST_P(GridRzAccuracy, WithinThresholdWithNearOptimalTCount) {
    const double eps = GetParam();
    const Float pi = boost::math::constants::pi<Float>();
    // Special angles (radians): 0, multiples of π/4, a billionth of a turn, near ±π.
    const Float special[] = {0,
                             pi / 4,
                             pi / 2,
                             -3 * pi / 4,
                             pi,
                             -pi,
                             2 * pi * Float(1e-9),
                             pi - Float(1e-7),
                             -pi + Float(1e-7),
                             Float(1e-12)};
    for (const Float& theta : special) {
        std::string letters;
        ASSERT_TRUE(grid_approximate_rz(Real(theta), eps, letters)) << theta;
        EXPECT_LE(distance(rz(theta), letters_matrix(letters)), eps) << theta << " " << letters;
    }
    // Random angles: the mean T count in the operator norm ε_op = √2·ε.
    std::mt19937 rng(static_cast<unsigned>(-std::log10(eps)));
    std::uniform_real_distribution<double> angle(-kPi, kPi);
    const int count = 12;
    double total = 0;
    for (int i = 0; i < count; ++i) {
        const Float theta = angle(rng);
        std::string letters;
        ASSERT_TRUE(grid_approximate_rz(Real(theta), eps, letters)) << theta;
        EXPECT_LE(distance(rz(theta), letters_matrix(letters)), eps) << theta << " " << letters;
        total += t_count(letters);
    }
    const double bound = 3 * std::log2(1 / (std::sqrt(2.0) * eps));
    EXPECT_LE(total / count, bound + 6) << "mean T count";
    EXPECT_GE(total / count, bound - 10) << "mean T count below the lower bound: wrong distance?";
}

INSTANTIATE_TEST_SUITE_P(Thresholds, GridRzAccuracy,
                         testing::Values(1e-2, 1e-4, 1e-6, 1e-10, 1e-15));

TEST(GridRz, SameAngleAndThresholdGiveTheSameSequence) {
    std::string a, b, c;
    ASSERT_TRUE(grid_sequence_for_rz(0.3183, 1e-8, a));
    ASSERT_TRUE(grid_sequence_for_rz(0.3183, 1e-8, b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(grid_sequence_for_rz(0.3183, 1e-3, c));
    EXPECT_LT(t_count(c), t_count(a));
}

TEST(GridRz, ExactRotationsNeedNoApproximation) {
    // RZ(1) is T up to phase and RZ(2) is S: found exactly at any threshold.
    std::string letters;
    ASSERT_TRUE(grid_sequence_for_rz(1, 1e-12, letters));
    EXPECT_EQ(t_count(letters), 1) << letters;
    ASSERT_TRUE(grid_sequence_for_rz(2, 1e-12, letters));
    EXPECT_EQ(t_count(letters), 0) << letters;
    ASSERT_TRUE(grid_sequence_for_rz(0, 1e-12, letters));
    EXPECT_EQ(letters, "I");
}

TEST(GridRz, RefusesThresholdsOutsideItsRange) {
    std::string letters;
    EXPECT_FALSE(grid_sequence_for_rz(0.3, 0, letters));
    EXPECT_FALSE(grid_sequence_for_rz(0.3, -1e-3, letters));
    EXPECT_FALSE(grid_sequence_for_rz(0.3, 1e-30, letters));
    EXPECT_FALSE(grid_sequence_for_rz(std::nan(""), 1e-3, letters));
}

TEST(GridRz, SequenceDistanceMatchesIndependentEvaluation) {
    std::string letters;
    ASSERT_TRUE(grid_sequence_for_rz(-0.77, 1e-9, letters));
    const double d = ft_sequence_distance_to_rz(letters, -0.77);
    EXPECT_NEAR(d,
                distance(rz(Float(-0.77) * boost::math::constants::pi<Float>() / 4),
                         letters_matrix(letters)),
                1e-18);
    EXPECT_LT(ft_sequence_distance_to_rz("Q", 0.1), 0);
}

TEST(GridUnitary, RandomUnitariesWithinThreshold) {
    std::mt19937 rng(11);
    std::normal_distribution<double> g;
    for (double eps : {1e-2, 1e-6}) {
        for (int i = 0; i < 6; ++i) {
            // A random unitary with a random phase: the columns of a Gram-Schmidt of random
            // complex vectors.
            std::complex<double> a(g(rng), g(rng)), b(g(rng), g(rng));
            const double n = std::sqrt(std::norm(a) + std::norm(b));
            a /= n;
            b /= n;
            const std::complex<double> phase = std::polar(1.0, g(rng));
            Matrix2 m;
            m(0, 0) = phase * a;
            m(0, 1) = phase * b;
            m(1, 0) = -phase * std::conj(b);
            m(1, 1) = phase * std::conj(a);
            std::string letters;
            ASSERT_TRUE(grid_sequence_for_matrix(m, eps, letters));
            M2 target;
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 2; ++c) target.m[r][c] = {m(r, c).real(), m(r, c).imag()};
            EXPECT_LE(distance(target, letters_matrix(letters)), eps * (1 + 1e-9)) << letters;
        }
    }
    Matrix2 zero;
    std::string letters;
    EXPECT_FALSE(grid_sequence_for_matrix(zero, 1e-3, letters));
}
