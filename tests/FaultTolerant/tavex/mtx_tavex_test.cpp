// 2x2 matrix helpers, bit helpers and the label alphabet of the exhaustive search.
#include "FaultTolerant/tavex/mtx_tavex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <tuple>

#include "FaultTolerant/tavex/bit_ops.h"
#include "FaultTolerant/tavex/tavex.h"

namespace {

using cd = std::complex<double>;

MtxTavex from(cd a, cd b, cd c, cd d) {
    return {{a.real(), a.imag(), b.real(), b.imag(), c.real(), c.imag(), d.real(), d.imag()}};
}

MtxTavex scaled(MtxTavex m, cd f) {
    MtxTavex r;
    for (int k = 0; k < 4; ++k) {
        const cd e = cd(m.v[2 * k], m.v[2 * k + 1]) * f;
        r.v[2 * k] = e.real();
        r.v[2 * k + 1] = e.imag();
    }
    return r;
}

// Haar-like random U(2): a random unit quaternion times a random phase.
MtxTavex random_u2(std::mt19937& rng) {
    std::normal_distribution<double> g;
    double q[4];
    double n = 0;
    for (double& x : q) {
        x = g(rng);
        n += x * x;
    }
    n = std::sqrt(n);
    const cd a(q[0] / n, q[1] / n), b(q[2] / n, q[3] / n);
    const cd phase = std::polar(1.0, std::uniform_real_distribution<double>(0, 6.28)(rng));
    return scaled(from(a, -std::conj(b), b, std::conj(a)), phase);
}

void expect_near(MtxTavex a, MtxTavex b, double tol = 1e-12) {
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(a.v[k], b.v[k], tol) << "entry " << k;
}

TEST(MtxTavexTest, LayoutIsRowMajorInterleaved) {
    CMatrix m(2, 2);
    m(0, 0) = {1, 2};
    m(0, 1) = {3, 4};
    m(1, 0) = {5, 6};
    m(1, 1) = {7, 8};
    MtxTavex t;
    matrix_to_mtxtavex(m, t);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(t.v[k], k + 1);
    CMatrix back(2, 2);
    mtxtavex_to_matrix(t, back);
    for (unsigned r = 0; r < 2; ++r)
        for (unsigned c = 0; c < 2; ++c) EXPECT_EQ(back(r, c), m(r, c));
}

TEST(MtxTavexTest, ZeroIdentityProductInverse) {
    MtxTavex z, id;
    mz(z);
    mi(id);
    for (double x : z.v) EXPECT_EQ(x, 0.0);
    expect_near(id, from(1, 0, 0, 1), 0);
    const MtxTavex a = from({1, 2}, {3, -1}, {0, 1}, {2, 2});
    const MtxTavex b = from({0, 1}, {1, 0}, {-1, 1}, {2, 0});
    // (a b)_00 = a00 b00 + a01 b10
    const cd p00 = cd(1, 2) * cd(0, 1) + cd(3, -1) * cd(-1, 1);
    const MtxTavex ab = mm(a, b);
    EXPECT_DOUBLE_EQ(ab.v[0], p00.real());
    EXPECT_DOUBLE_EQ(ab.v[1], p00.imag());
    expect_near(mm(a, minv(a)), id);
    expect_near(mm(minv(b), b), id);
    std::mt19937 rng(3);
    for (int i = 0; i < 20; ++i) {
        const MtxTavex u = random_u2(rng);
        expect_near(mm(minv(u), u), id);
    }
}

TEST(MtxTavexTest, DistanceOfEqualMatricesIsZeroNotNaN) {
    // md(H, H) rounds to just above 4 with 1/sqrt 2 = 0.7071067811865476.
    const MtxTavex h = label_matrix(1);
    EXPECT_GT(md(h, h), 4.0);
    EXPECT_EQ(md_tri(h, h), 0.0);
    for (int label = 0; label < Tavex::kNumLabels; ++label) {
        const MtxTavex g = label_matrix(label);
        EXPECT_FALSE(std::isnan(md_tri(g, g))) << print_gate(label);
        EXPECT_LT(md_tri(g, g), 1e-7) << print_gate(label);
    }
}

TEST(MtxTavexTest, DistanceIsPhaseBlindBoundedAndInvariant) {
    MtxTavex id;
    mi(id);
    EXPECT_DOUBLE_EQ(md_tri(id, label_matrix(2)), 1.0);  // tr(X) = 0: farthest apart
    EXPECT_DOUBLE_EQ(md(id, id), 4.0);
    std::mt19937 rng(11);
    for (int i = 0; i < 50; ++i) {
        const MtxTavex a = random_u2(rng), b = random_u2(rng), c = random_u2(rng);
        const double dab = md_tri(a, b);
        EXPECT_GE(dab, 0.0);
        EXPECT_LE(dab, 1.0);
        EXPECT_LT(md_tri(a, scaled(a, std::polar(1.0, 0.3 * i))), 1e-7);
        EXPECT_NEAR(md_tri(b, a), dab, 1e-12);
        EXPECT_NEAR(md_tri(mm(c, a), mm(c, b)), dab, 1e-9);
        EXPECT_LE(dab, md_tri(a, c) + md_tri(c, b) + 1e-7);
    }
}

TEST(MtxTavexTest, LabelsArePairwiseDistinctUpToPhase) {
    for (int a = 0; a < Tavex::kNumLabels; ++a)
        for (int b = a + 1; b < Tavex::kNumLabels; ++b)
            EXPECT_GT(md_tri(label_matrix(a), label_matrix(b)), 0.1)
                << print_gate(a) << " " << print_gate(b);
}

TEST(MtxTavexTest, CompositeLabelsAreLeftToRightProducts) {
    const MtxTavex h = label_matrix(1), s = label_matrix(4), sd = label_matrix(5);
    expect_near(label_matrix(13), mm(s, h));          // (SH)
    expect_near(label_matrix(22), mm(mm(s, h), sd));  // (SHs)
    expect_near(label_matrix(18), mm(mm(h, s), h));   // (HSH)
    const double r = 0.7071067811865476;
    expect_near(label_matrix(24), from(1, 0, 0, cd(r, r)));   // T
    expect_near(label_matrix(25), from(1, 0, 0, cd(r, -r)));  // t
}

TEST(PrintGateTest, NamesAndOutOfRange) {
    const std::tuple<int, const char*> cases[] = {
        {0, "I"},      {1, "H"},      {2, "X"},  {3, "Z"},  {4, "S"}, {5, "s"}, {13, "(SH)"},
        {15, "(HXZ)"}, {23, "(sHS)"}, {24, "T"}, {25, "t"}, {-1, ""}, {26, ""}, {100, ""}};
    for (const auto& [label, name] : cases) EXPECT_EQ(print_gate(label), name) << label;
}

TEST(BitOpsTest, HighestSetBitAndGetBit) {
    const std::tuple<unsigned, int> highest[] = {
        {0u, -1}, {1u, 0}, {2u, 1}, {6u, 2}, {0x80000000u, 31}, {0xFFFFFFFFu, 31}, {1024u, 10}};
    for (const auto& [x, h] : highest) EXPECT_EQ(highest_set_bit(x), h) << x;
    EXPECT_EQ(get_bit(5u, 0), 1);
    EXPECT_EQ(get_bit(5u, 1), 0);
    EXPECT_EQ(get_bit(5u, 2), 1);
    EXPECT_EQ(get_bit(0x80000000u, 31), 1);
    EXPECT_EQ(get_bit(0x7FFFFFFFu, 31), 0);
    EXPECT_EQ(get_bit(1u, 32), 0);
    EXPECT_EQ(get_bit(1u, -1), 0);
}

}  // namespace
