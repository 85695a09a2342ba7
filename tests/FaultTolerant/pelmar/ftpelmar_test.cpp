#include "FaultTolerant/pelmar/ftpelmar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FaultTolerant/pelmar/exception.h"
#include "FaultTolerant/pelmar/su2.h"
#include "support/su2_reference.h"

namespace {

using cd = std::complex<double>;
using pelmar_test::independent_product;
using pelmar_test::phase_free_dist;
using pelmar_test::random_su2;
using pelmar_test::rz;

std::vector<Matrix2> random_rotations(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<Matrix2> result;
    for (int i = 0; i < n; ++i) result.push_back(random_su2(rng));
    return result;
}

TEST(SolovayKitaev, DepthZeroIsTheNearestKnot) {
    Net& net = ftpelmar_net();
    for (const Matrix2& U : random_rotations(10, 21)) {
        const Net::knot k = net.solovay_kitaev(U, 0);
        EXPECT_EQ(k.labels, net.nearest(U)->labels);
        EXPECT_EQ(k.matrix, net.nearest(U)->matrix);
    }
}

class SolovayKitaevDepth : public testing::TestWithParam<int> {};

TEST_P(SolovayKitaevDepth, SequenceIsCommutatorOfFactorsThenPreviousLevel) {
    const int depth = GetParam();
    Net& net = ftpelmar_net();
    for (const Matrix2& U : random_rotations(6, 40 + depth)) {
        const Net::knot k = net.solovay_kitaev(U, depth);
        const Net::knot previous = net.solovay_kitaev(U, depth - 1);
        ASSERT_EQ(static_cast<size_t>(k.length), k.labels.size());
        // labels = V' W' inv(V') inv(W') U': the previous level ends the string, and the rest
        // splits into two strings followed by their inverses.
        ASSERT_GE(k.labels.size(), previous.labels.size());
        EXPECT_EQ(k.labels.substr(k.labels.size() - previous.labels.size()), previous.labels);
        const size_t half = (k.labels.size() - previous.labels.size()) / 2;
        ASSERT_EQ(2 * half + previous.labels.size(), k.labels.size());
        bool split_found = false;
        for (size_t v = 1; v < half && !split_found; ++v) {
            const std::string a = k.labels.substr(0, v);
            const std::string b = k.labels.substr(v, half - v);
            split_found = k.labels.substr(half, half) == net.invert(a) + net.invert(b);
        }
        EXPECT_TRUE(split_found) << k.labels;
        // The labels' product is the returned matrix up to sign, and approximates U up to a
        // phase when the gates are multiplied independently of the net.
        EXPECT_LT(su2::proj_trace_dist(net.evaluate(k.labels), k.matrix), 1e-6);
        EXPECT_NEAR(phase_free_dist(independent_product(k.labels), U),
                    su2::proj_trace_dist(k.matrix, U), 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, SolovayKitaevDepth, testing::Values(1, 2, 3));

// The mended recursion: the net's knot for U is as often near -U as near U, and without turning
// delta back towards +Id2 the distances grew with depth. On random rotations they must fall.
TEST(SolovayKitaev, DistancesFallWithDepth) {
    Net& net = ftpelmar_net();
    const std::vector<Matrix2> rotations = random_rotations(24, 99);
    int near_minus_u = 0;
    double previous_mean = 1e9;
    for (int depth = 0; depth <= 4; ++depth) {
        double mean = 0;
        double worst = 0;
        for (const Matrix2& U : rotations) {
            const std::string labels = net.solovay_kitaev(U, depth).labels;
            const double d = phase_free_dist(independent_product(labels), U);
            mean += d / rotations.size();
            worst = std::max(worst, d);
            if (depth == 0) {
                const Matrix2 delta = U * net.nearest(U)->matrix.Adjoint();
                if ((delta(0, 0) + delta(1, 1)).real() < 0) ++near_minus_u;
            }
        }
        EXPECT_LT(mean, previous_mean / 1.5) << "depth " << depth;
        previous_mean = mean;
        if (depth == 4) {
            EXPECT_LT(worst, 2e-3);
        }
    }
    EXPECT_GE(near_minus_u, 4);  // the set exercises the sign case
}

TEST(Ftpelmar, ReturnsHTStringAndPrintsProgress) {
    const Matrix2 U = rz(0.3);
    testing::internal::CaptureStdout();
    const std::string seq = ftpelmar(U, 2);
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_FALSE(seq.empty()) << out;
    EXPECT_EQ(seq.find_first_not_of("HTt"), std::string::npos);
    EXPECT_EQ(out, "calling Solovay-Kitaev() to depth 2\ngot a sequence of length " +
                       std::to_string(seq.size()) + "\n");
    EXPECT_LT(phase_free_dist(independent_product(seq), U), 0.05);
    // The shared net gives what a freshly built one gives.
    EXPECT_EQ(seq, ftpelmar_net().solovay_kitaev(U, 2).labels);
    EXPECT_EQ(&ftpelmar_net(), &ftpelmar_net());
}

TEST(Ftpelmar, SameResultsAsAFreshNet) {
    Net fresh(0.18);
    const double r = 0.7071067811865475;
    const cd h[4] = {cd(0, r), cd(0, r), cd(0, r), cd(0, -r)};
    const cd t[4] = {cd(0.9238795325112867, -0.3826834323650898), 0.0, 0.0,
                     cd(0.9238795325112867, 0.3826834323650898)};
    const cd* matrices[2] = {h, t};
    fresh.generate("HT", matrices, 2, 14);
    ASSERT_EQ(fresh.knots().size(), ftpelmar_net().knots().size());
    testing::internal::CaptureStdout();
    for (const Matrix2& U : random_rotations(5, 7))
        EXPECT_EQ(ftpelmar(U, 3), fresh.solovay_kitaev(U, 3).labels);
    testing::internal::GetCapturedStdout();
}

// A window with an odd number of H has determinant -1; the result must be as good as for its
// SU(2) form.
TEST(Ftpelmar, UnitaryOutsideSU2IsApproximatedUpToPhase) {
    const Matrix2 window = std::polar(1.0, 0.4) * (independent_product("H") * rz(0.77));
    testing::internal::CaptureStdout();
    const std::string seq = ftpelmar(window, 3);
    testing::internal::GetCapturedStdout();
    EXPECT_LT(phase_free_dist(independent_product(seq), window), 0.02);
}

// Cache misses hand ftpelmar Z rotations by at most pi/8 (a remainder angle in [-0.5, 0.5]).
TEST(Ftpelmar, SmallZRotationsGetCloserWithDepth) {
    testing::internal::CaptureStdout();
    for (double a : {-0.5, -0.37, -0.1, 0.05, 0.3, 0.45}) {
        const Matrix2 U = rz(a * 3.14159265358979323846 / 4);
        double previous = 1.0;
        for (int depth : {1, 3, 4}) {
            const std::string seq = ftpelmar(U, depth);
            ASSERT_FALSE(seq.empty()) << a;
            const double d = phase_free_dist(independent_product(seq), U);
            EXPECT_LT(d, previous) << a << " depth " << depth;
            previous = d;
        }
        EXPECT_LT(previous, 2e-3) << a;
    }
    testing::internal::GetCapturedStdout();
}

TEST(Ftpelmar, ErrorsGiveAnEmptyString) {
    testing::internal::CaptureStdout();
    const std::string from_nan = ftpelmar(pelmar_test::rz(std::nan("")), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(from_nan, "");
    EXPECT_NE(out.find("*** ERROR: "), std::string::npos);
}

}  // namespace

namespace {

// The recursion depth is bounded: a depth beyond the bound (or below 0) is an error the caller
// sees as "no sequence", never a recursion that exhausts the stack.
TEST(SolovayKitaev, DepthOutsideTheBoundIsRefused) {
    Net& net = ftpelmar_net();
    const Matrix2 U = rz(0.37);
    for (int depth : {-1, Net::kMaxDepth + 1, 10000})
        EXPECT_THROW(net.solovay_kitaev(U, depth), Exception) << depth;
    testing::internal::CaptureStdout();
    const std::string seq = ftpelmar(U, 10000);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(seq, "");
    EXPECT_NE(printed.find("*** ERROR: Solovay-Kitaev depth 10000 is outside 0 to 6"),
              std::string::npos)
        << printed;
}

}  // namespace
