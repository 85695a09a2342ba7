// The line editor under the one-qubit stages: its undo journal restores the line when no
// measurement was accepted, and the whole-line cost it hands from stage to stage stays the cost
// of the line as it is.
#include "optimise/line_editor.h"

#include <gtest/gtest.h>

#include <random>

#include "circuit/graph_circuit.h"
#include "optimise/line_reduction.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/random_circuits.h"

using line::Strategy;
using testview::dump;

namespace {

TEST(LineEditor, FinishWithoutAcceptedMeasurementRestoresTheLine) {
    GraphCircuit c("editor", SC, qec_none, 0);
    c.set_dummy_node(1);
    LineOfGates L = testgates::make_line({{RX, 1}, {RY, 2}, {RZ, 3}, {H, 0}});
    L.phase = 0.5;
    LineOfGates orig = L;
    const CostModel cost = c.cost_model();
    line::LineEditor ed(cost, L, -1, -1, Measure::GateCount, Strategy::Incremental,
                        line::BestCopy::Keep, line::Acceptance::Strict);
    auto a = ed.first();
    auto b = std::next(a);
    auto d = std::next(b, 2);
    ed.move_before(a, d);
    ed.measure();  // equal cost: not accepted under Strict
    ed.set_rotation(b, RX, 5);
    ed.erase(std::next(b));
    ed.erase(b);
    ed.add_phase(1);
    ed.finish();
    EXPECT_EQ(L, orig) << dump(L);
}

// The whole-line cost handed from stage to stage must stay the cost of the line as it is.
TEST(KnownCost, StaysTheCostOfTheLine) {
    GraphCircuit c("known", SC, qec_none, 0);
    c.set_dummy_node(2);
    std::mt19937 rng(5);
    for (int trial = 0; trial < 200; ++trial) {
        LineOfGates L = testrandom::random_line(rng, trial % 40);
        line::KnownCost k{
            true, Measure::GateCount,
            line::whole_line_cost(c.cost_model(), L.gates, Measure::GateCount, Strategy::Literal)};
        for (int step = 0; step < 8; ++step) {
            switch ((trial + step) % 6) {
                case 0:
                    line::simplify1(c.cost_model(), L, -1, -1, measure_of_mode(0),
                                    Strategy::Incremental, &k);
                    break;
                case 1:
                    line::simplify2(c.cost_model(), L, -1, -1, measure_of_mode(0),
                                    Strategy::Incremental, &k);
                    break;
                case 2:
                    line::simplify3(c.cost_model(), L, -1, -1, measure_of_mode(0),
                                    Strategy::Incremental, &k);
                    break;
                case 3:
                    line::interchange_xlzr(c.cost_model(), L, -1, -1, measure_of_mode(0),
                                           Strategy::Incremental, &k);
                    break;
                case 4:
                    line::interchange_xrzl(c.cost_model(), L, -1, -1, measure_of_mode(0),
                                           Strategy::Incremental, &k);
                    break;
                default:
                    line::simplify(c.cost_model(), L, -1, -1, measure_of_mode(0),
                                   Strategy::Incremental, &k);
                    break;
            }
            ASSERT_TRUE(k.valid);
            ASSERT_EQ(k.value, c.cost_model().window_cost(L.gates, -1, -1, Measure::GateCount))
                << dump(L);
        }
    }
}

}  // namespace
