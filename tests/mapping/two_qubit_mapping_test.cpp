// Two-qubit mappings: every operation on every machine description equals its gate exactly,
// global phase included; plus the shapes the angle tests and special rows select.
#include <gtest/gtest.h>

#include <functional>

#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/machine_descriptions.h"
#include "support/test_names.h"
#include "support/unitary_assertions.h"

using sim::exactly_equal;
using testgates::fresh_circuit;
using testgates::one_q;
using testgates::two_q;
using testnames::number_name;
using testpmd::kAllPmds;
using testpmd::pmd_name;
using testview::appended_gates;
using testview::appended_kinds;

namespace {

// A mapping call on a three-qubit circuit and the gate it must equal. The operands are chosen
// so that control and target are not lines 0 and 1 in that order.
struct TwoQubitCase {
    std::string name;
    std::function<void(GraphCircuit&)> map;
    Gate ideal;
};

void PrintTo(const TwoQubitCase& tc, std::ostream* os) {
    *os << tc.name;
}

std::vector<TwoQubitCase> two_qubit_cases() {
    std::vector<TwoQubitCase> cases = {
        {"CNOT_2_0", [](GraphCircuit& c) { c.add_CNOT(2, 0); }, two_q(CNOT, 2, 0)},
        {"CNOT_0_1", [](GraphCircuit& c) { c.add_CNOT(0, 1); }, two_q(CNOT, 0, 1)},
        {"CZ_2_0", [](GraphCircuit& c) { c.add_CZ(2, 0); }, two_q(CZ, 2, 0)},
    };
    // Special angles (full turns, ±π) and general ones, fractional and negative.
    for (double a :
         {0.0, 8.0, -8.0, 16.0, 4.0, -4.0, 12.0, 1.0, 2.0, -2.0, 6.0, -3.0, 0.37, 13.5, -7.25}) {
        cases.push_back({"CP_" + number_name(a), [a](GraphCircuit& c) { c.add_CP(2, 0, a); },
                         two_q(CP, 2, 0, a)});
    }
    // r = 2, 6 (special rows), −6 and −2 (general column), 10 (r = 2), full turns.
    for (double a :
         {2.0, 6.0, 10.0, 14.0, -6.0, -2.0, 0.0, 8.0, -16.0, 1.0, 4.0, -4.0, 0.7, -3.3, 5.5}) {
        cases.push_back({"GEO_" + number_name(a), [a](GraphCircuit& c) { c.add_GEO(2, 0, a); },
                         two_q(GEO, 2, 0, a)});
    }
    return cases;
}

class TwoQubitMapping : public testing::TestWithParam<std::tuple<PMD_type, TwoQubitCase>> {};

TEST_P(TwoQubitMapping, EqualsItsGateWithThePhase) {
    const auto& [pmd, tc] = GetParam();
    auto c = fresh_circuit(pmd, 3);
    tc.map(*c);
    EXPECT_TRUE(exactly_equal(sim::circuit_unitary(*c), sim::gates_unitary(3, {tc.ideal}, 0)));
}

INSTANTIATE_TEST_SUITE_P(AllDescriptions, TwoQubitMapping,
                         testing::Combine(testing::ValuesIn(kAllPmds),
                                          testing::ValuesIn(two_qubit_cases())),
                         [](const auto& info) {
                             return pmd_name(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

class TwoQubitShape : public testing::TestWithParam<PMD_type> {};

TEST_P(TwoQubitShape, CpFullTurnsAppendNothing) {
    for (double a : {0.0, 8.0, -8.0, 16.0}) {
        auto c = fresh_circuit(GetParam(), 2);
        c->add_CP(0, 1, a);
        EXPECT_TRUE(appended_gates(*c).empty()) << "angle " << a;
        EXPECT_EQ(c->global_phase, 0.0) << "angle " << a;
    }
}

TEST_P(TwoQubitShape, CpHalfTurnsAppendWhatCzAppends) {
    auto cz = fresh_circuit(GetParam(), 2);
    cz->add_CZ(0, 1);
    for (double a : {4.0, -4.0, 12.0}) {
        auto c = fresh_circuit(GetParam(), 2);
        c->add_CP(0, 1, a);
        EXPECT_EQ(appended_gates(*c), appended_gates(*cz)) << "angle " << a;
        EXPECT_EQ(c->global_phase, cz->global_phase) << "angle " << a;
    }
}

TEST_P(TwoQubitShape, GeoFullTurnsAppendNothing) {
    for (double a : {0.0, 8.0, -16.0}) {
        auto c = fresh_circuit(GetParam(), 2);
        c->add_GEO(0, 1, a);
        EXPECT_TRUE(appended_gates(*c).empty()) << "angle " << a;
        EXPECT_EQ(c->global_phase, 0.0);
    }
}

TEST_P(TwoQubitShape, IndicesGrowByOnePerAppendedVertex) {
    auto c = fresh_circuit(GetParam(), 3);
    c->add_CNOT(0, 2);
    c->add_CP(1, 2, 1.5);
    c->add_GEO(2, 0, 0.5);
    const auto gates = appended_gates(*c);
    ASSERT_FALSE(gates.empty());
    for (size_t i = 0; i < gates.size(); ++i) EXPECT_EQ(gates[i].index, int(6 + i));
    EXPECT_EQ(c->gate_counter, int(6 + gates.size()));
}

INSTANTIATE_TEST_SUITE_P(AllDescriptions, TwoQubitShape, testing::ValuesIn(kAllPmds),
                         [](const auto& info) { return pmd_name(info.param); });

TEST(TwoQubitShape, CnotOnScIsCpBetweenRyRotations) {
    auto c = fresh_circuit(SC, 2);
    c->add_CNOT(1, 0);
    const std::vector<Gate> want = {Gate(RY, 2, 0, 0, -1, 0, 4), Gate(CP, 4, 0, 0, 1, 0, 5),
                                    Gate(RY, -2, 0, 0, -1, 0, 6)};
    EXPECT_EQ(appended_gates(*c), want);
    EXPECT_EQ(c->global_phase, 0.0);
}

TEST(TwoQubitShape, CzOnNpIsCnotBetweenHadamards) {
    auto c = fresh_circuit(NP, 2);
    c->add_CZ(0, 1);
    const std::vector<Gate> want = {Gate(H, 0, 0, 0, -1, 1, 4), Gate(CNOT, 0, 0, 0, 0, 1, 5),
                                    Gate(H, 0, 0, 0, -1, 1, 6)};
    EXPECT_EQ(appended_gates(*c), want);
}

TEST(TwoQubitShape, GeoMinusSixTakesTheGeneralColumnAndTenTheSpecialRow) {
    auto general = fresh_circuit(LP, 2);
    general->add_GEO(0, 1, -6);
    EXPECT_EQ(appended_kinds(*general), (std::vector<Gate_type>{CNOT, RZ, CNOT}));
    EXPECT_EQ(general->global_phase, -0.75);

    auto special = fresh_circuit(LP, 2);
    special->add_GEO(0, 1, 10);
    EXPECT_EQ(appended_kinds(*special), (std::vector<Gate_type>{RZ, RZ, H, CNOT, H}));
    EXPECT_EQ(special->global_phase, 0.5);
}

TEST(TwoQubitShape, NativeAnglesAreKeptUnreduced) {
    auto cp = fresh_circuit(SC, 2);
    cp->add_CP(0, 1, 13);
    ASSERT_EQ(appended_gates(*cp).size(), 1u);
    EXPECT_EQ(appended_gates(*cp)[0].angle, 13.0);
    auto geo = fresh_circuit(IT, 2);
    geo->add_GEO(0, 1, 10);
    ASSERT_EQ(appended_gates(*geo).size(), 1u);
    EXPECT_EQ(appended_gates(*geo)[0].angle, 10.0);
}

TEST(TwoQubitShape, FirstGateOnEmptyLinesIsLinkedBetweenTheMarkers) {
    auto c = fresh_circuit(ND, 3);
    c->add_CNOT(2, 0);
    Vertex v = c->line_last[0];
    EXPECT_EQ(c->line_last[2], v);
    EXPECT_EQ(next_node(c->graph, c->line_start[0], 0), v);
    EXPECT_EQ(next_node(c->graph, c->line_start[2], 2), v);
    EXPECT_EQ(next_node(c->graph, v, 0), c->line_end[0]);
    EXPECT_EQ(next_node(c->graph, v, 2), c->line_end[2]);
    EXPECT_EQ(boost::num_edges(c->graph), 9u + 2u);
}

}  // namespace
