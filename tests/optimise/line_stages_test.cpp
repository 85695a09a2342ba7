// The one-qubit stage operations on single lines: pinned edge cases, the unitary of random
// lines (with the phase each rewrite records), and the incremental strategy against the literal
// reference strategy.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "circuit/graph_circuit.h"
#include "optimise/line_reduction.h"
#include "optimise/line_test_util.h"
#include "support/unitary.h"

using line::Strategy;
using linetest::body;
using linetest::dump;
using linetest::make_line;
using Body = std::vector<std::pair<Gate_type, double>>;

namespace {

struct Circuit1 {
    GraphCircuit c;
    // Prices differ by kind, so that rewrites raise or lower the cost and the best copy matters.
    explicit Circuit1(PMD_type pmd = CTL) : c("line", pmd, qec_none, 0) {
        c.set_dummy_node(1);
        for (int k = 0; k < 30; ++k)
            c.cost_gate_count.table[Gate_type(k)] = std::vector<int>(9, 1 + k % 3);
    }
};

using Stage = std::function<void(GraphCircuit&, LineOfGates&, int mode, Strategy)>;

struct StageCase {
    const char* name;
    Stage run;
};

const StageCase kStages[] = {
    {"simplify", [](GraphCircuit& c, LineOfGates& L, int m,
                    Strategy s) { line::simplify(c.cost_model(), L, -1, -1, measure_of_mode(m), s); }},
    {"simplify1", [](GraphCircuit& c, LineOfGates& L, int m,
                     Strategy s) { line::simplify1(c.cost_model(), L, -1, -1, measure_of_mode(m), s); }},
    {"simplify2", [](GraphCircuit& c, LineOfGates& L, int m,
                     Strategy s) { line::simplify2(c.cost_model(), L, -1, -1, measure_of_mode(m), s); }},
    {"simplify3", [](GraphCircuit& c, LineOfGates& L, int m,
                     Strategy s) { line::simplify3(c.cost_model(), L, -1, -1, measure_of_mode(m), s); }},
    {"interchangeXLZR", [](GraphCircuit& c, LineOfGates& L, int m,
                           Strategy s) { line::interchange_xlzr(c.cost_model(), L, -1, -1, measure_of_mode(m), s); }},
    {"interchangeXRZL", [](GraphCircuit& c, LineOfGates& L, int m,
                           Strategy s) { line::interchange_xrzl(c.cost_model(), L, -1, -1, measure_of_mode(m), s); }},
};

class StageOnRandomLines
    : public testing::TestWithParam<std::tuple<int /*stage*/, int /*mode*/, PMD_type>> {};

TEST_P(StageOnRandomLines, KeepsUnitaryAndMatchesReference) {
    const StageCase& stage = kStages[std::get<0>(GetParam())];
    const int mode = std::get<1>(GetParam());
    Circuit1 circ(std::get<2>(GetParam()));
    std::mt19937 rng(1234 + std::get<0>(GetParam()) * 7 + mode);
    for (int trial = 0; trial < 300; ++trial) {
        LineOfGates before = linetest::random_line(rng, trial % 40);
        LineOfGates fast = before, literal = before;
        stage.run(circ.c, fast, mode, Strategy::Incremental);
        stage.run(circ.c, literal, mode, Strategy::Literal);
        ASSERT_TRUE(sim::equal_exact(sim::line_unitary(before), sim::line_unitary(fast)))
            << stage.name << " changed the unitary of\n  " << dump(before) << "\ninto\n  "
            << dump(fast);
        ASSERT_EQ(fast, literal) << stage.name << " differs from the reference on\n  "
                                 << dump(before) << "\nincremental " << dump(fast)
                                 << "\nliteral     " << dump(literal);
    }
}

INSTANTIATE_TEST_SUITE_P(AllStages, StageOnRandomLines,
                         testing::Combine(testing::Range(0, 6), testing::Values(0, 1),
                                          testing::Values(QD, SC, CTL)));

// ---- Pinned behaviour of simplify1 ----

struct PinnedCase {
    const char* name;
    Body input;
    Body output;
    double phase;
};

void PrintTo(const PinnedCase& c, std::ostream* os) {
    *os << c.name;
}

LineOfGates line_of(const Body& b) {
    LineOfGates L;
    L.gates.push_back(Gate(IN, 0, 0, 0, -1, 0, 0));
    int index = 10;
    for (auto [t, a] : b) L.gates.push_back(Gate(t, a, 0, 0, -1, 0, index++));
    L.gates.push_back(Gate(OUT, 0, 0, 0, -1, 0, 1));
    return L;
}

class Simplify1Pinned : public testing::TestWithParam<PinnedCase> {};

TEST_P(Simplify1Pinned, GivesTheExpectedLine) {
    Circuit1 circ;
    LineOfGates L = line_of(GetParam().input);
    LineOfGates orig = L;
    circ.c.simplify1(L, -1, -1, 0);
    EXPECT_EQ(body(L), GetParam().output) << dump(L);
    EXPECT_EQ(L.phase, GetParam().phase);
    EXPECT_TRUE(sim::equal_exact(sim::line_unitary(orig), sim::line_unitary(L)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Simplify1Pinned,
    testing::Values(PinnedCase{"RotationsSumToFullTurn", {{RZ, 3}, {RZ, 5}}, {}, 1},
                    PinnedCase{"NegativeAngleNormalised", {{RZ, -1}}, {{RZ, 7}}, -1},
                    PinnedCase{"FullTurnLeavesZeroRotation", {{RX, 8}}, {{RX, 0}}, 1},
                    PinnedCase{"HPairCancels", {{H, 0}, {H, 0}}, {}, 0},
                    PinnedCase{
                        "XHHKeepsAll", {{X, 0}, {H, 0}, {H, 0}}, {{X, 0}, {H, 0}, {H, 0}}, 0},
                    PinnedCase{"SThenSdagCancels", {{S, 0}, {S_dag, 0}}, {}, 0},
                    PinnedCase{"SdagThenSKept", {{S_dag, 0}, {S, 0}}, {{S_dag, 0}, {S, 0}}, 0},
                    PinnedCase{"TTBecomesS", {{T, 0}, {T, 0}}, {{S, 0}}, 0},
                    PinnedCase{"ZZBecomesNothing", {{Z, 0}, {Z, 0}, {RX, 1}}, {{RX, 1}}, 0},
                    PinnedCase{"SSSBecomesZS", {{S, 0}, {S, 0}, {S, 0}}, {{Z, 0}, {S, 0}}, 0},
                    PinnedCase{"IdentityAndZeroRemoved", {{I, 0}, {RY, 0}, {RY, 3}}, {{RY, 3}}, 0},
                    PinnedCase{"DifferentAxesKept", {{RX, 1}, {RY, 1}}, {{RX, 1}, {RY, 1}}, 0},
                    PinnedCase{"XXNotCancelled", {{X, 0}, {X, 0}}, {{X, 0}, {X, 0}}, 0}),
    [](const testing::TestParamInfo<PinnedCase>& info) { return info.param.name; });

// A window that opens at the line's IN marker (a critical-path run at the start of a line) is
// scanned without a complaint and with the same result as the whole line; a marker inside the
// window is still reported.
TEST(Simplify1Markers, OpeningInMarkerIsSilentAndOtherMarkersAreReported) {
    Circuit1 circ;
    const Body input = {{RZ, 3}, {H, 0}, {H, 0}, {RZ, 5}, {RX, -1}};
    LineOfGates whole = line_of(input);
    circ.c.simplify1(whole, -1, -1, 0);

    LineOfGates from_in = line_of(input);
    testing::internal::CaptureStdout();
    circ.c.simplify1(from_in, 0, 1, 0);  // IN has index 0, OUT index 1
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(body(from_in), body(whole)) << dump(from_in);
    EXPECT_EQ(from_in.phase, whole.phase);

    LineOfGates stray = line_of(input);
    stray.gates.insert(std::next(stray.gates.begin(), 4), Gate(IN, 0, 0, 0, -1, 0, 7));
    testing::internal::CaptureStdout();
    // Opens at the first H: the H pair cancels and the scan lands on the IN inside the window.
    circ.c.simplify1(stray, 11, 1, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error! GraphCircuit::&simplify1, gate not supported!\n");
}

// ---- Pinned behaviour of simplify2 and simplify3 ----

struct StagePinned {
    const char* name;
    int stage;  // 2 or 3
    Body input;
    Body output;
    double phase;
};
void PrintTo(const StagePinned& c, std::ostream* os) {
    *os << c.name;
}

class Simplify23Pinned : public testing::TestWithParam<StagePinned> {};

TEST_P(Simplify23Pinned, GivesTheExpectedLine) {
    Circuit1 circ;
    LineOfGates L = line_of(GetParam().input);
    LineOfGates orig = L;
    if (GetParam().stage == 2)
        circ.c.simplify2(L, -1, -1, 0);
    else
        circ.c.simplify3(L, -1, -1, 0);
    EXPECT_EQ(body(L), GetParam().output) << dump(L);
    EXPECT_EQ(L.phase, GetParam().phase);
    EXPECT_TRUE(sim::equal_exact(sim::line_unitary(orig), sim::line_unitary(L)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Simplify23Pinned,
    testing::Values(StagePinned{"HalfTurnsInOrder", 2, {{RX, 4}, {RY, 4}}, {{RZ, 4}}, 0},
                    StagePinned{"HalfTurnsOutOfOrder", 2, {{RY, 4}, {RX, 4}}, {{RZ, 4}}, 1},
                    StagePinned{
                        "ThreeHalfTurns", 2, {{RX, 4}, {RY, 4}, {RZ, 4}}, {{RZ, 4}, {RZ, 4}}, 0},
                    StagePinned{"HConjugatesRY", 3, {{H, 0}, {RY, 1}, {H, 0}}, {{RY, 7}}, -1},
                    StagePinned{"HConjugatesRX", 3, {{H, 0}, {RX, 3}, {H, 0}}, {{RZ, 3}}, 0},
                    StagePinned{"Family1PQP", 3, {{RX, 4}, {RY, 1}, {RX, 4}}, {{RY, -1}}, 1},
                    StagePinned{"Family4", 3, {{RX, 1}, {RY, 4}, {RX, 1}}, {{RY, 4}}, 0}),
    [](const testing::TestParamInfo<StagePinned>& info) { return info.param.name; });

// ---- Pinned behaviour of the interchange operations ----

TEST(Interchange, XrzlMovesHalfTurnRxRight) {
    Circuit1 circ;
    LineOfGates L = make_line({{RX, 4}, {RZ, 1}});
    circ.c.interchangeXRZL(L, -1, -1, 0);
    EXPECT_EQ(body(L), (Body{{RZ, -1}, {RX, 4}}));
}

TEST(Interchange, XlzrMovesRzRightThroughH) {
    Circuit1 circ;
    LineOfGates L = make_line({{RX, 3}, {H, 0}});
    LineOfGates orig = L;
    circ.c.interchangeXLZR(L, -1, -1, 0);
    EXPECT_EQ(body(L), (Body{{H, 0}, {RZ, 3}}));
    EXPECT_TRUE(sim::equal_exact(sim::line_unitary(orig), sim::line_unitary(L)));
}

TEST(Interchange, RxyPassesRz) {
    Circuit1 circ;
    LineOfGates L = make_line({{RZ, 3}});
    Gate rxy(RXY, 2, 1, 0, -1, 0, 50);
    L.gates.insert(std::prev(L.gates.end()), rxy);
    LineOfGates orig = L;
    circ.c.interchangeXLZR(L, -1, -1, 0);
    LineOfGates back = L;
    EXPECT_TRUE(sim::equal_exact(sim::line_unitary(orig), sim::line_unitary(L))) << dump(L);
    circ.c.interchangeXRZL(back, -1, -1, 0);
    EXPECT_TRUE(sim::equal_exact(sim::line_unitary(orig), sim::line_unitary(back))) << dump(back);
}

}  // namespace
