// Exact synthesis: known circuits come back with their T counts, and random Clifford+T words of
// 0 to 200 letters are rebuilt exactly (up to a power of ω) with no more T gates than they had.

#include "FaultTolerant/grid/exact_synthesis.h"

#include <gtest/gtest.h>

#include <random>

#include "support/gate_sequences.h"

using namespace grid;

namespace {

std::string random_word(std::mt19937& rng, int length) {
    static const char letters[] = "HTtSsXZ";
    std::uniform_int_distribution<int> pick(0, 6);
    std::string w;
    for (int i = 0; i < length; ++i) w += letters[pick(rng)];
    return w;
}

void expect_round_trip(const std::string& word) {
    ExactUnitary u, back;
    ASSERT_TRUE(exact_from_letters(word, u));
    std::string letters;
    ASSERT_TRUE(exact_synthesis(u, letters)) << word;
    ASSERT_TRUE(exact_from_letters(letters, back));
    EXPECT_TRUE(exact_equal_up_to_phase(u, back)) << word << " -> " << letters;
    EXPECT_LE(t_count(letters), t_count(word)) << word << " -> " << letters;
    // The letters mean the same operator in the simulator too (independent of the exact code).
    EXPECT_TRUE(sim::equal_up_to_phase(fttest::sequence_unitary(word),
                                       fttest::sequence_unitary(letters), 1e-7))
        << word << " -> " << letters;
}

}  // namespace

TEST(ExactUnitaryByHand, LettersAndKeys) {
    ExactUnitary h, hh, s, tt;
    ASSERT_TRUE(exact_from_letters("H", h));
    EXPECT_EQ(h.k, 1);
    EXPECT_TRUE(h.is_unitary());
    ASSERT_TRUE(exact_from_letters("HH", hh));
    EXPECT_TRUE(exact_equal_up_to_phase(hh, ExactUnitary::identity()));
    ASSERT_TRUE(exact_from_letters("S", s));
    ASSERT_TRUE(exact_from_letters("TT", tt));
    EXPECT_TRUE(exact_equal_up_to_phase(s, tt));
    // XZXZ = −I: equal up to phase only.
    ExactUnitary xzxz;
    ASSERT_TRUE(exact_from_letters("XZXZ", xzxz));
    EXPECT_TRUE(exact_equal_up_to_phase(xzxz, ExactUnitary::identity()));
    EXPECT_FALSE(exact_equal_up_to_phase(s, ExactUnitary::identity()));
    EXPECT_FALSE(exact_from_letters("HQ", s));
    EXPECT_TRUE(exact_from_letters("(SH)T", s));
}

TEST(ExactSynthesisByHand, KnownTCounts) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},     {"T", 1},       {"HTH", 1},    {"TT", 0},
        {"HTHT", 2}, {"THTHTHT", 4}, {"TtHTHt", 2}, {"HTHTHTHTHTHTH", 6}};
    for (const auto& [word, t] : cases) {
        ExactUnitary u;
        ASSERT_TRUE(exact_from_letters(word, u));
        std::string letters;
        ASSERT_TRUE(exact_synthesis(u, letters)) << word;
        EXPECT_EQ(t_count(letters), t) << word << " -> " << letters;
        expect_round_trip(word);
    }
}

TEST(ExactSynthesis, RejectsNonUnitary) {
    ExactUnitary u = ExactUnitary::identity();
    u.m[0][1] = ZOmega{1, 0, 0, 0};
    std::string letters;
    EXPECT_FALSE(exact_synthesis(u, letters));
}

TEST(ExactSynthesis, RandomWordsRoundTripWithNoMoreT) {
    std::mt19937 rng(14);
    std::uniform_int_distribution<int> length(0, 200);
    for (int i = 0; i < 150; ++i) expect_round_trip(random_word(rng, length(rng)));
}
