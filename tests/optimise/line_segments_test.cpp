// The segment-wise line reduction against the whole-line stages and the literal reference: the
// same written circuit, round after round with two-qubit reductions between, on every
// description, with the description's prices and with flat ones; and the lines it takes on.
#include "optimise/line_segments.h"

#include <gtest/gtest.h>

#include <random>

#include "circuit/graph_circuit.h"
#include "optimise/line_reduction.h"
#include "support/literal_line_reduction.h"
#include "support/machine_descriptions.h"
#include "support/random_circuits.h"
#include "support/unitary.h"

namespace {

using line::LineWalk;

// Every gate kind priced `price` on every description.
void price_flat(GraphCircuit& c, int price) {
    for (int k = 0; k < 30; ++k) c.cost_gate_count.table[Gate_type(k)] = std::vector<int>(9, price);
}

enum class Prices { Table, FlatOne, FlatZero };

struct Trio {
    GraphCircuit by_segment, whole_line, literal;
    explicit Trio(PMD_type pmd)
        : by_segment("s", pmd, qec_none, 0),
          whole_line("w", pmd, qec_none, 0),
          literal("l", pmd, qec_none, 0) {}
    template <typename F>
    void each(F f) {
        f(by_segment);
        f(whole_line);
        f(literal);
    }
};

class SegmentWalkOnEveryPmd : public testing::TestWithParam<PMD_type> {};

// Rotations and H only, so that the segment walk takes most lines (on the descriptions whose
// three rotation prices agree, and on all of them with flat prices); dense two-qubit gates on
// few lines give many short segments and movements across them.
TEST_P(SegmentWalkOnEveryPmd, WritesWhatTheWholeLineStagesWrite) {
    using testrandom::Kinds;
    for (Prices prices : {Prices::Table, Prices::FlatOne, Prices::FlatZero}) {
        for (unsigned seed = 0; seed < 16; ++seed) {
            const Kinds kinds = seed % 2 == 0 ? Kinds::Rotations : Kinds::RotationsAndH;
            Trio t(GetParam());
            const int qubits = 2 + static_cast<int>(seed % 3);
            t.each([&](GraphCircuit& c) {
                std::mt19937 rng(900 + seed);
                c.set_dummy_node(qubits);
                if (prices == Prices::FlatOne) price_flat(c, 1);
                if (prices == Prices::FlatZero) price_flat(c, 0);
                testrandom::fill_random_circuit(c, rng, 150, kinds);
            });
            const sim::Unitary before = sim::circuit_unitary(t.by_segment);
            for (int round = 0; round < 3; ++round) {
                line::reduce_lines(t.by_segment, t.by_segment.cost_model(),
                                   t.by_segment.line_reduction_memo, LineWalk::BySegment);
                line::reduce_lines(t.whole_line, t.whole_line.cost_model(),
                                   t.whole_line.line_reduction_memo, LineWalk::WholeLine);
                reference::reduce_lines_literal(t.literal);
                const std::string expected = t.literal.output_circuit_in_string();
                ASSERT_EQ(t.whole_line.output_circuit_in_string(), expected)
                    << "seed " << seed << " round " << round;
                ASSERT_EQ(t.by_segment.output_circuit_in_string(), expected)
                    << "seed " << seed << " round " << round;
                ASSERT_EQ(double(t.by_segment.global_phase), double(t.literal.global_phase));
                t.each([](GraphCircuit& c) { c.reduce2Qgate(); });
            }
            EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(t.by_segment)))
                << "seed " << seed;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllPmds, SegmentWalkOnEveryPmd, testing::ValuesIn(testpmd::kAllPmds),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

LineOfGates line_of(GraphCircuit& c, int q) {
    LineOfGates L;
    c.copy_a_line(q, L);
    return L;
}

TEST(SegmentWalk, TakesOnlyLinesWhereItIsExact) {
    GraphCircuit sc("sc", SC, qec_none, 0);
    sc.set_dummy_node(2);
    sc.add_gate(RX, 0, 3, 0, 0);
    sc.add_gate(CNOT, 0, 1, 0);
    sc.add_gate(RZ, 0, 2, 0, 0);
    sc.add_gate(RY, 1, 6, 0, 0);
    const CostModel cost = sc.cost_model();
    EXPECT_TRUE(line::segment_walk_applies(cost, line_of(sc, 0), Measure::GateCount));
    EXPECT_TRUE(line::segment_walk_applies(cost, line_of(sc, 1), Measure::GateCount));
    EXPECT_FALSE(line::segment_walk_applies(cost, line_of(sc, 0), Measure::LogicalOps));

    GraphCircuit qd("qd", QD, qec_none, 0);  // RY is priced apart from RX and RZ
    qd.set_dummy_node(1);
    qd.add_gate(RX, 0, 3, 0, 0);
    EXPECT_FALSE(line::segment_walk_applies(qd.cost_model(), line_of(qd, 0), Measure::GateCount));

    for (Gate_type other : {H, S, X, RXY}) {
        GraphCircuit c("other", SC, qec_none, 0);
        c.set_dummy_node(1);
        c.add_gate(RX, 0, 3, 0, 0);
        c.add_gate(other, 0, 2, 1, 0);
        EXPECT_EQ(line::segment_walk_applies(c.cost_model(), line_of(c, 0), Measure::GateCount),
                  other == H)
            << gate_keyword(other);
    }

    GraphCircuit negative("negative", SC, qec_none, 0);
    negative.set_dummy_node(1);
    negative.add_gate(RX, 0, 3, 0, 0);
    price_flat(negative, -1);
    EXPECT_FALSE(line::segment_walk_applies(negative.cost_model(), line_of(negative, 0),
                                            Measure::GateCount));
}

// A long line of a few thousand records in short segments, reduced once more after a change
// near its middle: the second call must see what that change set off along the line.
TEST(SegmentWalk, LongLinesAfterALocalChange) {
    for (PMD_type pmd : {SC, CTL, IT}) {
        Trio t(pmd);
        t.each([](GraphCircuit& c) {
            std::mt19937 rng(42);
            c.set_dummy_node(2);
            testrandom::fill_random_circuit(c, rng, 3000, testrandom::Kinds::RotationsAndH);
        });
        for (int round = 0; round < 2; ++round) {
            line::reduce_lines(t.by_segment, t.by_segment.cost_model(),
                               t.by_segment.line_reduction_memo, LineWalk::BySegment);
            reference::reduce_lines_literal(t.literal);
            ASSERT_EQ(t.by_segment.output_circuit_in_string(), t.literal.output_circuit_in_string())
                << pmd_keyword(pmd) << " round " << round;
            t.each([](GraphCircuit& c) { c.reduce2Qgate(); });
        }
    }
}

// Rounds of the line reduction alone on long lines: the cap on repetitions leaves work for the
// next round, which resumes from what the walk kept of each line (both directions in turn).
TEST(SegmentWalk, ResumesRoundAfterRound) {
    for (PMD_type pmd : {SC, CTL, IT}) {
        for (unsigned seed = 0; seed < 3; ++seed) {
            Trio t(pmd);
            t.each([&](GraphCircuit& c) {
                std::mt19937 rng(7 + seed);
                c.set_dummy_node(2 + static_cast<int>(seed));
                testrandom::fill_random_circuit(
                    c, rng, 1200,
                    seed == 1 ? testrandom::Kinds::Rotations : testrandom::Kinds::RotationsAndH);
            });
            for (int round = 0; round < 8; ++round) {
                line::reduce_lines(t.by_segment, t.by_segment.cost_model(),
                                   t.by_segment.line_reduction_memo, LineWalk::BySegment);
                reference::reduce_lines_literal(t.literal);
                ASSERT_EQ(t.by_segment.output_circuit_in_string(),
                          t.literal.output_circuit_in_string())
                    << pmd_keyword(pmd) << " seed " << seed << " round " << round;
                ASSERT_EQ(double(t.by_segment.global_phase), double(t.literal.global_phase));
            }
        }
    }
}

}  // namespace
