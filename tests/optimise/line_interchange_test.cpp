// The interchange stages on single lines: the unitary of random lines and the incremental
// strategy against the literal reference, and pinned moves.
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
    {"interchangeXLZR", 4,
     [](GraphCircuit& c, LineOfGates& L, int m, Strategy s) {
         line::interchange_xlzr(c.cost_model(), L, -1, -1, measure_of_mode(m), s);
     }},
    {"interchangeXRZL", 5,
     [](GraphCircuit& c, LineOfGates& L, int m, Strategy s) {
         line::interchange_xrzl(c.cost_model(), L, -1, -1, measure_of_mode(m), s);
     }},
};

class InterchangeOnRandomLines
    : public testing::TestWithParam<std::tuple<int /*stage*/, int /*mode*/, PMD_type>> {};

TEST_P(InterchangeOnRandomLines, KeepsUnitaryAndMatchesReference) {
    testline::check_stage_on_random_lines(kStages[std::get<0>(GetParam())], std::get<1>(GetParam()),
                                          std::get<2>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(InterchangeStages, InterchangeOnRandomLines,
                         testing::Combine(testing::Range(0, 2), testing::Values(0, 1),
                                          testing::Values(QD, SC, CTL)));

// ---- Pinned behaviour of the interchange operations ----

TEST(Interchange, XrzlMovesHalfTurnRxRight) {
    testline::PricedLine circ;
    LineOfGates L = make_line({{RX, 4}, {RZ, 1}});
    circ.c.interchangeXRZL(L, -1, -1, 0);
    EXPECT_EQ(body(L), (Body{{RZ, -1}, {RX, 4}}));
}

TEST(Interchange, XlzrMovesRzRightThroughH) {
    testline::PricedLine circ;
    LineOfGates L = make_line({{RX, 3}, {H, 0}});
    LineOfGates orig = L;
    circ.c.interchangeXLZR(L, -1, -1, 0);
    EXPECT_EQ(body(L), (Body{{H, 0}, {RZ, 3}}));
    EXPECT_TRUE(sim::equal_exact(sim::line_unitary(orig), sim::line_unitary(L)));
}

TEST(Interchange, RxyPassesRz) {
    testline::PricedLine circ;
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

TEST(Movement, RxPassesCnotTargetOnlyWhenCostAllows) {
    for (PMD_type pmd : {SC, QD, CTL}) {
        GraphCircuit c("move", pmd, qec_none, 0);
        c.set_dummy_node(2);
        c.add_gate(RX, 1, 1, 0, 0);
        c.add_gate(CNOT, 0, 1, 0);
        LineOfGates L;
        c.copy_a_line(1, L);
        c.movementXRZL(1, L, -1, -1, 0);
        // The move leaves the gate count equal: accepted, except on QD and CTL.
        auto second = std::next(L.gates.begin());
        EXPECT_EQ(second->type, (pmd == SC) ? CNOT : RX) << pmd_keyword(pmd);
    }
}

}  // namespace
