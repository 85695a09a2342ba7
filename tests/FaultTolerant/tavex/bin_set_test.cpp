// The remainder bins of the exhaustive search: scan order, distance window, and agreement with a
// plain ordered-map scan on many random queries.
#include "FaultTolerant/tavex/bin_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "FaultTolerant/random_unitary.h"

namespace {

Matrix2 rotation_z(double theta) {
    return matrix2_of({std::cos(theta / 2), -std::sin(theta / 2)}, 0.0, 0.0,
                      {std::cos(theta / 2), std::sin(theta / 2)});
}

TEST(BinSetTest, EmptyAndMissLeaveOutUnchanged) {
    BinSet bins;
    double out = 7.0;
    EXPECT_EQ(bins.contains(rotation_z(0.1), 0.5, 0.1, out), -1);
    bins.insert(0.5, rotation_z(2.0), 10, 3);
    EXPECT_EQ(bins.contains(rotation_z(0.1), 0.5, 0.1, out), -1);
    EXPECT_EQ(out, 7.0);
}

TEST(BinSetTest, ShorterBinWinsThenSmallerKeyThenEarlierInsertion) {
    BinSet bins;
    const Matrix2 q = rotation_z(0.0);
    // All within 0.05 of q; keys chosen inside the window around dq = 0.5.
    bins.insert(0.52, rotation_z(0.02), 1, 5);
    bins.insert(0.49, rotation_z(0.04), 2, 4);
    bins.insert(0.51, rotation_z(0.01), 3, 4);
    bins.insert(0.49, rotation_z(0.03), 4, 4);
    double out = -1;
    EXPECT_EQ(bins.contains(q, 0.5, 0.05, out), 2);  // length 4, key 0.49, first inserted
    EXPECT_NEAR(out, std::sqrt((2 - 2 * std::cos(0.02)) / 2), 1e-9);
    bins.delete_short_sequences(5);
    EXPECT_EQ(bins.num_bins(), 1);
    EXPECT_EQ(bins.contains(q, 0.5, 0.05, out), 1);
}

TEST(BinSetTest, OnlyKeysInsideTheWindowAreLookedAt) {
    BinSet bins;
    const Matrix2 q = rotation_z(0.0);
    bins.insert(0.9, q, 1, 2);  // same matrix, but its key lies outside [0.45, 0.55]
    double out;
    EXPECT_EQ(bins.contains(q, 0.5, 0.05, out), -1);
    bins.insert(0.55, q, 2, 2);  // the window is closed
    EXPECT_EQ(bins.contains(q, 0.5, 0.05, out), 2);
    EXPECT_EQ(out, 0.0);
}

TEST(BinSetTest, DeleteShortSequencesKeepsLongerBins) {
    BinSet bins;
    for (int length = 1; length <= 6; ++length) bins.insert(0.1, rotation_z(1.0), length, length);
    bins.delete_short_sequences(4);
    EXPECT_EQ(bins.num_bins(), 3);
    EXPECT_EQ(bins.size(), 3);
    double out;
    EXPECT_EQ(bins.contains(rotation_z(1.0), 0.1, 0.01, out), 4);
}

// Plain reference: the bins as ordered maps, scanned as the search describes.
struct ReferenceBins {
    std::map<int, std::multimap<double, std::pair<Matrix2, int>>> bins;
    int contains(Matrix2 q, double dq, double limit, double& out) const {
        for (const auto& bin : bins) {
            const auto end = bin.second.upper_bound(dq + limit);
            for (auto it = bin.second.lower_bound(dq - limit); it != end; ++it) {
                const double d = md_tri(it->second.first, q);
                if (d <= limit) {
                    out = d;
                    return it->second.second;
                }
            }
        }
        return -1;
    }
};

TEST(BinSetTest, AgreesWithOrderedMapScanOnRandomQueries) {
    std::mt19937 rng(5);
    const Matrix2 target = fttest::random_u2(rng, fttest::GlobalPhase::None);
    BinSet bins;
    ReferenceBins reference;
    int hits = 0;
    for (int index = 0; index < 3000; ++index) {
        // Interleave insertions and queries, as the first phase does; some keys repeat.
        Matrix2 r = fttest::random_u2(rng, fttest::GlobalPhase::None);
        double key = md_tri(r, target);
        if (index % 7 == 3) key = std::round(key * 64) / 64;
        const int length = 1 + index % 3;
        bins.insert(key, r, index, length);
        reference.bins[length].emplace(key, std::make_pair(r, index));
        for (int k = 0; k < 3; ++k) {
            const Matrix2 q = fttest::random_u2(rng, fttest::GlobalPhase::None);
            const double dq = md_tri(q, target);
            const double limit = std::uniform_real_distribution<double>(0.001, 0.2)(rng);
            double out_a = -1, out_b = -1;
            const int a = bins.contains(q, dq, limit, out_a);
            ASSERT_EQ(a, reference.contains(q, dq, limit, out_b)) << index;
            EXPECT_EQ(out_a, out_b);
            hits += a != -1;
        }
    }
    EXPECT_GT(hits, 100);
    bins.delete_short_sequences(2);
    reference.bins.erase(1);
    for (int k = 0; k < 2000; ++k) {
        const Matrix2 q = fttest::random_u2(rng, fttest::GlobalPhase::None);
        const double dq = md_tri(q, target);
        double out_a = -1, out_b = -1;
        ASSERT_EQ(bins.contains(q, dq, 0.05, out_a), reference.contains(q, dq, 0.05, out_b));
        EXPECT_EQ(out_a, out_b);
    }
}

}  // namespace
