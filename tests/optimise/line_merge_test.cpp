// The pair and triple rewrites toward H, RXY and ASQU: every row on every combination of
// rotation kinds and special angles keeps the unitary with the phase it records (ASQU: up to
// phase), and the pinned examples give their stated results.
#include <gtest/gtest.h>

#include <random>

#include "circuit/graph_circuit.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/random_circuits.h"
#include "support/unitary.h"

using testgates::line_of;
using testview::dump;

namespace {

// A one-line circuit in which every gate kind costs 1 on every description, so that the
// best-copy helpers accept every rewrite that does not add records.
struct UnitCostCircuit {
    GraphCircuit c{"merge", SC, qec_none, 0};
    UnitCostCircuit() {
        c.set_dummy_node(1);
        for (int k = 0; k < 30; ++k) c.cost_gate_count.table[Gate_type(k)] = std::vector<int>(9, 1);
    }
};

using Helper = void (GraphCircuit::*)(LineOfGates&);
struct HelperCase {
    const char* name;
    Helper run;
    int width;  // 2 for pair rewrites, 3 for triples
    bool exact_phase;
};
const HelperCase kHelpers[] = {
    {"merge_H_gate", &GraphCircuit::merge_H_gate, 2, true},
    {"change_RXY2_gate", &GraphCircuit::change_RXY2_gate, 2, true},
    {"merge_RXY2_gate", &GraphCircuit::merge_RXY2_gate, 2, true},
    {"interchange_RZ_gate", &GraphCircuit::interchange_RZ_gate, 2, true},
    {"merge_ASQU_gate", &GraphCircuit::merge_ASQU_gate, 2, false},
    {"merge_RXY3_gate", &GraphCircuit::merge_RXY3_gate, 3, true},
};

bool same_unitary(const LineOfGates& a, const LineOfGates& b, bool exact) {
    return exact ? sim::equal_exact(sim::line_unitary(a), sim::line_unitary(b))
                 : sim::equal_up_to_phase(sim::line_unitary(a), sim::line_unitary(b));
}

class HelperRows : public testing::TestWithParam<int> {};

// Every kind combination with angles from the special values and generic ones.
TEST_P(HelperRows, EveryCombinationKeepsTheUnitary) {
    const HelperCase& h = kHelpers[GetParam()];
    const Gate_type kinds[] = {RX, RY, RZ};
    const double angles[] = {0, 1, 2, 3, 4, 6, 8, -2, 2.5};
    int rewritten = 0;
    std::vector<int> pick(h.width, 0);
    const int n_kind = 3, n_angle = sizeof(angles) / sizeof(angles[0]);
    int combos = 1;
    for (int i = 0; i < h.width; ++i) combos *= n_kind * n_angle;
    for (int code = 0; code < combos; ++code) {
        std::vector<Gate> gates;
        int rest = code;
        for (int i = 0; i < h.width; ++i) {
            Gate_type t = kinds[rest % n_kind];
            rest /= n_kind;
            double a = angles[rest % n_angle];
            rest /= n_angle;
            gates.push_back(Gate(t, a, 0, 0, -1, 0, 10 + i));
        }
        UnitCostCircuit uc;
        LineOfGates before = line_of(gates);
        LineOfGates after = before;
        (uc.c.*h.run)(after);
        if (!(after == before)) ++rewritten;
        ASSERT_TRUE(same_unitary(before, after, h.exact_phase))
            << h.name << " changed the unitary of\n  " << dump(before) << "\ninto\n  "
            << dump(after);
        if (h.exact_phase) {
            ASSERT_TRUE(after.phase == 0 || after.phase == 0.5 || after.phase == -0.5 ||
                        after.phase == -1)
                << dump(after);
        }
    }
    EXPECT_GT(rewritten, 0) << h.name;
}

TEST_P(HelperRows, RandomLinesKeepTheUnitary) {
    const HelperCase& h = kHelpers[GetParam()];
    std::mt19937 rng(77 + GetParam());
    UnitCostCircuit uc;
    for (int trial = 0; trial < 200; ++trial) {
        LineOfGates before =
            testrandom::random_line(rng, trial % 30, testrandom::Kinds::RotationsAndH);
        LineOfGates after = before;
        (uc.c.*h.run)(after);
        ASSERT_TRUE(same_unitary(before, after, h.exact_phase))
            << h.name << " changed the unitary of\n  " << dump(before) << "\ninto\n  "
            << dump(after);
    }
}

INSTANTIATE_TEST_SUITE_P(AllHelpers, HelperRows, testing::Range(0, 6),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(kHelpers[info.param].name);
                         });

// ---- Pinned examples ----

Gate rot(Gate_type t, double a, int index = 10) {
    return Gate(t, a, 0, 0, -1, 0, index);
}

std::string body_text(const LineOfGates& L) {
    std::string out;
    for (const Gate& g : L.gates) {
        if (g.type == IN || g.type == OUT) continue;
        out += testview::dump(Gate(g.type, g.angle, g.angle1, g.angle2, -1, 0, 0)) + " ";
    }
    return out;
}

struct Example {
    const char* name;
    Helper run;
    std::vector<Gate> input;
    std::vector<Gate> output;
    double phase;
};
void PrintTo(const Example& e, std::ostream* os) {
    *os << e.name;
}

class HelperExamples : public testing::TestWithParam<Example> {};

TEST_P(HelperExamples, GiveTheStatedResult) {
    UnitCostCircuit uc;
    LineOfGates L = line_of(GetParam().input);
    LineOfGates orig = L;
    (uc.c.*GetParam().run)(L);
    EXPECT_EQ(body_text(L), body_text(line_of(GetParam().output)));
    EXPECT_EQ(L.phase, GetParam().phase);
    bool exact = GetParam().run != &GraphCircuit::merge_ASQU_gate;
    EXPECT_TRUE(same_unitary(orig, L, exact)) << dump(L);
}

Gate rxy(double t, double p) {
    return Gate(RXY, t, p, 0, -1, 0, 0);
}
Gate asqu(double a, double b, double c) {
    return Gate(ASQU, a, b, c, -1, 0, 0);
}
Gate hgate() {
    return Gate(H, 0, 0, 0, -1, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelperExamples,
    testing::Values(
        Example{"RXY3_XYZ_Ry2Rz2",
                &GraphCircuit::merge_RXY3_gate,
                {rot(RX, 1), rot(RY, 2), rot(RZ, 2)},
                {rot(RX, -5), rxy(6, 2)},
                0},
        Example{"RXY3_XYZ_Rx2",
                &GraphCircuit::merge_RXY3_gate,
                {rot(RX, 2), rot(RY, 1), rot(RZ, 3)},
                {rxy(2, 5), rot(RZ, 4)},
                0},
        Example{"RXY3_XYZ_Rx6Ry2Rz2",
                &GraphCircuit::merge_RXY3_gate,
                {rot(RX, 6), rot(RY, 2), rot(RZ, 2)},
                {rxy(6, 2)},
                0},
        Example{"RXY3_ZXZ_FullTurnDropped",
                &GraphCircuit::merge_RXY3_gate,
                {rot(RZ, 3), rot(RX, 1), rot(RZ, 5)},
                {rxy(-1, 3)},
                -1},
        Example{"ASQU_SecondSpecialWins",
                &GraphCircuit::merge_ASQU_gate,
                {rot(RX, 4), rot(RY, 2)},
                {asqu(-4, 2, 0)},
                0},
        Example{
            "H_FromRx4Ry2", &GraphCircuit::merge_H_gate, {rot(RX, 4), rot(RY, 2)}, {hgate()}, -0.5},
        Example{
            "H_FromRz4Ry6", &GraphCircuit::merge_H_gate, {rot(RZ, 4), rot(RY, 6)}, {hgate()}, 0.5},
        Example{"RXY2_FromRy4Rz",
                &GraphCircuit::merge_RXY2_gate,
                {rot(RY, 4), rot(RZ, 3)},
                {rxy(4, 0.5)},
                -1}),
    [](const testing::TestParamInfo<Example>& info) { return info.param.name; });

}  // namespace
