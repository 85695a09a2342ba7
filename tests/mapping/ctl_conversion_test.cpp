// Conversion of rotations by multiples of π/4 to named Clifford+T gates.

#include <gtest/gtest.h>

#include <vector>

#include "circuit/graph_circuit.h"
#include "support/unitary.h"

namespace {

std::vector<Gate> line_records(GraphCircuit& circuit, int q) {
    LineOfGates line;
    circuit.copy_a_line(q, line);
    return {line.gates.begin(), line.gates.end()};
}

struct CtlCase {
    Gate_type kind;
    int angle;
};

class CtlTable : public testing::TestWithParam<CtlCase> {};

TEST_P(CtlTable, ReplacementEqualsTheRotationUpToPhase) {
    const CtlCase param = GetParam();
    GraphCircuit circuit("ctl", CTL, qec_none, 0);
    circuit.set_dummy_node(2);
    circuit.add_gate(param.kind, 1, param.angle, 0, 0);
    circuit.global_phase = 0.25;
    const sim::Unitary before = sim::circuit_unitary(circuit);
    const int counter = circuit.gate_counter;
    circuit.convert_to_CTL();
    EXPECT_TRUE(sim::equal_up_to_phase(sim::circuit_unitary(circuit), before));
    EXPECT_EQ(circuit.global_phase, 0.25);
    const std::vector<Gate> records = line_records(circuit, 1);
    ASSERT_GE(records.size(), 3u);
    int index = counter;
    for (size_t i = 1; i + 1 < records.size(); ++i) {
        const Gate& g = records[i];
        EXPECT_TRUE(g.type == H || g.type == S || g.type == S_dag || g.type == T ||
                    g.type == T_dag || g.type == X || g.type == Z)
            << g.type;
        EXPECT_EQ(g.target, 1);
        EXPECT_EQ(g.control, -1);
        EXPECT_GT(g.index, index);  // fresh, increasing in time order
        index = g.index;
    }
}

std::vector<CtlCase> ctl_cases() {
    std::vector<CtlCase> cases;
    for (Gate_type kind : {RX, RY, RZ})
        for (int angle = 1; angle <= 7; ++angle) cases.push_back({kind, angle});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AxesAndAngles, CtlTable, testing::ValuesIn(ctl_cases()),
                         [](const testing::TestParamInfo<CtlCase>& info) {
                             return gate_keyword(info.param.kind) +
                                    std::to_string(info.param.angle);
                         });

TEST(CtlConversion, OtherRecordsAreLeftAlone) {
    GraphCircuit circuit("ctl", CTL, qec_none, 0);
    circuit.set_dummy_node(2);
    circuit.add_gate(RZ, 0, -6, 0, 0);
    circuit.add_gate(RX, 0, 0.5, 0, 0);
    circuit.add_gate(RY, 0, 8, 0, 0);
    circuit.add_gate(RZ, 0, 0, 0, 0);
    circuit.add_gate(CNOT, 0, 1, 0);
    circuit.add_gate(RZ, 1, 1, 0, 0);
    circuit.add_gate(RZ, 1, 1, 0, 0);
    circuit.add_gate(RX, 1, 4, 0, 0);
    const std::vector<Gate> line0 = line_records(circuit, 0);
    circuit.convert_to_CTL();
    const std::vector<Gate> after0 = line_records(circuit, 0);
    ASSERT_EQ(after0.size(), line0.size());
    for (size_t i = 0; i < line0.size(); ++i) {
        EXPECT_EQ(after0[i].type, line0[i].type);
        EXPECT_EQ(after0[i].angle, line0[i].angle);
    }
    std::vector<Gate_type> kinds;
    for (const Gate& g : line_records(circuit, 1)) kinds.push_back(g.type);
    EXPECT_EQ(kinds, (std::vector<Gate_type>{IN, CNOT, T, T, X, OUT}));
}

}  // namespace
