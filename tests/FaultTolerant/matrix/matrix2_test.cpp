// The shared 2x2 complex matrix: its layout, its one product (whose rounding every search and the
// window conversion rely on), inverse, determinant and the phase-blind distance.
#include "FaultTolerant/matrix/matrix2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

#include "FaultTolerant/random_unitary.h"

namespace {

using cd = std::complex<double>;

Matrix2 random_matrix(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-2, 2);
    Matrix2 m;
    for (cd& x : m.e) x = cd(u(rng), u(rng));
    return m;
}

void expect_near(const Matrix2& a, const Matrix2& b, double tol = 1e-12) {
    for (int k = 0; k < 4; ++k) EXPECT_LT(std::abs(a.e[k] - b.e[k]), tol) << "entry " << k;
}

TEST(Matrix2Test, LayoutIsRowMajorWithInterleavedParts) {
    Matrix2 m = matrix2_of({1, 2}, {3, 4}, {5, 6}, {7, 8});
    const double* raw = reinterpret_cast<const double*>(m.e);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(raw[k], k + 1);
    EXPECT_EQ(m(1, 0), cd(5, 6));
    EXPECT_EQ(Matrix2(), matrix2_of(0, 0, 0, 0));
    EXPECT_EQ(m.Transpose(), matrix2_of({1, 2}, {5, 6}, {3, 4}, {7, 8}));
    EXPECT_EQ(m.Adjoint(), matrix2_of({1, -2}, {5, -6}, {3, -4}, {7, -8}));
}

// The product must round exactly as the dense complex product the conversion always used:
// each entry summed from zero, term by term, with std::complex arithmetic.
TEST(Matrix2Test, ProductRoundsAsTheComplexSumFromZero) {
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i) {
        const Matrix2 a = random_matrix(rng), b = random_matrix(rng);
        const Matrix2 p = a * b;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) {
                cd expected = 0;
                for (int k = 0; k < 2; ++k) expected += a(r, k) * b(k, c);
                EXPECT_EQ(p(r, c), expected) << r << c;
            }
    }
    // Terms that are both -0 sum to +0 (a later square root of the determinant depends on it).
    const Matrix2 z =
        matrix2_of({-0.0, -0.0}, 0.0, 0.0, 1.0) * matrix2_of({1.0, 0.0}, 0.0, 0.0, 1.0);
    EXPECT_FALSE(std::signbit(z(0, 0).real()));
    EXPECT_FALSE(std::signbit(z(0, 0).imag()));
}

TEST(Matrix2Test, InverseDeterminantAndScalar) {
    const Matrix2 id = matrix2_identity();
    const Matrix2 a = matrix2_of({1, 2}, {3, -1}, {0, 1}, {2, 2});
    expect_near(a * minv(a), id);
    expect_near(minv(a) * a, id);
    EXPECT_EQ(matrix2_of(1, 2, 3, 4).Determinant(), cd(-2));
    EXPECT_EQ(matrix2_of(0, 2, 3, 4).Determinant(), cd(-6));  // pivoting swaps the rows
    EXPECT_EQ(matrix2_of(0, 2, 0, 4).Determinant(), cd(0));
    EXPECT_EQ(cd(0, 1) * id, matrix2_of(cd(0, 1), 0, 0, cd(0, 1)));
    std::mt19937 rng(3);
    for (int i = 0; i < 20; ++i) {
        const Matrix2 u = fttest::random_u2(rng, fttest::GlobalPhase::Random);
        expect_near(minv(u) * u, id);
        expect_near(u.Adjoint() * u, id);
        EXPECT_NEAR(std::abs(u.Determinant()), 1.0, 1e-12);
    }
}

TEST(Matrix2Test, DistanceIsPhaseBlindBoundedAndInvariant) {
    const Matrix2 id = matrix2_identity();
    EXPECT_DOUBLE_EQ(md_tri(id, matrix2_of(0, 1, 1, 0)), 1.0);  // tr(X) = 0: farthest apart
    EXPECT_DOUBLE_EQ(md(id, id), 4.0);
    // md(H, H) rounds to just above 4; the distance is clamped to 0, not NaN.
    const double r = 0.7071067811865476;
    const Matrix2 h = matrix2_of(r, r, r, -r);
    EXPECT_GT(md(h, h), 4.0);
    EXPECT_EQ(md_tri(h, h), 0.0);
    std::mt19937 rng(11);
    for (int i = 0; i < 50; ++i) {
        const Matrix2 a = fttest::random_u2(rng, fttest::GlobalPhase::Random),
                      b = fttest::random_u2(rng, fttest::GlobalPhase::Random),
                      c = fttest::random_u2(rng, fttest::GlobalPhase::Random);
        const double dab = md_tri(a, b);
        EXPECT_GE(dab, 0.0);
        EXPECT_LE(dab, 1.0);
        EXPECT_LT(md_tri(a, std::polar(1.0, 0.3 * i) * a), 1e-7);
        EXPECT_NEAR(md_tri(b, a), dab, 1e-12);
        EXPECT_NEAR(md_tri(c * a, c * b), dab, 1e-9);
        EXPECT_LE(dab, md_tri(a, c) + md_tri(c, b) + 1e-7);
    }
}

}  // namespace
