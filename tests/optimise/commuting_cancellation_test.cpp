#include "optimise/commuting_cancellation.h"

#include <gtest/gtest.h>

#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/unitary.h"
#include "support/unitary_assertions.h"

using testgates::build;
using testgates::parse_gates;

namespace {

// One rule of the cancellation: a circuit (time order) and what is left of it, line by line.
struct RuleCase {
    const char* name;
    int qubits;
    const char* gates;
    const char* left;  // testview::line_walk_text after the pass
};

void PrintTo(const RuleCase& rule, std::ostream* out) {
    *out << rule.gates;
}

class CancellationRule : public testing::TestWithParam<RuleCase> {};

TEST_P(CancellationRule, LeavesWhatTheRuleSaysAndKeepsTheUnitaryExactly) {
    const RuleCase& rule = GetParam();
    const std::vector<Gate> gates = parse_gates(rule.gates);
    GraphCircuit c("rule", CTL, qec_none, 0);
    build(c, rule.qubits, gates);
    const sim::Unitary before = sim::circuit_unitary(c);
    phases::cancel_commuting_gates(c);
    EXPECT_EQ(testview::line_walk_text(c), rule.left);
    EXPECT_TRUE(sim::exactly_equal(sim::circuit_unitary(c), before));
}

const RuleCase kRules[] = {
    {"HadamardPairCancels", 1, "H 0; H 0", "0:"},
    {"CnotPairCancels", 2, "CNOT 0 1; CNOT 0 1", "0: | 1:"},
    {"InverseRotationsCancel", 1, "RZ 0 1.5; RZ 0 -1.5", "0:"},
    {"NamedInversesCancelWithTheirPhase", 1, "S 0; S_dag 0", "0:"},
    {"RotationsThatMeetMerge", 1, "T 0; T 0", "0: S"},
    {"XRotationsMerge", 1, "X 0; RX 0 1", "0: RX(5)"},
    {"ZRotationPassesTheControl", 2, "T 0; CNOT 0 1; T_dag 0", "0: CNOT[0,1] | 1: CNOT[0,1]"},
    {"XRotationPassesTheTarget", 2, "RX 1 2; CNOT 0 1; RX 1 -2", "0: CNOT[0,1] | 1: CNOT[0,1]"},
    {"CnotsSharingAControlCommute", 3, "CNOT 0 1; CNOT 0 2; CNOT 0 1",
     "0: CNOT[0,2] | 1: | 2: CNOT[0,2]"},
    {"CnotsSharingATargetCommute", 3, "CNOT 0 2; CNOT 1 2; CNOT 0 2",
     "0: | 1: CNOT[1,2] | 2: CNOT[1,2]"},
    {"ZRotationStopsAtTheTarget", 2, "T 1; CNOT 0 1; T_dag 1",
     "0: CNOT[0,1] | 1: T CNOT[0,1] T_dag"},
    {"XRotationStopsAtTheControl", 2, "X 0; CNOT 0 1; X 0", "0: X CNOT[0,1] X | 1: CNOT[0,1]"},
    {"CnotsCrossingStayApart", 2, "CNOT 0 1; CNOT 1 0; CNOT 0 1",
     "0: CNOT[0,1] CNOT[1,0] CNOT[0,1] | 1: CNOT[0,1] CNOT[1,0] CNOT[0,1]"},
    {"HadamardStopsRotations", 1, "T 0; H 0; T 0", "0: T H T"},
    {"HadamardsAroundXAxisGatesTurnThemAboutZ", 3, "H 2; CNOT 0 2; X 2; RX 2 0.5; CNOT 1 2; H 2",
     "0: CZ[0,2] | 1: CZ[1,2] | 2: CZ[0,2] RZ(-3.5) CZ[1,2]"},
    {"CzPairCancelsPastDiagonalGates", 2, "CZ 0 1; T 0; RZ 1 0.5; CZ 1 0", "0: T | 1: RZ(0.5)"},
    {"HadamardsAroundACnotControlStay", 2, "H 0; CNOT 0 1; H 0", "0: H CNOT[0,1] H | 1: CNOT[0,1]"},
    {"RemovalsUncoverNewPairs", 2, "H 1; CNOT 0 1; T 0; CNOT 0 1; H 1", "0: T | 1:"},
};

INSTANTIATE_TEST_SUITE_P(Rules, CancellationRule, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<RuleCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
