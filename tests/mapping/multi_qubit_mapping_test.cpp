// Multi-qubit mappings: Toffoli, Peres, the swap family and the multi-controlled gates equal
// their gates exactly, global phase included, on every machine description; plus the shapes
// that pin the Toffoli and Gray-code sequences.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/machine_descriptions.h"
#include "support/test_names.h"
#include "support/unitary_assertions.h"

using sim::exactly_equal;
using sim::Unitary;
using testgates::fresh_circuit;
using testgates::one_q;
using testgates::two_q;
using testnames::number_name;
using testpmd::kAllPmds;
using testpmd::pmd_name;
using testview::appended_gates;
using testview::appended_kinds;

namespace {

constexpr int kQubits = 4;

struct MultiQubitCase {
    std::string name;
    std::function<void(GraphCircuit&)> map;
    std::function<void(Unitary&)> ideal;  // left-multiplies the gate on kQubits lines
};

void PrintTo(const MultiQubitCase& tc, std::ostream* os) {
    *os << tc.name;
}

void apply(Unitary& u, const Gate& g) {
    u.apply_gate(g);
}

std::vector<MultiQubitCase> multi_qubit_cases() {
    std::vector<MultiQubitCase> cases = {
        {"TOF_0_1_2", [](GraphCircuit& c) { c.add_TOF(0, 1, 2); },
         [](Unitary& u) {
             u.apply_mcx({0, 1}, 2);
         }},
        {"TOF_3_0_1", [](GraphCircuit& c) { c.add_TOF(3, 0, 1); },
         [](Unitary& u) {
             u.apply_mcx({3, 0}, 1);
         }},
        {"PERES_2_0_3", [](GraphCircuit& c) { c.add_PERES(2, 0, 3); },
         [](Unitary& u) {
             u.apply_mcx({2}, 0);
             u.apply_mcx({2, 0}, 3);
         }},
        {"PERESd_2_0_3", [](GraphCircuit& c) { c.add_PERESd(2, 0, 3); },
         [](Unitary& u) {
             u.apply_mcx({2, 0}, 3);
             u.apply_mcx({2}, 0);
         }},
        // Fredkin a b c as the reader appends it: CNOT(c, b), Toffoli(a, b, c), CNOT(c, b).
        {"Fredkin_1_3_0",
         [](GraphCircuit& c) {
             c.add_CNOT(0, 3);
             c.add_TOF(1, 3, 0);
             c.add_CNOT(0, 3);
         },
         [](Unitary& u) {
             u.apply_mcx({0}, 3);
             u.apply_mcx({1, 3}, 0);
             u.apply_mcx({0}, 3);
         }},
        {"SWAP_3_1", [](GraphCircuit& c) { c.add_SWAP(3, 1); },
         [](Unitary& u) { apply(u, two_q(SWAP, 3, 1)); }},
        {"ZENO_3_1", [](GraphCircuit& c) { c.add_ZENO(3, 1); },
         [](Unitary& u) { apply(u, two_q(ZENO, 3, 1)); }},
        {"ZENOd_3_1", [](GraphCircuit& c) { c.add_ZENOd(3, 1); },
         [](Unitary& u) { apply(u, two_q(ZENO_dag, 3, 1)); }},
    };
    for (double a : {2.0, 1.0, -3.0, 0.6, 4.0, 6.0, 8.0, -2.0, 11.5}) {
        cases.push_back({"ISWAP_" + number_name(a), [a](GraphCircuit& c) { c.add_ISWAP(3, 1, a); },
                         [a](Unitary& u) { apply(u, two_q(ISWAP, 3, 1, a)); }});
    }
    return cases;
}

class MultiQubitMapping : public testing::TestWithParam<std::tuple<PMD_type, MultiQubitCase>> {};

TEST_P(MultiQubitMapping, EqualsItsGateWithThePhase) {
    const auto& [pmd, tc] = GetParam();
    auto c = fresh_circuit(pmd, kQubits);
    tc.map(*c);
    Unitary want = Unitary::identity(kQubits);
    tc.ideal(want);
    EXPECT_TRUE(exactly_equal(sim::circuit_unitary(*c), want));
}

INSTANTIATE_TEST_SUITE_P(AllDescriptions, MultiQubitMapping,
                         testing::Combine(testing::ValuesIn(kAllPmds),
                                          testing::ValuesIn(multi_qubit_cases())),
                         [](const auto& info) {
                             return pmd_name(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

// Multi-controlled gates: 0 to 5 controls, the operand list in line order and permuted (the
// target not on the last line), on a circuit with one spare line that must stay untouched.
struct ControlledCase {
    int controls;
    bool permuted;
};

void PrintTo(const ControlledCase& cc, std::ostream* os) {
    *os << cc.controls << (cc.permuted ? " controls, permuted" : " controls");
}

std::vector<int> operand_list(const ControlledCase& cc) {
    const int n = cc.controls + 1;
    std::vector<int> qubits;
    for (int i = 0; i < n; ++i) qubits.push_back(i);
    if (cc.permuted) {
        // Lines n .. 1 (line 0 spare), the target on line 1, the controls rotated by one.
        for (int i = 0; i < n; ++i) qubits[i] = n - i;
        if (cc.controls > 1) std::rotate(qubits.begin(), qubits.begin() + 1, qubits.end() - 1);
    }
    return qubits;
}

class ControlledMapping : public testing::TestWithParam<std::tuple<PMD_type, ControlledCase>> {};

TEST_P(ControlledMapping, CkNotEqualsMultiControlledNot) {
    const auto& [pmd, cc] = GetParam();
    std::vector<int> qubits = operand_list(cc);
    const int lines = cc.controls + 2;
    auto c = fresh_circuit(pmd, lines);
    std::vector<int> arg = qubits;
    c->add_CkNOT(arg);
    const std::vector<int> controls(qubits.begin(), qubits.end() - 1);
    EXPECT_EQ(arg, controls) << "the target is taken off the caller's list";
    Unitary want = Unitary::identity(lines);
    want.apply_mcx(controls, qubits.back());
    EXPECT_TRUE(exactly_equal(sim::circuit_unitary(*c), want));
}

TEST_P(ControlledMapping, CkZEqualsMultiControlledZ) {
    const auto& [pmd, cc] = GetParam();
    std::vector<int> qubits = operand_list(cc);
    const int lines = cc.controls + 2;
    auto c = fresh_circuit(pmd, lines);
    std::vector<int> arg = qubits;
    c->add_CkZ(arg);
    EXPECT_EQ(arg.size(), qubits.size() - 1);
    Unitary want = Unitary::identity(lines);
    want.apply_mcz(qubits);
    EXPECT_TRUE(exactly_equal(sim::circuit_unitary(*c), want));
}

std::vector<ControlledCase> controlled_cases() {
    std::vector<ControlledCase> cases;
    for (int m = 0; m <= 5; ++m) {
        cases.push_back({m, false});
        if (m >= 1) cases.push_back({m, true});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllDescriptions, ControlledMapping,
                         testing::Combine(testing::ValuesIn(kAllPmds),
                                          testing::ValuesIn(controlled_cases())),
                         [](const auto& info) {
                             const ControlledCase& cc = std::get<1>(info.param);
                             return pmd_name(std::get<0>(info.param)) + "_" +
                                    std::to_string(cc.controls) +
                                    (cc.permuted ? "_permuted" : "_in_order");
                         });

// The Gray-code walk runs over list positions: a different control order gives a different
// gate sequence for the same gate.
TEST(ControlledShape, ControlOrderChangesTheSequenceNotTheGate) {
    auto a = fresh_circuit(CTL, 4);
    auto b = fresh_circuit(CTL, 4);
    std::vector<int> qa = {0, 1, 2, 3}, qb = {2, 0, 1, 3};
    a->add_CkNOT(qa);
    b->add_CkNOT(qb);
    EXPECT_NE(appended_gates(*a), appended_gates(*b));
    EXPECT_TRUE(exactly_equal(sim::circuit_unitary(*a), sim::circuit_unitary(*b)));
}

TEST(ControlledShape, MctWithTwoControlsOnCtlFollowsTheGrayCode) {
    auto c = fresh_circuit(CTL, 3);
    std::vector<int> qubits = {2, 0, 1};  // c0 = 2, c1 = 0, target 1
    c->add_CkNOT(qubits);
    auto gate = [](Gate_type kind, int ctl, int tgt, double angle = 0) {
        return std::make_tuple(kind, ctl, tgt, angle);
    };
    // CV(c0); CNOT(c0, c1); CV†(c1); CNOT(c0, c1); CV(c1), each CV in its CTL form, φ = 1.
    const std::vector<std::tuple<Gate_type, int, int, double>> want = {
        gate(CZ, 2, 1),     gate(RX, -1, 1, -1), gate(CZ, 2, 1),      gate(RZ, -1, 2, 1),
        gate(RX, -1, 1, 1), gate(CNOT, 2, 0),    gate(RZ, -1, 0, -1), gate(RX, -1, 1, -1),
        gate(CZ, 0, 1),     gate(RX, -1, 1, 1),  gate(CZ, 0, 1),      gate(CNOT, 2, 0),
        gate(CZ, 0, 1),     gate(RX, -1, 1, -1), gate(CZ, 0, 1),      gate(RZ, -1, 0, 1),
        gate(RX, -1, 1, 1)};
    std::vector<std::tuple<Gate_type, int, int, double>> got;
    for (const Gate& g : appended_gates(*c))
        got.push_back(gate(g.type, g.control, g.target, g.angle));
    EXPECT_EQ(got, want);
    EXPECT_EQ(c->global_phase, 0.125);
}

TEST(ControlledShape, OneControlIsOneControlledV) {
    auto c = fresh_circuit(SC, 2);
    std::vector<int> qubits = {0, 1};
    c->add_CkNOT(qubits);
    // H, CP(ψ = 4) mapped as CZ (native CP 4 on SC), H.
    EXPECT_EQ(appended_kinds(*c), (std::vector<Gate_type>{H, CP, H}));
}

// NOTE: a list of one qubit is a NOT without controls; it maps to X rather than to nothing.
TEST(ControlledShape, NoControlIsX) {
    for (PMD_type pmd : kAllPmds) {
        auto c = fresh_circuit(pmd, 1);
        std::vector<int> qubits = {0};
        c->add_CkNOT(qubits);
        EXPECT_TRUE(qubits.empty());
        EXPECT_EQ(appended_gates(*c).size(), 1u) << pmd_name(pmd);
        EXPECT_TRUE(
            exactly_equal(sim::circuit_unitary(*c), sim::gates_unitary(1, {one_q(X, 0)}, 0)))
            << pmd_name(pmd);
    }
}

TEST(ControlledShape, EmptyListAppendsNothing) {
    auto c = fresh_circuit(CTL, 1);
    std::vector<int> none;
    c->add_CkNOT(none);
    c->add_CkZ(none);
    EXPECT_TRUE(appended_gates(*c).empty());
}

TEST(ControlledShape, CvWithAnotherKPrintsAnErrorAndAppendsNothing) {
    auto c = fresh_circuit(CTL, 2);
    testing::internal::CaptureStdout();
    c->add_CV(3, 0, 1, 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "add_CV: Error!\n");
    EXPECT_TRUE(appended_gates(*c).empty());
    EXPECT_EQ(c->global_phase, 0.0);
}

// A Toffoli is the same 15 gates on every description where CNOT is native.
class ToffoliShape : public testing::TestWithParam<PMD_type> {};

TEST_P(ToffoliShape, IsFifteenGatesInTableOrder) {
    auto c = fresh_circuit(GetParam(), 3);
    c->add_TOF(0, 1, 2);
    std::vector<std::tuple<Gate_type, int, int>> got;
    for (const Gate& g : appended_gates(*c)) got.emplace_back(g.type, g.control, g.target);
    const std::vector<std::tuple<Gate_type, int, int>> want = {
        {CNOT, 0, 1}, {H, -1, 2},     {T, -1, 1},     {T_dag, -1, 2}, {CNOT, 2, 1},
        {CNOT, 0, 2}, {T_dag, -1, 1}, {T, -1, 2},     {CNOT, 0, 1},   {CNOT, 0, 2},
        {T, -1, 1},   {CNOT, 2, 1},   {T_dag, -1, 0}, {T_dag, -1, 1}, {H, -1, 2}};
    EXPECT_EQ(got, want);
    EXPECT_EQ(c->global_phase, 0.0);
}

INSTANTIATE_TEST_SUITE_P(CnotNative, ToffoliShape, testing::Values(CTL, FTS, NP, ND),
                         [](const auto& info) { return pmd_name(info.param); });

TEST(SwapShape, SwapOnScIsNativeIswapCpAndTwoRz) {
    auto c = fresh_circuit(SC, 2);
    c->add_SWAP(0, 1);
    const std::vector<Gate> want = {Gate(ISWAP, 2, 0, 0, 0, 1, 4), Gate(CP, 4, 0, 0, 0, 1, 5),
                                    Gate(RZ, 2, 0, 0, -1, 0, 6), Gate(RZ, 2, 0, 0, -1, 1, 7)};
    EXPECT_EQ(appended_gates(*c), want);
    EXPECT_EQ(c->global_phase, 0.5);
}

TEST(SwapShape, ZenoDagIsNativeOnScAndNd) {
    for (PMD_type pmd : {SC, ND}) {
        auto c = fresh_circuit(pmd, 2);
        c->add_ZENOd(1, 0);
        EXPECT_EQ(appended_gates(*c), (std::vector<Gate>{Gate(ZENO_dag, 0, 0, 0, 1, 0, 4)}));
    }
}

TEST(MappingTables, DescriptionOutsideTheTablesGetsNothing) {
    auto c = fresh_circuit(PMD_type(9), 3);
    c->add_TOF(0, 1, 2);
    c->add_SWAP(0, 1);
    c->add_CNOT(0, 1);
    c->add_CP(0, 1, 1);
    EXPECT_TRUE(appended_gates(*c).empty());
    EXPECT_EQ(c->global_phase, 0.0);
}

}  // namespace

// Reading maps: a netlist using every keyword reads on every description to the same unitary,
// global phase included, as under ND and as the netlist's own meaning in time order.
namespace {

const std::string kEveryKeyword =
    "# every keyword of the netlist format\n"
    ".qubit 5\n"
    "qubit a\n"
    "qubit b\n"
    "qubit c\n"
    "qubit d\n"
    "qubit e\n"
    ".begin\n"
    "I a\n"
    "H a\n"
    "X b\n"
    "Y c\n"
    "Z d\n"
    "H e\n"
    "S e\n"
    "S_dag a\n"
    "T b\n"
    "T_dag c\n"
    "RX d 1.5\n"
    "RY e -0.75\n"
    "RZ a 3\n"
    "RXY b 1.25 0.5\n"
    "ASQU c 0.5 1 1.5\n"
    "CZ a b\n"
    "CNOT c a\n"
    "CP d e 1.5\n"
    "GEO e a -2.5\n"
    "ISWAP b d 0.6\n"
    "SWAP c e\n"
    "ZENO a c\n"
    "ZENO_dag d b\n"
    "Toffoli a b c\n"
    "Toffoli e d c b\n"
    "PERES b c d\n"
    "PERES_dag d a e\n"
    "Fredkin c e a\n"
    "MCT a b c d e\n"
    "CkZ e c a\n"
    "H b\n"
    ".end\n";

class ReadingMaps : public testing::TestWithParam<PMD_type> {};

TEST_P(ReadingMaps, EveryKeywordKeepsTheUnitary) {
    std::string text = kEveryKeyword;
    GraphCircuit mapped("every_keyword", GetParam(), qec_none, 0);
    mapped.read_netlist(text);
    GraphCircuit plain("every_keyword", ND, qec_none, 0);
    plain.read_netlist(text);
    const Unitary got = sim::circuit_unitary(mapped);
    EXPECT_TRUE(exactly_equal(got, sim::circuit_unitary(plain)));
    EXPECT_TRUE(exactly_equal(got, sim::netlist_unitary(text, sim::Order::Time)));
}

TEST_P(ReadingMaps, FredkinIsAControlledSwap) {
    std::string text =
        ".qubit 3\nqubit a\nqubit b\nqubit c\n.begin\nH a\nH b\nFredkin b c a\n.end\n";
    GraphCircuit c("fredkin", GetParam(), qec_none, 0);
    c.read_netlist(text);
    Unitary want = Unitary::identity(3);
    want.apply_1q(sim::one_qubit_matrix(H, 0), 0);
    want.apply_1q(sim::one_qubit_matrix(H, 0), 1);
    // Swap of a (line 0) and c (line 2) controlled by b (line 1).
    want.apply_mcx({1, 0}, 2);
    want.apply_mcx({1, 2}, 0);
    want.apply_mcx({1, 0}, 2);
    EXPECT_TRUE(exactly_equal(sim::circuit_unitary(c), want));
}

INSTANTIATE_TEST_SUITE_P(AllDescriptions, ReadingMaps, testing::ValuesIn(kAllPmds),
                         [](const auto& info) { return pmd_name(info.param); });

TEST(ReadingMaps, FredkinAppendsCnotToffoliCnot) {
    std::string text = ".qubit 3\nqubit a\nqubit b\nqubit c\n.begin\nFredkin a b c\n.end\n";
    GraphCircuit c("fredkin", ND, qec_none, 0);
    c.read_netlist(text);
    const std::vector<Gate> gates = appended_gates(c);
    ASSERT_EQ(gates.size(), 17u);
    EXPECT_EQ(gates.front(), Gate(CNOT, 0, 0, 0, 2, 1, 6));
    EXPECT_EQ(gates.back(), Gate(CNOT, 0, 0, 0, 2, 1, 22));
}

}  // namespace
