#include "FaultTolerant/pelmar/su2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FaultTolerant/pelmar/exception.h"

namespace {

using cd = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;

double max_diff(const Matrix2& A, const Matrix2& B) {
    double d = 0;
    for (int k = 0; k < 4; ++k) d = std::max(d, std::abs(A.e[k] - B.e[k]));
    return d;
}

double angle_of(const Matrix2& M) {
    const su2::Cart3 v = su2::mat_to_cart3(M);
    return su2::norm(v.data(), 3);
}

Matrix2 operator+(const Matrix2& a, const Matrix2& b) {
    Matrix2 sum;
    for (int k = 0; k < 4; ++k) sum.e[k] = a.e[k] + b.e[k];
    return sum;
}

// Rotation by theta about the (not necessarily unit) axis, built from the Pauli matrices.
Matrix2 rotation(double theta, su2::Cart3 axis) {
    const double n = su2::norm(axis.data(), 3);
    const cd mi(0, -std::sin(theta / 2) / n);
    return cd(std::cos(theta / 2)) * Id2 + (mi * axis[0]) * PX + (mi * axis[1]) * PY +
           (mi * axis[2]) * PZ;
}

TEST(Su2, PauliConstantsMultiplyAsPaulis) {
    EXPECT_LT(max_diff(PX * PX, Id2), 1e-15);
    EXPECT_LT(max_diff(PY * PY, Id2), 1e-15);
    EXPECT_LT(max_diff(PX * PY, cd(0, 1) * PZ), 1e-15);
    EXPECT_LT(max_diff(PY * PZ, cd(0, 1) * PX), 1e-15);
}

TEST(Su2, Cart4MatchesPauliExpansionAndRoundTrips) {
    const su2::Cart4 x{0.5, 0.5, -0.5, 0.5};
    const Matrix2 M = su2::cart4_to_mat(x);
    const Matrix2 expansion =
        cd(x[0]) * Id2 + cd(0, -x[1]) * PX + cd(0, -x[2]) * PY + cd(0, -x[3]) * PZ;
    EXPECT_LT(max_diff(M, expansion), 1e-15);
    EXPECT_EQ(su2::mat_to_cart4(M), x);
    // Components below 1e-15 read as 0.
    EXPECT_EQ(su2::mat_to_cart4(su2::cart4_to_mat({1.0, 1e-16, -1e-16, 0.0})),
              (su2::Cart4{1.0, 0.0, 0.0, 0.0}));
}

TEST(Su2, Cart3IsTheRotationVector) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < 50; ++i) {
        const su2::Cart3 axis{u(rng), u(rng), u(rng)};
        const double theta = std::abs(u(rng)) * 2 * kPi;
        const double n = su2::norm(axis.data(), 3);
        const su2::Cart3 v{axis[0] * theta / n, axis[1] * theta / n, axis[2] * theta / n};
        const Matrix2 M = su2::cart3_to_mat(v);
        EXPECT_LT(max_diff(M, rotation(theta, axis)), 1e-14);
        const su2::Cart3 back = su2::mat_to_cart3(M);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], v[k], 1e-12);
    }
}

TEST(Su2, Cart3OfIdentityAndMinusIdentity) {
    EXPECT_EQ(su2::cart3_to_mat({0, 0, 0}), Id2);
    EXPECT_EQ(su2::mat_to_cart3(Id2), (su2::Cart3{0, 0, 0}));
    const su2::Cart3 minus = su2::mat_to_cart3(cd(-1) * Id2);
    EXPECT_NEAR(minus[0], 2 * kPi, 1e-15);
    // A product that rounds just above the identity must not give NaN.
    const su2::Cart3 above = su2::mat_to_cart3(cd(1 + 4e-16) * Id2);
    EXPECT_EQ(above, (su2::Cart3{0, 0, 0}));
}

TEST(Su2, ProjTraceDistIgnoresSignAndMeasuresAngle) {
    const Matrix2 M = rotation(1.1, {0.3, -0.2, 0.9});
    EXPECT_EQ(su2::proj_trace_dist(M, cd(-1) * M), 0.0);
    EXPECT_EQ(su2::proj_trace_dist(M, M), 0.0);
    for (double theta : {0.01, 0.5, 2.0}) {
        const double expected = std::sqrt(2 - 2 * std::cos(theta / 2));
        EXPECT_NEAR(su2::proj_trace_dist(Id2, rotation(theta, {1, 0, 0})), expected, 1e-7);
    }
    const double a[4] = {3, 4, 0, 12};
    EXPECT_DOUBLE_EQ(su2::norm(a, 4), 13.0);
}

// Rotations whose commutator factors are checked: random ones, and the awkward corners.
struct FactorCase {
    const char* name;
    double theta;
    su2::Cart3 axis;
};

class GroupFactor : public testing::TestWithParam<FactorCase> {};

TEST_P(GroupFactor, CommutatorGivesDeltaWithEqualAngles) {
    const Matrix2 delta = rotation(GetParam().theta, GetParam().axis);
    Matrix2 V;
    Matrix2 W;
    su2::group_factor(delta, V, W);
    EXPECT_LT(max_diff(V * W * V.Adjoint() * W.Adjoint(), delta), 1e-12);
    EXPECT_NEAR(angle_of(V), angle_of(W), 1e-12);
    // Balanced: each factor rotates by about sqrt(theta) for small theta.
    if (GetParam().theta < 0.1) {
        EXPECT_LT(angle_of(V), 4 * std::sqrt(GetParam().theta) + 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rotations, GroupFactor,
    testing::Values(
        FactorCase{"generic", 0.7, {0.2, -0.5, 0.8}}, FactorCase{"about_x", 0.3, {1, 0, 0}},
        // Opposite axis to the x-axis rotation that is factored first.
        FactorCase{"about_minus_x", 0.3, {-1, 0, 0}},
        // Tiny rotations: their rotation vectors have a cross product below 1e-12
        // although their axes differ.
        FactorCase{"tiny_about_z", 1e-7, {0, 0, 1}}, FactorCase{"tiny_about_y", 3e-9, {0, 1, 0}},
        FactorCase{"small", 1e-3, {0.6, 0.0, -0.8}}, FactorCase{"half_turn", kPi, {0, 1, 1}},
        FactorCase{"near_full_turn", 2 * kPi - 1e-3, {1, 2, 3}},
        FactorCase{"zero", 0.0, {1, 0, 0}}),
    [](const testing::TestParamInfo<FactorCase>& info) { return info.param.name; });

TEST(Su2, RandomRotationsFactor) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < 100; ++i) {
        const Matrix2 delta = rotation(std::abs(u(rng)) * 2 * kPi, {u(rng), u(rng), u(rng)});
        Matrix2 V;
        Matrix2 W;
        su2::group_factor(delta, V, W);
        ASSERT_LT(max_diff(V * W * V.Adjoint() * W.Adjoint(), delta), 1e-12) << i;
        ASSERT_NEAR(angle_of(V), angle_of(W), 1e-12) << i;
    }
}

TEST(Su2, SimilarityMatrixConjugatesBOntoA) {
    const struct {
        su2::Cart3 a, b;
    } cases[] = {{{0.3, 0.4, 0.5}, {0.5, 0.4, 0.3}},
                 {{0, 0, 1}, {0, 0, -1}},  // opposite axes
                 {{0, 1, 0}, {0, 1, 0}}};  // equal
    for (const auto& c : cases) {
        const Matrix2 A = su2::cart3_to_mat(c.a);
        const Matrix2 B = su2::cart3_to_mat(c.b);
        Matrix2 S;
        su2::similarity_matrix(A, B, S);
        EXPECT_LT(max_diff(S * B * S.Adjoint(), A), 1e-14);
    }
    Matrix2 S;
    EXPECT_THROW(
        su2::similarity_matrix(su2::cart3_to_mat({0.3, 0, 0}), su2::cart3_to_mat({0.4, 0, 0}), S),
        Exception);
}

TEST(Su2, XGroupFactorCommutesToTheXRotation) {
    for (double theta : {1e-6, 0.2, 1.5, 3.0, 6.0}) {
        const Matrix2 dx = su2::cart3_to_mat({theta, 0, 0});
        Matrix2 V;
        Matrix2 W;
        su2::x_group_factor(dx, V, W);
        EXPECT_LT(max_diff(V * W * V.Adjoint() * W.Adjoint(), dx), 1e-12) << theta;
    }
}

}  // namespace
