// Named one-qubit gates become rotations, with the phase that keeps the unitary exact.
#include <gtest/gtest.h>

#include <random>

#include "circuit/graph_circuit.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/random_circuits.h"
#include "support/unitary.h"

using testgates::body;
using testview::dump;
using Body = std::vector<std::pair<Gate_type, double>>;

namespace {

Body line_body(GraphCircuit& c, int q) {
    LineOfGates L;
    c.copy_a_line(q, L);
    return body(L);
}

TEST(NamedGateDecomposition, TwoTGatesBecomeTwoRotationsWithoutMerging) {
    GraphCircuit c("t", SC, qec_none, 0);
    c.set_dummy_node(1);
    c.add_gate(T, 0, 0, 0, 0);
    c.add_gate(T, 0, 0, 0, 0);
    c.decompose_XYZSTH_gate();
    EXPECT_EQ(line_body(c, 0), (Body{{RZ, 1}, {RZ, 1}}));
    EXPECT_EQ(c.global_phase, 0.25);
}

TEST(NamedGateDecomposition, TwoQubitOnlyLineUnchanged) {
    GraphCircuit c("cx", SC, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(CNOT, 0, 1, 0);
    c.decompose_XYZSTH_gate();
    EXPECT_EQ(line_body(c, 0), (Body{{CNOT, 0}}));
    EXPECT_EQ(c.global_phase, 0.0);
}

TEST(NamedGateDecomposition, PositiveLevelKeepsH) {
    GraphCircuit c("level", SC, qec_none, 1);
    c.set_dummy_node(1);
    c.add_gate(H, 0, 0, 0, 0);
    c.add_gate(S, 0, 0, 0, 0);
    c.decompose_XYZSTH_gate();
    EXPECT_EQ(line_body(c, 0), (Body{{H, 0}, {RZ, 2}}));
}

TEST(NamedGateDecomposition, RyRewrittenOnlyOnQd) {
    for (PMD_type pmd : {SC, QD}) {
        GraphCircuit c("ry", pmd, qec_none, 0);
        c.set_dummy_node(1);
        c.add_gate(RY, 0, 3, 0, 0);
        sim::Unitary before = sim::circuit_unitary(c);
        c.decompose_XYZSTH_gate();
        Body expected = pmd == QD ? Body{{RZ, 2}, {RX, 3}, {RZ, -2}} : Body{{RY, 3}};
        EXPECT_EQ(line_body(c, 0), expected);
        EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c)));
    }
}

// Y = e^{-iπ/2}·RY(4): the phase added is -0.5.
TEST(NamedGateDecomposition, YAddsMinusHalf) {
    GraphCircuit c("y", SC, qec_none, 0);
    c.set_dummy_node(1);
    c.add_gate(Y, 0, 0, 0, 0);
    sim::Unitary before = sim::circuit_unitary(c);
    c.decompose_XYZSTH_gate();
    EXPECT_EQ(line_body(c, 0), (Body{{RY, 4}}));
    EXPECT_EQ(c.global_phase, -0.5);
    EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c)));
}

TEST(NamedGateDecomposition, NewRecordsTakeIncreasingIndices) {
    GraphCircuit c("idx", SC, qec_none, 0);
    c.set_dummy_node(1);
    c.add_gate(H, 0, 0, 0, 0);
    c.decompose_XYZSTH_gate();
    LineOfGates L;
    c.copy_a_line(0, L);
    EXPECT_EQ(body(L), (Body{{RZ, 2}, {RX, 2}, {RZ, 2}}));
}

class NamedGatesOnEveryPmd : public testing::TestWithParam<std::tuple<PMD_type, int>> {};

TEST_P(NamedGatesOnEveryPmd, RandomCircuitKeepsUnitaryAndLosesNamedGates) {
    const PMD_type pmd = std::get<0>(GetParam());
    const int level = std::get<1>(GetParam());
    for (unsigned seed = 0; seed < 20; ++seed) {
        GraphCircuit c("named", pmd, qec_none, level);
        std::mt19937 rng(seed);
        c.set_dummy_node(3);
        testrandom::fill_random_circuit(c, rng, 40);
        std::string before_dump = dump(c);
        sim::Unitary before = sim::circuit_unitary(c);
        c.decompose_XYZSTH_gate();
        ASSERT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c)))
            << "decompose_XYZSTH_gate changed\n"
            << before_dump << "into\n"
            << dump(c);
        for (int q = 0; q < c.num_qubits; ++q) {
            for (auto [t, a] : line_body(c, q)) {
                EXPECT_TRUE(t < X || t > T_dag || (t == H && level > 0)) << dump(c);
                // On QD only the RY(4) made from a Y remains: new records are not revisited.
                EXPECT_FALSE(pmd == QD && t == RY && a != 4) << dump(c);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pmds, NamedGatesOnEveryPmd,
                         testing::Combine(testing::Values(QD, SC, CTL), testing::Values(0, 1)));

}  // namespace
