// The exhaustive meet-in-the-middle search: returned sequences approximate their targets, the
// shortcuts and limits behave, and the trie-pruned enumeration finds exactly what a plain
// enumeration with direct sub-product tests finds.
#include "FaultTolerant/tavex/tavex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "FaultTolerant/random_unitary.h"
#include "FaultTolerant/tavex/bit_ops.h"

namespace {

using cd = std::complex<double>;
using M2 = std::array<cd, 4>;  // row-major

M2 mul(const M2& a, const M2& b) {
    return {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3], a[2] * b[0] + a[3] * b[2],
            a[2] * b[1] + a[3] * b[3]};
}

// The left-to-right product of a gate-sequence string, built from the letters alone;
// parentheses are skipped. Fails the test on any other character.
Matrix2 sequence_matrix(const std::string& seq) {
    const double r = 1.0 / std::sqrt(2.0);
    const cd w = std::polar(1.0, M_PI / 4);
    M2 m = {1, 0, 0, 1};
    for (char c : seq) {
        M2 g;
        switch (c) {
            case 'H':
                g = {r, r, r, -r};
                break;
            case 'X':
                g = {0, 1, 1, 0};
                break;
            case 'Z':
                g = {1, 0, 0, -1};
                break;
            case 'S':
                g = {1, 0, 0, cd(0, 1)};
                break;
            case 's':
                g = {1, 0, 0, cd(0, -1)};
                break;
            case 'T':
                g = {1, 0, 0, w};
                break;
            case 't':
                g = {1, 0, 0, std::conj(w)};
                break;
            case 'I':
                g = {1, 0, 0, 1};
                break;
            case '(':
            case ')':
                continue;
            default:
                ADD_FAILURE() << "unexpected character '" << c << "' in " << seq;
                continue;
        }
        m = mul(m, g);
    }
    return matrix2_of(m[0], m[1], m[2], m[3]);
}

int t_count(const std::string& seq) {
    int n = 0;
    for (char c : seq) n += c == 'T' || c == 't';
    return n;
}

// Rz(theta) = diag(e^(-i theta/2), e^(i theta/2)), theta in radians.
Matrix2 rotation_z(double theta) {
    return matrix2_of({std::cos(theta / 2), -std::sin(theta / 2)}, 0.0, 0.0,
                      {std::cos(theta / 2), std::sin(theta / 2)});
}

Matrix2 with_phase(Matrix2 m, double phi) {
    return std::polar(1.0, phi) * m;
}

std::string search(Matrix2 target, double threshold, int max_unique = 10200, int max_length = 15) {
    Tavex tavex(max_unique, max_length);
    return tavex.ft_tavex(target, threshold);
}

void expect_within(const std::string& seq, Matrix2 target, double threshold) {
    ASSERT_FALSE(seq.empty());
    const double d = md_tri(sequence_matrix(seq), target);
    EXPECT_LE(d, threshold) << seq;
    int depth = 0;
    for (char c : seq) {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        EXPECT_TRUE(depth == 0 || depth == 1) << seq;
    }
    EXPECT_EQ(depth, 0) << seq;
    if (seq.size() > 1) {
        EXPECT_EQ(seq.find('I'), std::string::npos) << seq;
    }
}

// --- Shortcuts and edge cases ----------------------------------------------------------------

void expect_near(const Matrix2& a, const Matrix2& b, double tol = 1e-12) {
    for (int k = 0; k < 4; ++k) EXPECT_LT(std::abs(a.e[k] - b.e[k]), tol) << "entry " << k;
}

TEST(TavexLabels, DistanceOfEqualLabelsIsZeroNotNaN) {
    // md(H, H) rounds to just above 4 with 1/sqrt 2 = 0.7071067811865476.
    const Matrix2 h = label_matrix(1);
    EXPECT_GT(md(h, h), 4.0);
    EXPECT_EQ(md_tri(h, h), 0.0);
    for (int label = 0; label < Tavex::kNumLabels; ++label) {
        const Matrix2 g = label_matrix(label);
        EXPECT_FALSE(std::isnan(md_tri(g, g))) << print_gate(label);
        EXPECT_LT(md_tri(g, g), 1e-7) << print_gate(label);
    }
}

TEST(TavexLabels, PairwiseDistinctUpToPhase) {
    for (int a = 0; a < Tavex::kNumLabels; ++a)
        for (int b = a + 1; b < Tavex::kNumLabels; ++b)
            EXPECT_GT(md_tri(label_matrix(a), label_matrix(b)), 0.1)
                << print_gate(a) << " " << print_gate(b);
}

TEST(TavexLabels, CompositeLabelsAreLeftToRightProducts) {
    const Matrix2 h = label_matrix(1), s = label_matrix(4), sd = label_matrix(5);
    expect_near(label_matrix(13), s * h);       // (SH)
    expect_near(label_matrix(22), s * h * sd);  // (SHs)
    expect_near(label_matrix(18), h * s * h);   // (HSH)
    const double r = 0.7071067811865476;
    expect_near(label_matrix(24), matrix2_of(1, 0, 0, cd(r, r)));   // T
    expect_near(label_matrix(25), matrix2_of(1, 0, 0, cd(r, -r)));  // t
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

TEST(TavexTest, TargetNearIdentityGivesI) {
    Matrix2 id = matrix2_identity();
    EXPECT_EQ(search(id, 1e-2), "I");
    EXPECT_EQ(search(with_phase(id, 1.3), 1e-2), "I");
    EXPECT_EQ(search(rotation_z(0.001), 1e-2), "I");
}

TEST(TavexTest, SingleLabelTargetReturnsThatLabel) {
    // T alone brings the best distance to 0 without any meeting: the answer is its own label.
    testing::internal::CaptureStdout();
    EXPECT_EQ(search(label_matrix(24), 1e-2), "T");
    EXPECT_EQ(search(with_phase(label_matrix(24), 0.7), 1e-6), "T");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Beginning enumeration...\nBeginning enumeration...\n");
}

class LabelTargetTest : public testing::TestWithParam<int> {};

TEST_P(LabelTargetTest, EveryLabelIsFoundExactly) {
    const Matrix2 target = with_phase(label_matrix(GetParam()), 0.25 * GetParam());
    expect_within(search(target, 1e-6), target, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(AllLabels, LabelTargetTest, testing::Range(1, Tavex::kNumLabels));

TEST(TavexTest, NaNTargetGivesNoSequence) {
    Matrix2 m = rotation_z(0.3);
    m.e[0] = std::nan("");
    EXPECT_EQ(search(m, 1e-2), "");
}

TEST(TavexTest, SearchEndingWithoutResultReturnsEmpty) {
    // Two recorded products only; the second phase runs out of acceptable products and would
    // outgrow the label array: no result, no crash.
    testing::internal::CaptureStdout();
    EXPECT_EQ(search(rotation_z(0.3), 1e-9, 3, 2), "");
    testing::internal::GetCapturedStdout();
}

TEST(TavexTest, MeetingIsReportedAndResultIsPhaseBlind) {
    const Matrix2 target = rotation_z(0.7);
    testing::internal::CaptureStdout();
    const std::string a = search(target, 1e-2);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("MEET! dist= "), std::string::npos) << out;
    expect_within(a, target, 1e-2);
    EXPECT_EQ(search(with_phase(target, 2.1), 1e-2), a);
}

// Number of labels of a result: letters outside parentheses and parenthesised groups.
int label_count(const std::string& seq) {
    int n = 0, depth = 0;
    for (char c : seq) {
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (depth == 0 && c != ')') ++n;
        if (c == '(') ++n;
    }
    return n;
}

TEST(TavexTest, SecondPhaseMeetsProductsLongerThanTheFirstPhase) {
    // No pair of products of the first phase comes within 1e-2 of this rotation; the second
    // phase must meet a longer product (at least 16 labels) with a remainder of 15 labels.
    const Matrix2 target = rotation_z(0.367977 * M_PI / 4);
    testing::internal::CaptureStdout();
    const std::string seq = search(target, 1e-2);
    testing::internal::GetCapturedStdout();
    expect_within(seq, target, 1e-2);
    EXPECT_GE(label_count(seq), 31) << seq;
    EXPECT_EQ(label_count("(SH)T(HXZ)I"), 4);
}

TEST(TavexTest, SecondSearchOnOneObjectStartsAfresh) {
    testing::internal::CaptureStdout();
    const Matrix2 a = rotation_z(0.7), b = rotation_z(-1.9);
    Tavex tavex(10200, 15);
    const std::string first = tavex.ft_tavex(a, 1e-2);
    const std::string second = tavex.ft_tavex(b, 1e-2);
    EXPECT_EQ(first, search(a, 1e-2));
    EXPECT_EQ(second, search(b, 1e-2));
    testing::internal::GetCapturedStdout();
    expect_within(second, b, 1e-2);
}

// --- Distances on random targets -------------------------------------------------------------

struct Case {
    const char* kind;  // "Z", "SU2", "U2"
    double threshold;
    int count;
    unsigned seed;
};

class RandomTargetTest : public testing::TestWithParam<Case> {};

TEST_P(RandomTargetTest, SequenceIsWithinThreshold) {
    const Case c = GetParam();
    std::mt19937 rng(c.seed);
    for (int i = 0; i < c.count; ++i) {
        Matrix2 target;
        if (std::string(c.kind) == "Z") {
            // Angles as the conversion hands them: a remainder in [-0.5, 0.5] units of pi/4.
            const double a = std::uniform_real_distribution<double>(-0.5, 0.5)(rng);
            target = rotation_z(a * M_PI / 4);
        } else {
            target =
                fttest::random_u2(rng, std::string(c.kind) == "U2" ? fttest::GlobalPhase::Random
                                                                   : fttest::GlobalPhase::None);
        }
        const std::string seq = search(target, c.threshold);
        SCOPED_TRACE(testing::Message() << c.kind << " #" << i << " -> " << seq);
        if (md_tri(matrix2_identity(), target) < c.threshold) {
            EXPECT_EQ(seq, "I");
            continue;
        }
        expect_within(seq, target, c.threshold);
    }
}

INSTANTIATE_TEST_SUITE_P(Thresholds, RandomTargetTest,
                         testing::Values(Case{"Z", 1e-1, 10, 1}, Case{"SU2", 1e-1, 10, 2},
                                         Case{"U2", 1e-1, 10, 3}, Case{"Z", 1e-2, 6, 4},
                                         Case{"SU2", 1e-2, 4, 5}, Case{"U2", 1e-2, 4, 6}));

TEST(TavexTest, FinerThresholdsOnZRotations) {
    // A few searches at 1e-3, where the second phase does most of the work.
    for (double a : {-0.0130959, 0.2}) {
        const Matrix2 target = rotation_z(a * M_PI / 4);
        const std::string seq = search(target, 1e-3);
        expect_within(seq, target, 1e-3);
        EXPECT_GE(t_count(seq), 10) << seq;
    }
}

// --- The pruned enumeration against a plain one ----------------------------------------------

// The same search, with every acceptability test done on a set of recorded label strings and a
// failing run skipped by stepping the odometer at the run's lowest position; products computed
// from scratch; bins as ordered maps.
class PlainSearch {
  public:
    PlainSearch(int max_unique, int max_length) : max_unique(max_unique), max_length(max_length) {}

    std::string run(Matrix2 target, double threshold) {
        Matrix2 id = matrix2_identity();
        const double d0 = md_tri(id, target);
        if (threshold > d0) return "I";
        by_dist.emplace(d0, id);
        double best = d0;
        int num_unique = 1;
        while (top < max_length && num_unique < max_unique && best > threshold) {
            if (!step(0)) return "";
            while (top >= 1) {
                if (!recorded.count(run_of(top, 1))) {
                    if (!step(1)) return "";
                } else if (!recorded.count(run_of(top - 1, 0))) {
                    if (!step(0)) return "";
                } else {
                    break;
                }
            }
            const Matrix2 p = product();
            const double d = md_tri(p, target);
            bool unique = true;
            for (auto it = by_dist.lower_bound(d - 1e-10); it != by_dist.upper_bound(d + 1e-10);
                 ++it)
                if (md(it->second, p) > 4 - 1e-10) unique = false;
            if (!unique) continue;
            const int k = meet(p, d, best - 1e-10, best);
            if (k != -1 && best <= threshold) return name() + names[size_t(k)];
            const Matrix2 r = target * minv(p);
            bins[top + 1].emplace(md_tri(r, target), std::make_pair(r, int(names.size())));
            names.push_back(name());
            recorded.insert(run_of(top, 0));
            by_dist.emplace(d, p);
            ++num_unique;
            if (d < best - 1e-10) {
                best = d;
                if (best <= threshold) return name();
            }
        }
        bins.erase(bins.begin(), bins.lower_bound(max_length));
        while (best > threshold) {
            if (!step(0)) return "";
            bool again = true;
            while (again) {
                again = false;
                const int span = std::min(max_length, top) - 1;
                for (int i = top; span >= 0 && i >= span; --i)
                    if (!recorded.count(run_of(i, i - span))) {
                        if (!step(i - span)) return "";
                        again = true;
                        break;
                    }
            }
            const Matrix2 q = product();
            const double d = md_tri(q, target);
            const int k = meet(q, d, best - 1e-10, best);
            if (k != -1 && best <= threshold) return name() + names[size_t(k)];
            if (d < best - 1e-10) {
                best = d;
                if (best <= threshold) return name();
            }
        }
        return "";
    }

  private:
    int max_unique;
    int max_length;
    int labels[Tavex::kMaxLabels] = {};
    int top = 0;
    std::unordered_set<uint64_t> recorded;  // runs of labels, 5 bits each from the top down
    std::vector<std::string> names;
    std::multimap<double, Matrix2> by_dist;
    std::map<int, std::multimap<double, std::pair<Matrix2, int>>> bins;

    bool step(int k) {
        for (int j = 0; j < k; ++j) labels[j] = 1;
        int j = k;
        while (++labels[j] > 25) {
            labels[j] = 0;
            if (++j >= Tavex::kMaxLabels) return false;
        }
        for (int i = 0; i < j; ++i)
            if (labels[i] == 0) labels[i] = 1;
        top = std::max(top, j);
        return true;
    }
    uint64_t run_of(int i, int lo) const {
        uint64_t key = 0;
        for (int j = i; j >= lo; --j) key = key << 5 | uint64_t(labels[j]);
        return key;
    }
    Matrix2 product() const {
        Matrix2 m = matrix2_identity();
        for (int j = top; j >= 0; --j) m = m * label_matrix(labels[j]);
        return m;
    }
    std::string name() const {
        std::string s;
        for (int j = top; j >= 0; --j) s += print_gate(labels[j]);
        return s;
    }
    int meet(Matrix2 q, double dq, double limit, double& best) const {
        for (const auto& bin : bins) {
            const auto end = bin.second.upper_bound(dq + limit);
            for (auto it = bin.second.lower_bound(dq - limit); it != end; ++it) {
                const double d = md_tri(it->second.first, q);
                if (d <= limit) {
                    best = d;
                    return it->second.second;
                }
            }
        }
        return -1;
    }
};

struct PlainCase {
    int max_unique;
    int max_length;
    double threshold;
    unsigned seed;
};

class PlainSearchTest : public testing::TestWithParam<PlainCase> {};

TEST_P(PlainSearchTest, SameSequenceAsPlainEnumeration) {
    const PlainCase c = GetParam();
    std::mt19937 rng(c.seed);
    for (int i = 0; i < 3; ++i) {
        const Matrix2 target = fttest::random_u2(rng, fttest::GlobalPhase::Random);
        const std::string expected =
            PlainSearch(c.max_unique, c.max_length).run(target, c.threshold);
        testing::internal::CaptureStdout();
        const std::string got = search(target, c.threshold, c.max_unique, c.max_length);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(got, expected) << "target #" << i;
        if (!got.empty() && got != "I") expect_within(got, target, c.threshold);
    }
}

INSTANTIATE_TEST_SUITE_P(SmallSearches, PlainSearchTest,
                         testing::Values(PlainCase{120, 3, 0.1, 21}, PlainCase{200, 4, 0.06, 22},
                                         PlainCase{300, 5, 0.07, 23},
                                         // Capacity reached inside the last length.
                                         PlainCase{150, 4, 0.08, 25}, PlainCase{150, 4, 0.08, 26}));

}  // namespace
