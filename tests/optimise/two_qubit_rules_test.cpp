// The rule table of the two-qubit reduction: every row rewrites its circuit exactly as tabled
// (lines, phase, unitary), and the rows mended since they were first tabled break the law in
// their first form.
#include "optimise/two_qubit_rules.h"

#include <gtest/gtest.h>

#include "circuit/graph_circuit.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/unitary.h"

using testgates::build;
using testgates::parse_gates;
using testview::line_walk_text;

namespace {

/// One row: a circuit (line 0 is the walked control line c, line 1 the target t), the lines
/// after one sweep, and the growth of the global phase (in π).
struct RuleCase {
    const char* name;
    const char* circuit;
    const char* after;
    double phase;
    int qubits = 2;
};

std::ostream& operator<<(std::ostream& out, const RuleCase& c) {
    return out << c.name;
}

class TwoQubitRule : public testing::TestWithParam<RuleCase> {};

TEST_P(TwoQubitRule, RewritesExactlyAsTabled) {
    const RuleCase& row = GetParam();
    const std::vector<Gate> gates = parse_gates(row.circuit);
    GraphCircuit c("rule", CTL, qec_none, 0);
    build(c, row.qubits, gates);
    const sim::Unitary before = sim::gates_unitary(row.qubits, {gates.begin(), gates.end()}, 0);
    c.reduce2Qgate();
    EXPECT_EQ(line_walk_text(c), row.after);
    EXPECT_DOUBLE_EQ(c.global_phase, row.phase);
    const sim::Unitary after = sim::circuit_unitary(c);
    EXPECT_TRUE(sim::equal_exact(before, after))
        << "max difference " << sim::max_difference(before, after);
}

INSTANTIATE_TEST_SUITE_P(
    Cnot, TwoQubitRule,
    testing::Values(
        RuleCase{"C1", "CNOT 0 1; CNOT 0 1", "0: | 1:", 0},
        RuleCase{"C1_ContinuesBeforeThePair", "H 0; CNOT 0 1; CNOT 0 1; H 1", "0: H | 1: H", 0},
        RuleCase{"C1_ReversedIsLeftAlone", "CNOT 0 1; CNOT 1 0",
                 "0: CNOT[0,1] CNOT[1,0] | 1: CNOT[0,1] CNOT[1,0]", 0},
        RuleCase{"C2_RZ", "CNOT 0 1; RZ 1 4; CNOT 0 1", "0: RZ(4) | 1: RZ(4)", 0.5},
        RuleCase{"C2_RY", "CNOT 0 1; RY 1 4; CNOT 0 1", "0: RZ(4) | 1: RY(4)", 0.5},
        RuleCase{"C2_RXFiresNothing", "CNOT 0 1; RX 1 4; CNOT 0 1",
                 "0: CNOT[0,1] CNOT[0,1] | 1: CNOT[0,1] RX(4) CNOT[0,1]", 0},
        RuleCase{"C3_RX", "CNOT 0 1; RX 0 4; CNOT 0 1", "0: RX(4) | 1: RX(4)", 0.5},
        RuleCase{"C3_RY", "CNOT 0 1; RY 0 4; CNOT 0 1", "0: RY(4) | 1: RX(4)", 0.5},
        RuleCase{"C4", "CNOT 0 1; RX 0 4; RY 1 4; CNOT 0 1", "0: RY(4) | 1: RZ(4)", 0},
        RuleCase{"C5", "CNOT 0 1; RX 0 4; RZ 1 4; CNOT 0 1", "0: RY(4) | 1: RY(4)", 1},
        RuleCase{"C6", "CNOT 0 1; RY 0 4; RZ 1 4; CNOT 0 1", "0: RX(4) | 1: RY(4)", 0},
        RuleCase{"C7", "CNOT 0 1; RY 0 4; RY 1 4; CNOT 0 1", "0: RX(4) | 1: RZ(4)", 1},
        RuleCase{"C4_OtherPartnerFiresNothing", "CNOT 0 1; RX 0 4; RX 1 4; CNOT 0 1",
                 "0: CNOT[0,1] RX(4) CNOT[0,1] | 1: CNOT[0,1] RX(4) CNOT[0,1]", 0},
        RuleCase{"R1", "CNOT 0 1; RY 0 2; H 1; CNOT 1 0", "0: RY(2) | 1: RY(2)", 0},
        RuleCase{"R2", "CNOT 0 1; RY 0 2; RY 1 6; CNOT 1 0", "0: RY(4) H | 1: H RY(4)", 0},
        // NOTE: mended rows R3, R5, R8 (see MendedRows below).
        RuleCase{"R3", "CNOT 0 1; RY 0 2; RY 1 2; CNOT 1 0", "0: RY(2) | 1: H", 0},
        RuleCase{"R4", "CNOT 0 1; RY 0 6; H 1; CNOT 1 0", "0: RY(6) | 1: H", 0},
        RuleCase{"R5", "CNOT 0 1; RY 0 6; RY 1 6; CNOT 1 0", "0: H | 1: RY(6)", 1},
        RuleCase{"R6", "CNOT 0 1; RY 0 6; RY 1 2; CNOT 1 0", "0: RY(6) | 1: RY(2)", 0},
        RuleCase{"R7", "CNOT 0 1; H 0; H 1; CNOT 1 0", "0: H | 1: H", 0},
        RuleCase{"R8", "CNOT 0 1; H 0; RY 1 6; CNOT 1 0", "0: RY(6) | 1: RY(6)", 1},
        RuleCase{"R9", "CNOT 0 1; H 0; RY 1 2; CNOT 1 0", "0: H | 1: RY(2)", 0},
        RuleCase{"R7_SameOrientationFiresNothing", "CNOT 0 1; H 0; H 1; CNOT 0 1",
                 "0: CNOT[0,1] H CNOT[0,1] | 1: CNOT[0,1] H CNOT[0,1]", 0}),
    testing::PrintToStringParamName());

INSTANTIATE_TEST_SUITE_P(
    CzAndCp, TwoQubitRule,
    testing::Values(
        RuleCase{"Z1", "CZ 0 1; CZ 0 1", "0: | 1:", 0},
        RuleCase{"Z1_Reversed", "CZ 0 1; CZ 1 0", "0: | 1:", 0},
        RuleCase{"Z1_CP4", "CZ 0 1; CP 1 0 4", "0: | 1:", 0},
        RuleCase{"Z2_XX", "CZ 0 1; RX 0 4; RX 1 4; CZ 0 1", "0: RY(4) | 1: RY(4)", 0},
        RuleCase{"Z2_XY", "CZ 0 1; RX 0 4; RY 1 4; CZ 1 0", "0: RY(4) | 1: RX(4)", 1},
        RuleCase{"Z2_YX", "CZ 0 1; RY 0 4; RX 1 4; CP 0 1 4", "0: RX(4) | 1: RY(4)", 1},
        RuleCase{"Z2_YY", "CZ 0 1; RY 0 4; RY 1 4; CZ 0 1", "0: RX(4) | 1: RX(4)", 2},
        RuleCase{"P1", "CP 0 1 4; RX 0 4; RY 1 4; CZ 1 0", "0: RY(4) | 1: RX(4)", 1},
        RuleCase{"P1_OtherAngleFiresNothing", "CP 0 1 3; RX 0 4; RY 1 4; CP 0 1 3",
                 "0: CP[0,1](3) RX(4) CP[0,1](3) | 1: CP[0,1](3) RY(4) CP[0,1](3)", 0},
        RuleCase{"P2", "CP 0 1 3; RX 1 4; CP 0 1 3", "0: RZ(3) | 1: RX(4)", 0.375},
        RuleCase{"P2_Reversed", "CP 0 1 3; RY 1 4; CP 1 0 3", "0: RZ(3) | 1: RY(4)", 0.375},
        RuleCase{"P3", "CP 0 1 3; RY 0 4; CP 1 0 3", "0: RY(4) | 1: RZ(3)", 0.375},
        RuleCase{"P4", "CP 0 1 3; CP 0 1 5", "0: | 1:", 0},
        RuleCase{"P4_Negated", "CP 0 1 3; CP 1 0 -3", "0: | 1:", 0},
        RuleCase{"P5", "CP 0 1 1; CP 1 0 2", "0: CP[0,1](3) | 1: CP[0,1](3)", 0},
        RuleCase{"P5_NotRenormalised", "CP 0 1 7; CP 0 1 7", "0: CP[0,1](14) | 1: CP[0,1](14)", 0},
        RuleCase{"CP_FullTurnRemoved", "CP 0 1 8; H 0", "0: H | 1:", 0},
        RuleCase{"CP_MinusFullTurnRemoved", "CP 0 1 -8; H 1", "0: | 1: H", 0},
        RuleCase{"CP_TwoFullTurnsRemoved", "CP 0 1 16", "0: | 1:", 0},
        RuleCase{"CP_NegativeNormalised", "CP 0 1 -2", "0: CP[0,1](6) | 1: CP[0,1](6)", 0},
        RuleCase{"CP_RemovalRedispatchesPredecessor", "CNOT 0 1; CP 0 1 8; CNOT 0 1",
                 "0: | 1:", 0}),
    testing::PrintToStringParamName());

INSTANTIATE_TEST_SUITE_P(
    Geo, TwoQubitRule,
    testing::Values(
        RuleCase{"E1", "GEO 0 1 5; H 0; H 1", "0: GEO[0,1](1) RZ(4) H | 1: GEO[0,1](1) RZ(4) H", 1},
        RuleCase{"E1_HalfTurnLeavesZeroAngle", "GEO 0 1 4; H 0; H 1",
                 "0: GEO[0,1](0) RZ(4) H | 1: GEO[0,1](0) RZ(4) H", 1},
        RuleCase{"E1_AtTheEndIsLeftAlone", "GEO 0 1 5", "0: GEO[0,1](5) | 1: GEO[0,1](5)", 0},
        RuleCase{"E2", "GEO 0 1 3; RX 1 4; GEO 0 1 3", "0: | 1: RX(4)", 0.75},
        RuleCase{"E2_Reversed", "GEO 0 1 3; RY 1 4; GEO 1 0 3", "0: | 1: RY(4)", 0.75},
        // NOTE: mended row E4 (see MendedRows below).
        RuleCase{"E4", "GEO 0 1 3; RX 0 4; RY 1 4; GEO 0 1 5", "0: RX(4) | 1: RY(4)", 0},
        RuleCase{"E4_Reversed", "GEO 0 1 1; RY 0 4; RY 1 4; GEO 1 0 7", "0: RY(4) | 1: RY(4)", 0},
        RuleCase{"E5", "GEO 0 1 3; GEO 0 1 5", "0: | 1:", 0},
        RuleCase{"E5_Negated", "GEO 0 1 3; GEO 1 0 -3", "0: | 1:", 0},
        RuleCase{"E6", "GEO 0 1 1; GEO 1 0 3", "0: RZ(4) | 1: RZ(4)", 1},
        RuleCase{"E7", "GEO 0 1 1; GEO 0 1 2", "0: GEO[0,1](3) | 1: GEO[0,1](3)", 0}),
    testing::PrintToStringParamName());

INSTANTIATE_TEST_SUITE_P(
    Walk, TwoQubitRule,
    testing::Values(
        RuleCase{"NoRuleGatesUnchanged", "H 0; RX 1 3; SWAP 0 1; ISWAP 1 0 2; RZ 0 1",
                 "0: H SWAP[0,1] ISWAP[1,0](2) RZ(1) | 1: RX(3) SWAP[0,1] ISWAP[1,0](2)", 0},
        // The first CNOT ends on line 1, so line 0 is not walked past it.
        RuleCase{"TargetAtLineEndStopsTheLine", "CNOT 0 1; CNOT 0 2; CNOT 0 2",
                 "0: CNOT[0,1] CNOT[0,2] CNOT[0,2] | 1: CNOT[0,1] | 2: CNOT[0,2] CNOT[0,2]", 0, 3},
        // Walked on line 1 the pair is found from its control line only.
        RuleCase{"PairFoundOnItsControlLine", "H 0; CNOT 1 0; CNOT 1 0; H 0", "0: H H | 1:", 0},
        RuleCase{"RewriteSeenByLaterChecks", "CNOT 0 1; CNOT 0 1; CNOT 0 1; CNOT 0 1",
                 "0: | 1:", 0},
        RuleCase{"ThirdLineUntouched", "CNOT 0 1; RZ 1 4; H 2; CNOT 0 1; CZ 2 1",
                 "0: RZ(4) | 1: RZ(4) CZ[2,1] | 2: H CZ[2,1]", 0.5, 3}),
    testing::PrintToStringParamName());

// The rows as first tabled break the law; these pin why each was mended.
TEST(MendedRows, AsFirstTabledTheyBreakTheCircuitOrItsPhase) {
    struct Mend {
        const char* circuit;
        const char* tabled;  // the rewrite as first tabled, phase 0
        bool up_to_phase;    // does the tabled rewrite hold up to phase?
    };
    const Mend mends[] = {{"CNOT 0 1; RY 0 2; RY 1 2; CNOT 1 0", "H 0; RY 1 2", false},        // R3
                          {"CNOT 0 1; RY 0 6; RY 1 6; CNOT 1 0", "H 0; RY 1 6", true},         // R5
                          {"CNOT 0 1; H 0; RY 1 6; CNOT 1 0", "RY 0 6; RY 1 6", true},         // R8
                          {"GEO 0 1 3; RX 0 4; RY 1 4; GEO 0 1 5", "RY 0 4; RX 1 4", false},   // E4
                          {"GEO 0 1 1; RX 0 4; RX 1 4; GEO 1 0 7", "RY 0 4; RY 1 4", false}};  // E4
    for (const Mend& m : mends) {
        auto original = parse_gates(m.circuit);
        auto tabled = parse_gates(m.tabled);
        const sim::Unitary u = sim::gates_unitary(2, {original.begin(), original.end()}, 0);
        const sim::Unitary v = sim::gates_unitary(2, {tabled.begin(), tabled.end()}, 0);
        EXPECT_FALSE(sim::equal_exact(u, v)) << m.circuit;
        EXPECT_EQ(sim::equal_up_to_phase(u, v), m.up_to_phase) << m.circuit;
    }
}

}  // namespace
