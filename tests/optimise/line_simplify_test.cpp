// The simplify stages on single lines: the unitary of random lines (with the phase each rewrite
// records) and the incremental strategy against the literal reference, and pinned edge cases.
#include <gtest/gtest.h>

#include "circuit/graph_circuit.h"
#include "optimise/line_reduction.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/line_stage_check.h"
#include "support/unitary.h"

using line::Strategy;
using testgates::body;
using testgates::make_line;
using testview::dump;
using Body = std::vector<std::pair<Gate_type, double>>;

namespace {

const testline::StageCase kStages[] = {
    {"simplify", 0,
     [](GraphCircuit& c, LineOfGates& L, int m, Strategy s) {
         line::simplify(c.cost_model(), L, -1, -1, measure_of_mode(m), s);
     }},
    {"simplify1", 1,
     [](GraphCircuit& c, LineOfGates& L, int m, Strategy s) {
         line::simplify1(c.cost_model(), L, -1, -1, measure_of_mode(m), s);
     }},
    {"simplify2", 2,
     [](GraphCircuit& c, LineOfGates& L, int m, Strategy s) {
         line::simplify2(c.cost_model(), L, -1, -1, measure_of_mode(m), s);
     }},
    {"simplify3", 3,
     [](GraphCircuit& c, LineOfGates& L, int m, Strategy s) {
         line::simplify3(c.cost_model(), L, -1, -1, measure_of_mode(m), s);
     }},
};

class SimplifyOnRandomLines
    : public testing::TestWithParam<std::tuple<int /*stage*/, int /*mode*/, PMD_type>> {};

TEST_P(SimplifyOnRandomLines, KeepsUnitaryAndMatchesReference) {
    testline::check_stage_on_random_lines(kStages[std::get<0>(GetParam())], std::get<1>(GetParam()),
                                          std::get<2>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(SimplifyStages, SimplifyOnRandomLines,
                         testing::Combine(testing::Range(0, 4), testing::Values(0, 1),
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

class Simplify1Pinned : public testing::TestWithParam<PinnedCase> {};

TEST_P(Simplify1Pinned, GivesTheExpectedLine) {
    testline::PricedLine circ;
    LineOfGates L = make_line(GetParam().input);
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
    testline::PricedLine circ;
    const Body input = {{RZ, 3}, {H, 0}, {H, 0}, {RZ, 5}, {RX, -1}};
    LineOfGates whole = make_line(input);
    circ.c.simplify1(whole, -1, -1, 0);

    LineOfGates from_in = make_line(input);
    testing::internal::CaptureStdout();
    circ.c.simplify1(from_in, 0, 1, 0);  // IN has index 0, OUT index 1
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(body(from_in), body(whole)) << dump(from_in);
    EXPECT_EQ(from_in.phase, whole.phase);

    LineOfGates stray = make_line(input);
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
    testline::PricedLine circ;
    LineOfGates L = make_line(GetParam().input);
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

}  // namespace
