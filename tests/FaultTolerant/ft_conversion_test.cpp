// Window conversion: sequence insertion, cache hits and misses, mixed windows, searches that
// give nothing, and the distances of what the searches insert.

#include "FaultTolerant/ft_conversion.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <random>
#include <vector>

#include "FaultTolerant/grid/rz_approximation.h"
#include "circuit/graph_circuit.h"
#include "support/gate_lists.h"
#include "support/gate_sequences.h"
#include "support/test_env.h"

namespace {

using testgates::line_of;
using Kinds = std::vector<Gate_type>;

Gate rot(Gate_type kind, double angle, int index = 10) {
    return Gate(kind, angle, 0, 0, -1, 0, index);
}

Kinds kinds_of(const LineOfGates& line) {
    Kinds kinds;
    for (const Gate& g : line.gates) kinds.push_back(g.type);
    return kinds;
}

/// The line's one-qubit body (markers and two-qubit records skipped) as a unitary.
sim::Unitary body_unitary(const LineOfGates& line) {
    LineOfGates body;
    for (const Gate& g : line.gates)
        if (is_1Q_gate(g.type)) body.gates.push_back(g);
    body.phase = line.phase;
    return sim::line_unitary(body);
}

// ---- Fake searches (installed with set_ft_search) ----

struct SearchLog {
    int calls = 0;
    Matrix2 target;
    double threshold = 0;
    int mode = 0;
};
SearchLog search_log;

std::string fake_T_search(const Matrix2& target, double threshold, int mode) {
    ++search_log.calls;
    search_log.target = target;
    search_log.threshold = threshold;
    search_log.mode = mode;
    return "T";
}
std::string fake_empty_search(const Matrix2& target, double threshold, int mode) {
    fake_T_search(target, threshold, mode);
    return "";
}

class FtWindow : public testing::Test {
  protected:
    GraphCircuit circuit{"ft_window", FTS, qec_none, 0};
    FtSearch previous = nullptr;
    std::string printed;

    void SetUp() override { search_log = SearchLog{}; }
    void TearDown() override { set_ft_search(previous); }
    void use_search(FtSearch search) { previous = set_ft_search(search); }

    void convert(LineOfGates& line, double threshold, int mode,
                 FtMethod method = FtMethod::ByMode) {
        testing::internal::CaptureStdout();
        circuit.convert_1Q_window_to_FT(line, threshold, mode, method);
        printed = testing::internal::GetCapturedStdout();
    }
};

// ---- Insertion of sequences ----

TEST_F(FtWindow, InsertSequenceInStringOrderWithTargetAndFreshIndices) {
    LineOfGates line = line_of({Gate(RZ, 0.3, 0, 0, -1, 2, 7)});
    circuit.gate_counter = 40;
    std::string seq = "(HS)TtXZIQ";
    testing::internal::CaptureStdout();
    circuit.insert_FT_seq(line.gates, std::next(line.gates.begin()), std::prev(line.gates.end()),
                          seq);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "insert_FT_seq: not supportted gate: Q\n");
    EXPECT_EQ(kinds_of(line), (Kinds{IN, H, S, T, T_dag, X, Z, I, OUT}));
    int index = 41;
    for (auto it = std::next(line.gates.begin()); it->type != OUT; ++it, ++index) {
        EXPECT_EQ(it->target, 2);
        EXPECT_EQ(it->control, -1);
        EXPECT_EQ(it->index, index);
        EXPECT_EQ(it->angle, 0);
    }
    EXPECT_EQ(circuit.gate_counter, 47);
}

TEST_F(FtWindow, InsertInverseSequenceReversesAndInverts) {
    for (std::string seq : {"HTS(sH)I", "(SHs)tTTH", "I"}) {
        LineOfGates line = line_of({rot(RZ, 0.3)});
        testing::internal::CaptureStdout();
        circuit.insert_inv_FT_seq(line.gates, std::next(line.gates.begin()),
                                  std::prev(line.gates.end()), seq);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << seq;
        const sim::Unitary product = body_unitary(line) * fttest::sequence_unitary(seq);
        EXPECT_TRUE(sim::equal_up_to_phase(product, sim::Unitary::identity(1))) << seq;
    }
    LineOfGates line = line_of({rot(RZ, 0.3)});
    std::string seq = "HTS(sH)I";
    circuit.insert_inv_FT_seq(line.gates, std::next(line.gates.begin()),
                              std::prev(line.gates.end()), seq);
    EXPECT_EQ(kinds_of(line), (Kinds{IN, I, H, S, S_dag, T_dag, H, OUT}));
}

// ---- Cache hits ----

TEST_F(FtWindow, HitsForAAndMinusAReplaceOnlyTheRotation) {
    use_search(fake_T_search);
    circuit.ft_table.insert_FT_table(0.25, 0.01, "HT");
    // Windows: [H, RZ(3), RZ(0.25)], [RX(-0.25)], [RY(0.25)].
    LineOfGates line = line_of({Gate(H, 0, 0, 0, -1, 0, 5), rot(RZ, 3), rot(RZ, 0.25),
                                Gate(CNOT, 0, 0, 0, 0, 1, 6), rot(RX, -0.25),
                                Gate(CNOT, 0, 0, 0, 1, 0, 8), rot(RY, 0.25)});
    convert(line, 0.01, 0);
    EXPECT_EQ(kinds_of(line),
              (Kinds{IN, H, RZ, H, T, CNOT, H, T_dag, H, H, CNOT, S, H, H, T, H, S_dag, OUT}));
    EXPECT_EQ(circuit.ft_cache_hits, 3);
    EXPECT_EQ(circuit.ft_cache_misses, 0);
    EXPECT_EQ(search_log.calls, 0);
    EXPECT_EQ(printed, "");
}

TEST_F(FtWindow, MinusAHitIsTheInverseSequence) {
    circuit.ft_table.insert_FT_table(0.25, 0.01, "(SH)T");
    LineOfGates line = line_of({rot(RX, -0.25)});
    convert(line, 0.01, 0);
    // "H(SH)TH" reversed and inverted.
    EXPECT_EQ(kinds_of(line), (Kinds{IN, H, T_dag, H, S_dag, H, OUT}));
    EXPECT_EQ(circuit.ft_cache_hits, 1);
}

TEST_F(FtWindow, WindowsWithoutFractionalRotationsAreUnchanged) {
    use_search(fake_T_search);
    LineOfGates line =
        line_of({Gate(RXY, 0.3, 0.7, 0, -1, 0, 3), Gate(ASQU, 0.1, 0.2, 0.3, -1, 0, 4), rot(RZ, 2),
                 rot(RX, -3), Gate(T, 0, 0, 0, -1, 0, 9)});
    const LineOfGates before = line;
    convert(line, 0.01, 0);
    EXPECT_EQ(line, before);
    EXPECT_EQ(circuit.ft_cache_hits + circuit.ft_cache_misses, 0);
    EXPECT_EQ(search_log.calls, 0);
}

// ---- Cache misses ----

TEST_F(FtWindow, MissSearchesTheZRotationStoresAndThenHits) {
    use_search(fake_T_search);
    LineOfGates line = line_of({rot(RX, 0.3), Gate(CNOT, 0, 0, 0, 0, 1, 6), rot(RX, 0.3),
                                Gate(CNOT, 0, 0, 0, 0, 1, 7), rot(RZ, -0.3)});
    convert(line, 0.02, 0);
    EXPECT_NE(printed.find("gate: 1 angle= 0.3\nCache miss! Do Brask FT conversion!\n"),
              std::string::npos)
        << printed;
    EXPECT_EQ(search_log.calls, 1);
    EXPECT_EQ(search_log.threshold, 0.02);
    // The search is asked for RZ(0.3) whatever the axis.
    const std::complex<double> e(std::cos(0.3 * M_PI / 8), -std::sin(0.3 * M_PI / 8));
    EXPECT_NEAR(std::abs(search_log.target(0, 0) - e), 0, 1e-15);
    EXPECT_NEAR(std::abs(search_log.target(1, 1) - std::conj(e)), 0, 1e-15);
    EXPECT_EQ(kinds_of(line), (Kinds{IN, H, T, H, CNOT, H, T, H, CNOT, T_dag, OUT}));
    EXPECT_EQ(circuit.ft_cache_misses, 1);
    EXPECT_EQ(circuit.ft_cache_hits, 2);
    ASSERT_EQ(circuit.ft_table.table.at(0.3).size(), 1u);
    EXPECT_EQ(circuit.ft_table.table.at(0.3)[0].dist, 0.02);  // the required distance
}

TEST_F(FtWindow, SolovayKitaevModeIsAnnounced) {
    use_search(fake_T_search);
    LineOfGates line = line_of({rot(RZ, 0.3)});
    convert(line, 0.02, 3);
    EXPECT_NE(printed.find("Cache miss! Do S-K: 3\n"), std::string::npos) << printed;
    EXPECT_EQ(search_log.mode, 3);
}

TEST_F(FtWindow, SearchWithoutResultKeepsTheGatesAndCachesNothing) {
    use_search(fake_empty_search);
    LineOfGates line = line_of({rot(RZ, 0.3), Gate(CNOT, 0, 0, 0, 0, 1, 6), rot(RZ, 0.3),
                                rot(RX, 0.1), Gate(CNOT, 0, 0, 0, 0, 1, 7), rot(RY, std::nan(""))});
    const LineOfGates before = line;
    convert(line, 0.02, 0);
    EXPECT_EQ(kinds_of(line), kinds_of(before));
    auto a = line.gates.cbegin();
    auto b = before.gates.cbegin();
    for (; a != line.gates.end(); ++a, ++b) EXPECT_EQ(a->index, b->index);
    EXPECT_TRUE(circuit.ft_table.table.empty());
    EXPECT_EQ(circuit.ft_cache_misses, 3);
    EXPECT_EQ(circuit.ft_cache_hits, 0);
    EXPECT_EQ(search_log.calls, 2);  // a NaN angle is not searched
    size_t reports = 0;
    for (size_t p = printed.find("Error! FT conversion found no sequence"); p != std::string::npos;
         p = printed.find("Error! FT conversion found no sequence", p + 1))
        ++reports;
    EXPECT_EQ(reports, 3u) << printed;
    EXPECT_EQ(circuit.ft_unconverted, 4);  // one, two in the mixed window, and the NaN
}

// ---- Mixed windows ----

TEST_F(FtWindow, MixedWindowIsReplacedWholeAndLogged) {
    use_search(fake_T_search);
    const std::string dir = testenv::make_scratch_dir("ft_mixed", false);
    testenv::ScopedDirectory inside(dir);
    testenv::write_file("ft_angle_analysis.txt", "earlier\n");
    LineOfGates line = line_of({rot(RZ, 0.3), Gate(H, 0, 0, 0, -1, 0, 4), rot(RY, 0.2)});
    const LineOfGates before = line;
    convert(line, 0.02, 0);
    const std::string log = testenv::read_file("ft_angle_analysis.txt");
    inside.leave();
    EXPECT_EQ(log, "earlier\n3  0.3\n7  0\n2  0.2\n");
    EXPECT_NE(printed.find("Mixed rotation, must do FT conversion!\n"), std::string::npos);
    EXPECT_EQ(kinds_of(line), (Kinds{IN, T, OUT}));
    EXPECT_EQ(circuit.ft_cache_misses, 1);
    EXPECT_TRUE(circuit.ft_table.table.empty());
    // The search target is the transpose of the window's operator (exact search: phase kept).
    const sim::Unitary window = body_unitary(before);
    for (unsigned r = 0; r < 2; ++r)
        for (unsigned c = 0; c < 2; ++c)
            EXPECT_NEAR(std::abs(search_log.target(r, c) - window.at(c, r)), 0, 1e-12);
}

TEST_F(FtWindow, MixedWindowIsNormalisedToDeterminantOneForSolovayKitaev) {
    use_search(fake_T_search);
    const std::string dir = testenv::make_scratch_dir("ft_mixed_sk", false);
    testenv::ScopedDirectory inside(dir);
    LineOfGates line = line_of({rot(RZ, 0.3), Gate(H, 0, 0, 0, -1, 0, 4), rot(RX, 0.2)});
    const LineOfGates before = line;
    convert(line, 0.02, 2);
    inside.leave();
    EXPECT_NEAR(std::abs(search_log.target.Determinant() - 1.0), 0, 1e-12);
    sim::Unitary target = sim::Unitary::identity(1);
    for (unsigned r = 0; r < 2; ++r)
        for (unsigned c = 0; c < 2; ++c) target.at(c, r) = search_log.target(r, c);
    EXPECT_TRUE(sim::equal_up_to_phase(target, body_unitary(before), 1e-12));
}

TEST(FtWindowMatrix, EveryOneQubitKindEntersTheProductTransposed) {
    GraphCircuit circuit("ft_matrix", FTS, qec_none, 0);
    const std::string dir = testenv::make_scratch_dir("ft_matrix", false);
    testenv::ScopedDirectory inside(dir);
    LineOfGates line = line_of(
        {Gate(T, 0, 0, 0, -1, 0, 2), Gate(S_dag, 0, 0, 0, -1, 0, 3), rot(RY, 0.7),
         Gate(X, 0, 0, 0, -1, 0, 4), Gate(Y, 0, 0, 0, -1, 0, 5), Gate(RXY, 0.3, 1.1, 0, -1, 0, 6),
         Gate(ASQU, 0.4, 0.9, -1.3, -1, 0, 7), rot(RX, 1.3), Gate(S, 0, 0, 0, -1, 0, 8),
         Gate(Z, 0, 0, 0, -1, 0, 9), Gate(T_dag, 0, 0, 0, -1, 0, 10), Gate(H, 0, 0, 0, -1, 0, 11),
         rot(RZ, -0.6), Gate(I, 0, 0, 0, -1, 0, 12)});
    testing::internal::CaptureStdout();
    const Matrix2 m = circuit.convert_matrix(line.gates, std::next(line.gates.begin()),
                                             std::prev(line.gates.end()));
    const std::string printed = testing::internal::GetCapturedStdout();
    inside.leave();
    EXPECT_EQ(printed.find("none support"), std::string::npos);
    const sim::Unitary window = body_unitary(line);
    for (unsigned r = 0; r < 2; ++r)
        for (unsigned c = 0; c < 2; ++c)
            EXPECT_NEAR(std::abs(m(r, c) - window.at(c, r)), 0, 1e-12) << r << c;
}

// ---- Real searches: what is inserted lies within the threshold ----

struct SearchCase {
    Gate_type kind;
    double angle;
};

class FtSearchDistance : public testing::TestWithParam<SearchCase> {};

TEST_P(FtSearchDistance, ExhaustiveSearchResultIsWithinThreshold) {
    const double threshold = 1e-2;
    const SearchCase param = GetParam();
    GraphCircuit circuit("ft_search", FTS, qec_none, 0);
    LineOfGates line = line_of({rot(param.kind, param.angle)});
    testing::internal::CaptureStdout();
    circuit.convert_1Q_window_to_FT(line, threshold, 0);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(circuit.ft_cache_misses, 1);
    const std::string& seq = circuit.ft_table.table.at(param.angle).at(0).seq;
    EXPECT_LE(fttest::md_tri_to_rotation(seq, RZ, param.angle), threshold) << seq;
    // What the line now holds, by an independent product.
    const sim::Unitary want = fttest::rotation_unitary(param.kind, param.angle);
    EXPECT_LE(fttest::md_tri_between(body_unitary(line), want), threshold) << seq;
    EXPECT_LE(sim::operator_distance_up_to_phase(body_unitary(line), want),
              std::sqrt(2.0) * threshold)
        << seq;
    for (const Gate& g : line.gates)
        EXPECT_TRUE(g.type == IN || g.type == OUT ||
                    (g.type >= X && g.type <= T_dag && g.type != Y) || g.type == I)
            << g.type;
}

std::vector<SearchCase> search_cases() {
    std::vector<SearchCase> cases = {{RZ, 0.5}, {RZ, -0.5}, {RX, 0.125}, {RY, -0.375}, {RZ, 1e-3}};
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> angle(-0.5, 0.5);
    for (Gate_type kind : {RX, RY, RZ}) cases.push_back({kind, angle(rng)});
    return cases;
}

std::string search_case_name(const testing::TestParamInfo<SearchCase>& info) {
    std::string name =
        gate_keyword(info.param.kind) + std::string("_") + std::to_string(info.index);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Angles, FtSearchDistance, testing::ValuesIn(search_cases()),
                         search_case_name);

TEST(FtMixedSearch, ExhaustiveSearchOnAMixedWindowIsWithinThreshold) {
    const double threshold = 1e-2;
    GraphCircuit circuit("ft_mixed_search", FTS, qec_none, 0);
    const std::string dir = testenv::make_scratch_dir("ft_mixed_search", false);
    testenv::ScopedDirectory inside(dir);
    LineOfGates line = line_of({rot(RZ, 0.3), Gate(H, 0, 0, 0, -1, 0, 4), rot(RY, -0.2),
                                Gate(T, 0, 0, 0, -1, 0, 5), rot(RX, 0.45)});
    const sim::Unitary want = body_unitary(line);
    testing::internal::CaptureStdout();
    circuit.convert_1Q_window_to_FT(line, threshold, 0);
    testing::internal::GetCapturedStdout();
    inside.leave();
    EXPECT_LE(fttest::md_tri_between(body_unitary(line), want), threshold);
}

TEST(FtSolovayKitaev, RotationsAndOddHadamardWindowsAreApproximated) {
    // Depth 3 of the recursion reaches about 5e-3 on these targets; a mixed window with an odd
    // number of H (determinant -1) must be normalised into SU(2) to get there as well.
    const double bound = 2e-2;
    GraphCircuit circuit("ft_sk", FTS, qec_none, 0);
    const std::string dir = testenv::make_scratch_dir("ft_sk", false);
    testenv::ScopedDirectory inside(dir);
    std::vector<std::vector<Gate>> windows = {
        {rot(RZ, 0.3)},
        {rot(RX, -0.45)},
        {rot(RY, 0.2)},
        {rot(RZ, 0.3), Gate(H, 0, 0, 0, -1, 0, 4), rot(RX, 0.2)},
        {rot(RY, -0.35), Gate(H, 0, 0, 0, -1, 0, 4), rot(RZ, 0.15), Gate(T, 0, 0, 0, -1, 0, 5),
         rot(RX, 0.4), Gate(H, 0, 0, 0, -1, 0, 6), Gate(H, 0, 0, 0, -1, 0, 7)},
    };
    testing::internal::CaptureStdout();
    for (const auto& body : windows) {
        LineOfGates line = line_of(body);
        const sim::Unitary want = body_unitary(line);
        circuit.convert_1Q_window_to_FT(line, bound, 3);
        EXPECT_LE(fttest::md_tri_between(body_unitary(line), want), bound) << body.size();
        EXPECT_GT(line.gates.size(), 100u);  // a sequence was inserted
    }
    testing::internal::GetCapturedStdout();
    inside.leave();
}

TEST(FtConvertCircuit, LinesAreConvertedAroundTwoQubitGates) {
    const double threshold = 1e-2;
    GraphCircuit circuit("ft_circuit", FTS, qec_none, 0);
    circuit.set_dummy_node(2);
    circuit.add_gate(RZ, 0, 2.3, 0, 0);
    circuit.add_gate(H, 1, 0, 0, 0);
    circuit.add_gate(CNOT, 0, 1, 0);
    circuit.add_gate(RX, 1, -0.7, 0, 0);
    circuit.add_gate(RZ, 0, 5.7, 0, 0);
    const sim::Unitary before = sim::circuit_unitary(circuit);
    testing::internal::CaptureStdout();
    circuit.convert_FT(threshold, 0);
    circuit.convert_to_CTL();
    testing::internal::GetCapturedStdout();
    const int windows = circuit.ft_cache_hits + circuit.ft_cache_misses;
    EXPECT_EQ(windows, 3);
    EXPECT_LE(sim::operator_distance_up_to_phase(sim::circuit_unitary(circuit), before),
              std::sqrt(2.0) * windows * threshold);
    for (int q = 0; q < 2; ++q) {
        LineOfGates line;
        circuit.copy_a_line(q, line);
        for (const Gate& g : line.gates)
            EXPECT_TRUE(g.type == IN || g.type == OUT || g.type == CNOT ||
                        ((g.type == RX || g.type == RY || g.type == RZ) &&
                         g.angle == std::floor(g.angle)) ||
                        (g.type >= X && g.type <= T_dag && g.type != Y) || g.type == I)
                << g.type << " " << g.angle;
    }
}

TEST(FtConvertCircuitDeath, BadSettingsAndMissingCacheEndTheProgram) {
    GraphCircuit circuit("ft_circuit", FTS, qec_none, 0);
    circuit.set_dummy_node(1);
    circuit.add_gate(RZ, 0, 0.3, 0, 0);
    EXPECT_EXIT(circuit.convert_FT(-1e-3, 0), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(circuit.convert_FT(1e-2, -2), testing::ExitedWithCode(1), "");
    const std::string dir = testenv::make_scratch_dir("ft_no_cache", false);
    testenv::ScopedDirectory inside(dir);
    EXPECT_EXIT(circuit.convert_FT(1e-2, 0), testing::ExitedWithCode(1), "");
    inside.leave();
}

// ---- The number-theoretic method ----

TEST_F(FtWindow, GridMissIsSynthesisedCachedAndReusedWithinThreshold) {
    use_search(&fake_T_search);  // the grid method must not call the mode searches
    const double threshold = 1e-8;
    LineOfGates line = line_of({rot(RZ, 0.3), Gate(CNOT, 0, 0, 0, 1, 0, 11), rot(RX, 0.3),
                                Gate(CNOT, 0, 0, 0, 1, 0, 12), rot(RZ, -0.3)});
    const sim::Unitary before = body_unitary(line);
    convert(line, threshold, 0, FtMethod::NumberTheoretic);
    EXPECT_EQ(search_log.calls, 0);
    EXPECT_EQ(circuit.ft_cache_misses, 1);
    EXPECT_EQ(circuit.ft_cache_hits, 2);  // RX(0.3) wraps the entry, RZ(−0.3) inverts it
    EXPECT_NE(printed.find("Cache miss! Do number-theoretic FT synthesis!"), std::string::npos);
    ASSERT_EQ(circuit.ft_table.table.count(0.3), 1u);
    EXPECT_EQ(circuit.ft_table.table[0.3].back().dist, threshold);
    for (const Gate& g : line.gates) EXPECT_FALSE(is_fractional_rotation(g));
    EXPECT_LE(sim::operator_distance_up_to_phase(body_unitary(line), before),
              3 * std::sqrt(2.0) * threshold + 1e-12);
}

TEST_F(FtWindow, GridMixedWindowIsReplacedWholeWithinThreshold) {
    const double threshold = 1e-6;
    LineOfGates line = line_of({rot(RZ, 0.3), Gate(H, 0, 0, 0, -1, 0, 11), rot(RY, -1.7),
                                Gate(T, 0, 0, 0, -1, 0, 12), rot(RX, 0.45)});
    const sim::Unitary before = body_unitary(line);
    convert(line, threshold, 0, FtMethod::NumberTheoretic);
    EXPECT_EQ(circuit.ft_cache_misses, 1);
    EXPECT_NE(printed.find("Mixed rotation, must do FT conversion!"), std::string::npos);
    for (const Gate& g : line.gates) EXPECT_FALSE(is_fractional_rotation(g));
    EXPECT_LE(sim::operator_distance_up_to_phase(body_unitary(line), before),
              std::sqrt(2.0) * threshold + 1e-12);
}

// Letters (time order) of a converted line of H, T, S, X, Z and their adjoints, and of whole Z
// rotations (T^k up to phase).
std::string letters_of(const std::vector<Gate>& records) {
    std::string letters;
    for (const Gate& g : records) {
        switch (g.type) {
            case H:
                letters += 'H';
                break;
            case T:
                letters += 'T';
                break;
            case T_dag:
                letters += 't';
                break;
            case S:
                letters += 'S';
                break;
            case S_dag:
                letters += 's';
                break;
            case X:
                letters += 'X';
                break;
            case Z:
                letters += 'Z';
                break;
            case RZ: {
                const long k = std::lround(g.angle);
                EXPECT_EQ(g.angle, static_cast<double>(k)) << "a fractional rotation is left";
                letters += std::string(static_cast<size_t>(((k % 8) + 8) % 8), 'T');
                break;
            }
            default:
                break;  // markers and I
        }
    }
    return letters.empty() ? "I" : letters;
}

// Negative and tiny angles, whose normalisation into [0, 8) would round (−1e-17 + 8 is 8), are
// converted within the threshold of the angle as read, in extended precision.
TEST(FtConvertGrid, NegativeAndTinyAnglesMeetFineThresholds) {
    const double angles[] = {-1e-16, -3.7e-17, -1e-17, -2.5e-18, -8 - 4e-16, 6e-18, -1.3e-15};
    for (double threshold : {1e-16, 1e-17, 1e-18}) {
        for (double a : angles) {
            GraphCircuit circuit("ft_grid_tiny", FTS, qec_none, 0);
            circuit.set_dummy_node(1);
            circuit.add_gate(RZ, 0, a, 0, 0);
            testing::internal::CaptureStdout();
            circuit.convert_FT(threshold, 0, FtMethod::NumberTheoretic);
            testing::internal::GetCapturedStdout();
            std::vector<Gate> records;
            circuit.copy_a_line(0, records);
            const std::string letters = letters_of(records);
            const double d = grid::ft_sequence_distance_to_rz(letters, a);
            EXPECT_GE(d, 0) << letters;
            EXPECT_LE(d, threshold) << "angle " << a << " threshold " << threshold;
            EXPECT_EQ(circuit.ft_unconverted, 0);
        }
    }
}

TEST(FtConvertHint, FineThresholdsForTheExhaustiveSearchPrintOneHint) {
    // A circuit without fractional rotations: no search runs, only the settings matter.
    const struct {
        double threshold;
        int mode;
        FtMethod method;
        bool hint;
    } cases[] = {{1e-4, 0, FtMethod::ByMode, true},
                 {1e-3, 0, FtMethod::ByMode, false},
                 {1e-4, 3, FtMethod::ByMode, false},
                 {1e-4, 0, FtMethod::NumberTheoretic, false}};
    for (const auto& c : cases) {
        GraphCircuit circuit("ft_hint", FTS, qec_none, 0);
        circuit.set_dummy_node(1);
        circuit.add_gate(H, 0, 0, 0, 0);
        testing::internal::CaptureStdout();
        circuit.convert_FT(c.threshold, c.mode, c.method);
        const std::string printed = testing::internal::GetCapturedStdout();
        const size_t at = printed.find("Hint: ");
        EXPECT_EQ(at != std::string::npos, c.hint) << c.threshold << " " << c.mode << printed;
        if (at != std::string::npos) {
            EXPECT_NE(printed.find("grid", at), std::string::npos);
            EXPECT_EQ(printed.find("Hint: ", at + 1), std::string::npos);
        }
    }
}

TEST(FtConvertCircuitDeath, GridRefusesThresholdsOutsideItsRange) {
    GraphCircuit circuit("ft_circuit", FTS, qec_none, 0);
    circuit.set_dummy_node(1);
    circuit.add_gate(RZ, 0, 0.3, 0, 0);
    EXPECT_EXIT(circuit.convert_FT(0, 0, FtMethod::NumberTheoretic), testing::ExitedWithCode(1),
                "");
    EXPECT_EXIT(circuit.convert_FT(1e-30, 0, FtMethod::NumberTheoretic), testing::ExitedWithCode(1),
                "");
    EXPECT_EXIT(circuit.convert_FT(5e-21, 0, FtMethod::NumberTheoretic), testing::ExitedWithCode(1),
                "");
}

// ---- read_HT_string ----

TEST(FtReadHTString, LettersBecomeHAndZRotationsWithPhase) {
    const std::string dir = testenv::make_scratch_dir("ft_ht", false);
    testenv::write_file(dir + "/seq.txt", "HTt\nTX");
    LineOfGates line;
    testing::internal::CaptureStdout();
    fttest::read_HT_string((dir + "/seq.txt").c_str(), line);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Error: read_HT_string, gate not supported: X"), std::string::npos);
    EXPECT_EQ(kinds_of(line), (Kinds{IN, H, RZ, RZ, RZ, OUT}));
    EXPECT_DOUBLE_EQ(line.phase, 0.125);
    EXPECT_TRUE(sim::equal_exact(body_unitary(line), fttest::sequence_unitary("HTtT")));
    for (const Gate& g : line.gates) EXPECT_EQ(g.index, -100);
}

TEST(FtReadHTStringDeath, MissingFileEndsTheProgram) {
    LineOfGates line;
    EXPECT_EXIT(fttest::read_HT_string("no_such_sequence_file.txt", line),
                testing::ExitedWithCode(1), "");
}

}  // namespace
