// Self-checks of the test simulator: the identities between named gates and rotations that the
// program's phase bookkeeping relies on.
#include "support/unitary.h"

#include <gtest/gtest.h>

#include "circuit/graph_circuit.h"

using namespace sim;

namespace {
Unitary one(Gate_type kind, double angle = 0, double phase = 0) {
    return gates_unitary(1, {Gate(kind, angle, 0, 0, -1, 0, 0)}, phase);
}
}  // namespace

TEST(Simulator, NamedGatesEqualRotationsWithTheirPhases) {
    EXPECT_TRUE(equal_exact(one(Z), one(RZ, 4, 0.5)));
    EXPECT_TRUE(equal_exact(one(S), one(RZ, 2, 0.25)));
    EXPECT_TRUE(equal_exact(one(T), one(RZ, 1, 0.125)));
    EXPECT_TRUE(equal_exact(one(X), one(RX, 4, 0.5)));
    EXPECT_TRUE(equal_exact(one(Y), one(RY, 4, -0.5)));
}

TEST(Simulator, RxyAndAsquMeanings) {
    Unitary a = gates_unitary(1, {Gate(RXY, 1.5, 0, 0, -1, 0, 0)}, 0);
    EXPECT_TRUE(equal_exact(a, one(RX, -1.5)));
    Unitary b = gates_unitary(1, {Gate(RXY, 1.5, 2, 0, -1, 0, 0)}, 0);
    EXPECT_TRUE(equal_exact(b, one(RY, -1.5)));
    Unitary c = gates_unitary(1, {Gate(ASQU, 1, 2, 3, -1, 0, 0)}, 0);
    Unitary d = gates_unitary(
        1,
        {Gate(RZ, -3, 0, 0, -1, 0, 0), Gate(RY, 2, 0, 0, -1, 0, 0), Gate(RZ, -1, 0, 0, -1, 0, 0)},
        0);
    EXPECT_TRUE(equal_up_to_phase(c, d));
}

TEST(Simulator, ZenoMapsZeroOneToMinusIOneZero) {
    Unitary u = gates_unitary(2, {Gate(ZENO, 0, 0, 0, 0, 1, 0)}, 0);
    // |01> with qubit 0 = 1 (index 1) goes to -i |index 2>.
    EXPECT_NEAR(std::abs(u.at(2, 1) - Complex(0, -1)), 0, 1e-12);
    Unitary d =
        gates_unitary(2, {Gate(ZENO, 0, 0, 0, 0, 1, 0), Gate(ZENO_dag, 0, 0, 0, 0, 1, 0)}, 0);
    EXPECT_TRUE(equal_exact(d, Unitary::identity(2)));
}

TEST(Simulator, NetlistOrdersAreReversesOfEachOther) {
    const std::string text = ".qubit 2\nqubit a\nqubit b\n.begin\nH a\nCNOT a b\nT b\n.end\n";
    Unitary op = netlist_unitary(text, Order::Operator);
    Unitary time = netlist_unitary(text, Order::Time);
    Unitary expected = gates_unitary(
        2, {Gate(T, 0, 0, 0, -1, 1, 0), Gate(CNOT, 0, 0, 0, 0, 1, 0), Gate(H, 0, 0, 0, -1, 0, 0)},
        0);
    EXPECT_TRUE(equal_exact(op, expected));
    EXPECT_FALSE(equal_up_to_phase(op, time));
    EXPECT_NEAR(operator_distance_up_to_phase(op, op), 0, 1e-9);
}

TEST(Simulator, CircuitUnitaryIncludesGlobalPhase) {
    GraphCircuit c("sim", ND, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(H, 0, 0, 0, 0);
    c.add_gate(CNOT, 0, 1, 0);
    c.global_phase = 0.5;
    Unitary u = circuit_unitary(c);
    Unitary e = gates_unitary(2, {Gate(H, 0, 0, 0, -1, 0, 0), Gate(CNOT, 0, 0, 0, 0, 1, 0)}, 0.5);
    EXPECT_TRUE(equal_exact(u, e));
}
