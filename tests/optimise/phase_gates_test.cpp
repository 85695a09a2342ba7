#include "optimise/phase_gates.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/unitary.h"
#include "support/unitary_assertions.h"

namespace {

sim::Unitary gate_unitary(Gate_type kind, double angle, double phase) {
    std::list<Gate> gates;
    if (kind != I) gates.push_back(Gate(kind, angle, 0, 0, -1, 0, 0));
    return sim::gates_unitary(1, gates, phase);
}

// Every gate of a form, alone and with a second one merged: the written gate and its phase
// equal the product.
TEST(PhaseGates, MergedFormsWriteBackTheProductExactly) {
    const std::pair<Gate_type, double> diagonal[] = {
        {Z, 0}, {S, 0}, {S_dag, 0}, {T, 0}, {T_dag, 0}, {RZ, 0.3}, {RZ, -3}, {RZ, 8}, {RZ, 13}};
    const std::pair<Gate_type, double> x_axis[] = {{X, 0},  {RX, 4},  {RX, -4},  {RX, 12},
                                                   {RX, 8}, {RX, 16}, {RX, 1.5}, {RX, -20}};
    for (bool is_diagonal : {true, false}) {
        const auto* rows = is_diagonal ? diagonal : x_axis;
        const size_t n = is_diagonal ? std::size(diagonal) : std::size(x_axis);
        for (size_t i = 0; i < n; ++i) {
            for (size_t j = 0; j <= n; ++j) {
                phases::PhaseSum sum, other;
                const auto form = is_diagonal ? phases::diagonal_form : phases::x_axis_form;
                ASSERT_TRUE(form(rows[i].first, rows[i].second, sum));
                sim::Unitary want = gate_unitary(rows[i].first, rows[i].second, 0);
                if (j < n) {
                    ASSERT_TRUE(form(rows[j].first, rows[j].second, other));
                    sum += other;
                    want = gate_unitary(rows[j].first, rows[j].second, 0) * want;
                }
                const phases::PhaseGate gate =
                    is_diagonal ? phases::diagonal_gate(sum) : phases::x_axis_gate(sum);
                EXPECT_TRUE(
                    sim::exactly_equal(gate_unitary(gate.kind, gate.angle, gate.phase), want))
                    << gate_keyword(rows[i].first) << " " << rows[i].second << " with row " << j;
            }
        }
    }
}

TEST(PhaseGates, WholeAnglesBecomeNamedGatesOrNothing) {
    EXPECT_EQ(phases::diagonal_gate({2, 0}).kind, S);
    EXPECT_EQ(phases::diagonal_gate({-1, 0}).kind, T_dag);
    EXPECT_EQ(phases::diagonal_gate({16, 0}).kind, I);
    EXPECT_EQ(phases::diagonal_gate({3, 0}).kind, RZ);
    EXPECT_EQ(phases::x_axis_gate({-4, 0}).kind, X);
    EXPECT_EQ(phases::x_axis_gate({8, 0}).kind, I);
    phases::PhaseSum form;
    EXPECT_FALSE(phases::diagonal_form(H, 0, form));
    EXPECT_FALSE(phases::x_axis_form(RY, 4, form));
}

}  // namespace
