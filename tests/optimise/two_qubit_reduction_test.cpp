#include "optimise/two_qubit_reduction.h"

#include <gtest/gtest.h>

#include <random>

#include "circuit/fatal.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/random_circuits.h"
#include "support/unitary.h"

using testgates::build;
using testgates::parse_gates;
using testview::line_walk_text;

namespace {

TEST(TwoQubitReduction, E3PrintsTheCircuitThenRemovesThePair) {
    const std::vector<Gate> gates = parse_gates("GEO 0 1 3; RY 0 4; GEO 1 0 3");
    GraphCircuit c("e3", CTL, qec_none, 0);
    build(c, 2, gates);
    const sim::Unitary before = sim::gates_unitary(2, {gates.begin(), gates.end()}, 0);
    testing::internal::CaptureStdout();
    c.reduce2Qgate();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("GEO"), std::string::npos) << printed;
    EXPECT_EQ(line_walk_text(c), "0: RY(4) | 1:");
    EXPECT_DOUBLE_EQ(c.global_phase, 0.75);
    EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c)));
}

TEST(TwoQubitReduction, NewGatesTakeFreshIndicesAndLineLastStaysValid) {
    GraphCircuit c("fresh", CTL, qec_none, 0);
    build(c, 2, parse_gates("CNOT 0 1; RZ 1 4; CNOT 0 1"));
    const int counter = c.gate_counter;
    c.reduce2Qgate();
    Vertex rz = next_node(c.graph, c.line_start[0], 0);
    EXPECT_EQ(boost::get(boost::vertex_index, c.graph, rz), counter);
    EXPECT_EQ(c.gate_counter, counter + 1);
    for (int q = 0; q < 2; ++q) EXPECT_EQ(next_node(c.graph, c.line_last[q], q), c.line_end[q]);
}

TEST(TwoQubitReduction, DetachedGateIsReportedAndPassedOver) {
    GraphCircuit c("detached", CTL, qec_none, 0);
    build(c, 3, parse_gates("CNOT 0 1; H 0; H 1"));
    Vertex cnot = next_node(c.graph, c.line_start[0], 0);
    boost::put(boost::vertex_control, c.graph, cnot, 2);  // no longer claims line 0
    testing::internal::CaptureStdout();
    c.reduce2Qgate();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Error! reduce2Q(): CNOT gate, the processed line does not connect to "
                           "either control or target lines."),
              std::string::npos)
        << printed;
    EXPECT_EQ(testview::gate_count(c), 3);
}

TEST(TwoQubitReduction, DetachedPartnerOfZ2IsReportedAndLeftAlone) {
    GraphCircuit c("detached", CTL, qec_none, 0);
    build(c, 4, parse_gates("CZ 0 1; RX 0 4; RY 1 4; CZ 0 1"));
    Vertex a = next_node(c.graph, next_node(c.graph, c.line_start[0], 0), 0);
    Vertex g2 = next_node(c.graph, a, 0);
    boost::put(boost::vertex_control, c.graph, g2, 2);  // claims lines 2 and 3 only
    boost::put(boost::vertex_target, c.graph, g2, 3);
    testing::internal::CaptureStdout();
    c.reduce2Qgate();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("ERROR!! cur_vertex:gate=21 target= 1 control= 0 ii=0\n"
                           "ERROR!! control_vertex:gate=1 target= 0 control= -1 ii=0\n"
                           "ERROR!! target_vertex:gate=2 target= 1 control= -1 ii=0\n"
                           "ERROR!! merging:gate=21 target= 3 control= 2 ii=0\n"
                           "ERROR!! cur_vertex:gate=21 target= 1 control= 0 ii=0\n"),
              std::string::npos)
        << printed;
    EXPECT_EQ(testview::gate_count(c), 4);
}

TEST(TwoQubitReduction, SweepIsLinearInTheCircuitSize) {
    // A long chain of cancelling pairs; a quadratic walk would take far longer than the timeout.
    GraphCircuit c("long", CTL, qec_none, 0);
    c.set_dummy_node(3);
    for (int i = 0; i < 100000; ++i) {
        c.add_gate(CNOT, i % 3, (i + 1) % 3, 0);
        c.add_gate(CNOT, i % 3, (i + 1) % 3, 0);
        c.add_gate(H, i % 3, 0, 0, 0);
    }
    const sim::Unitary before = sim::circuit_unitary(c);
    c.reduce2Qgate();
    // Every CNOT pair cancels; the H gates stay on their lines (33334 on line 0, 33333 on the
    // others) and the circuit keeps its unitary exactly.
    EXPECT_EQ(testview::gate_count(c), 100000);
    int h_on_line[3] = {0, 0, 0};
    for (const Gate& g : testview::appended_gates(c)) {
        ASSERT_EQ(g.type, H) << testview::dump(g);
        ++h_on_line[g.target];
    }
    EXPECT_EQ(h_on_line[0], 33334);
    EXPECT_EQ(h_on_line[1], 33333);
    EXPECT_EQ(h_on_line[2], 33333);
    EXPECT_TRUE(sim::equal_exact(sim::circuit_unitary(c), before));
}

// ---- The sweep over candidates against the sweep over every vertex ----

std::string dump_name_for(const char* what, unsigned seed) {
    return std::string("failed_") + what + "_" + std::to_string(seed) + ".txt";
}

// The vertex at step `k` of line q's walk from IN (IN itself for 0; OUT when the line is
// shorter).
Vertex vertex_at(GraphCircuit& c, int q, int k) {
    Vertex v = c.line_start[q];
    for (int i = 0; i < k && v != c.line_end[q]; ++i) v = next_node(c.graph, v, q);
    return v;
}

// One random edit of a one-qubit record, the same on every circuit of `circuits` (built alike):
// an insertion, a removal, a kind or an angle changed, or a run of a line rewritten.
void random_edit(std::mt19937& rng, std::vector<GraphCircuit*> circuits, int qubits) {
    std::uniform_int_distribution<int> line(0, qubits - 1);
    const int q = line(rng);
    const int k = std::uniform_int_distribution<int>(0, 12)(rng);
    const int what = std::uniform_int_distribution<int>(0, 4)(rng);
    const double angle = std::uniform_int_distribution<int>(0, 1)(rng) == 0 ? 4.0 : 2.0;
    for (GraphCircuit* c : circuits) {
        Vertex v = vertex_at(*c, q, k);
        const Gate_type kind = boost::get(boost::vertex_gate, c->graph, v);
        switch (what) {
            case 0:
                if (v != c->line_end[q]) c->insert_gate_after(v, q, RX, angle);
                break;
            case 1:
                if (is_1Q_gate(kind)) c->remove_gate_vertex(v);
                break;
            case 2:
                if (kind == RX || kind == RY) c->set_vertex_kind(v, kind == RX ? RY : RX);
                break;
            case 3:
                if (is_1Q_gate(kind)) c->set_vertex_angle(v, angle);
                break;
            default: {
                LineOfGates L;
                c->copy_a_line(q, L);
                auto it = L.gates.begin();
                for (int i = 0; i < k && std::next(it) != L.gates.end(); ++i) ++it;
                if (is_1Q_gate(it->type)) it = L.gates.erase(it);
                if (it != L.gates.begin()) L.gates.insert(it, Gate(RY, angle, 0, 0, -1, q, 0));
                c->revise_a_line(q, L);
            }
        }
    }
}

TEST(TwoQubitReduction, SweepOverCandidatesMatchesTheSweepOverEveryVertex) {
    // Edits between the sweeps reach the two-qubit gates only through the marks the graph sets;
    // a mark missed by any edit shows as a rewrite that the sweep over candidates leaves out.
    for (unsigned seed = 0; seed < 60; ++seed) {
        std::mt19937 rng(seed);
        const int qubits = 2 + static_cast<int>(seed % 4);
        const std::vector<Gate> gates = testrandom::random_pattern_circuit(rng, qubits, 40);
        GraphCircuit candidates("candidates", CTL, qec_none, 0);
        GraphCircuit every("every", CTL, qec_none, 0);
        build(candidates, qubits, gates);
        build(every, qubits, gates);
        for (int round = 0; round < 12; ++round) {
            testing::internal::CaptureStdout();  // rule E3 prints the circuit
            reduce2Qgate(candidates, candidates.cost_model(), PairSweep::Candidates);
            reduce2Qgate(every, every.cost_model(), PairSweep::Every);
            testing::internal::GetCapturedStdout();
            ASSERT_EQ(candidates.output_circuit_in_string(), every.output_circuit_in_string())
                << "seed " << seed << ", round " << round << "\n"
                << testgates::dump_failure(dump_name_for("candidates", seed), qubits, gates);
            for (int e = 0; e < 3; ++e) random_edit(rng, {&candidates, &every}, qubits);
        }
    }
}

TEST(TwoQubitReduction, AQuietSweepLeavesNoCandidateAndAnEditMarksOnlyTheGatesThatReadIt) {
    // CNOT 0 1, then on line 0: H, X, Z (nothing to rewrite); a CZ on lines 0, 1 after them.
    GraphCircuit c("marks", CTL, qec_none, 0);
    build(c, 2, parse_gates("CNOT 0 1; H 0; X 0; Z 0; CZ 0 1"));
    const Vertex cnot = vertex_at(c, 0, 1);
    const Vertex cz = vertex_at(c, 0, 5);
    EXPECT_TRUE(c.is_two_qubit_candidate(cnot));  // new gates are candidates
    c.reduce2Qgate();
    EXPECT_EQ(testview::gate_count(c), 5);
    EXPECT_FALSE(c.is_two_qubit_candidate(cnot));
    // The CZ ends the walks (its next records are OUT): visited, it changes nothing either.
    EXPECT_FALSE(c.is_two_qubit_candidate(cz));
    // Z is the third record after the CNOT on line 0: the CNOT does not read it.
    c.set_vertex_angle(vertex_at(c, 0, 4), 1.0);
    EXPECT_FALSE(c.is_two_qubit_candidate(cnot));
    // X is the second: the CNOT reads it.
    c.set_vertex_kind(vertex_at(c, 0, 3), Y);
    EXPECT_TRUE(c.is_two_qubit_candidate(cnot));
    c.reduce2Qgate();
    EXPECT_FALSE(c.is_two_qubit_candidate(cnot));
    // A record inserted right after the CNOT on its target line marks it; the CZ, which does
    // not read that line's records there, stays unmarked.
    c.insert_gate_after(cnot, 1, RZ, 2.0);
    EXPECT_TRUE(c.is_two_qubit_candidate(cnot));
    EXPECT_FALSE(c.is_two_qubit_candidate(cz));
}

// ---- Random circuits rich in the patterns, on every description ----

class RandomReduction : public testing::TestWithParam<PMD_type> {};

/// Runs two sweeps of reduce2Qgate and checks after each that the unitary, global phase
/// included, is unchanged and every line still ends at its end marker. Returns a failure report
/// (naming the dumped netlist), or "" when all holds.
std::string check_sweeps(GraphCircuit& c, const sim::Unitary& reference,
                         const std::string& dump_name, int qubits, const std::vector<Gate>& gates) {
    for (int sweep = 0; sweep < 2; ++sweep) {
        c.reduce2Qgate();
        const sim::Unitary after = sim::circuit_unitary(c);
        if (!sim::equal_exact(reference, after)) {
            return "sweep " + std::to_string(sweep) + ", max difference " +
                   std::to_string(sim::max_difference(reference, after)) + "\n" +
                   testgates::dump_failure(dump_name, qubits, gates);
        }
        for (int q = 0; q < qubits; ++q) {
            if (next_node(c.graph, c.line_last[q], q) != c.line_end[q])
                return "line_last broken on line " + std::to_string(q) + "\n" +
                       testgates::dump_failure(dump_name, qubits, gates);
        }
    }
    return "";
}

std::string dump_name(const char* what, PMD_type pmd, int seed) {
    return std::string("failed_") + what + "_" + pmd_keyword(pmd) + "_" + std::to_string(seed) +
           ".txt";
}

TEST_P(RandomReduction, BuiltGateByGateKeepsTheUnitaryExactly) {
    const PMD_type pmd = GetParam();
    FatalHandler previous = set_fatal_handler(throwing_fatal_handler);
    for (int seed = 0; seed < 150; ++seed) {
        std::mt19937 rng(1000u * static_cast<unsigned>(pmd) + static_cast<unsigned>(seed));
        const int qubits = 2 + seed % 3;
        const std::vector<Gate> gates =
            testrandom::random_pattern_circuit(rng, qubits, 3 + seed % 12);
        GraphCircuit c("random", pmd, qec_none, 0);
        build(c, qubits, gates);
        const sim::Unitary reference = sim::gates_unitary(qubits, {gates.begin(), gates.end()}, 0);
        std::string failure;
        testing::internal::CaptureStdout();  // rule E3 prints the circuit
        try {
            failure = check_sweeps(c, reference, dump_name("reduce2Q", pmd, seed), qubits, gates);
        } catch (const FatalError& e) {
            failure = "seed " + std::to_string(seed) + " ended in a fatal error: " + e.message;
        }
        testing::internal::GetCapturedStdout();
        if (!failure.empty()) {
            ADD_FAILURE() << failure;
            break;
        }
    }
    set_fatal_handler(previous);
}

TEST_P(RandomReduction, ReadAndMappedKeepsTheUnitaryExactly) {
    const PMD_type pmd = GetParam();
    for (int seed = 0; seed < 60; ++seed) {
        std::mt19937 rng(7000u + 1000u * static_cast<unsigned>(pmd) + static_cast<unsigned>(seed));
        const int qubits = 2 + seed % 3;
        const std::vector<Gate> gates =
            testrandom::random_pattern_circuit(rng, qubits, 3 + seed % 8);
        std::string text = testgates::netlist_text(qubits, gates);
        GraphCircuit c("random", pmd, qec_none, 0);
        testing::internal::CaptureStdout();
        c.read_netlist(text);
        const sim::Unitary reference = sim::circuit_unitary(c);
        const std::string failure =
            check_sweeps(c, reference, dump_name("read_reduce2Q", pmd, seed), qubits, gates);
        testing::internal::GetCapturedStdout();
        if (!failure.empty()) {
            ADD_FAILURE() << failure;
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, RandomReduction,
                         testing::Values(QD, SC, IT, NA, LP, NP, CTL, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

}  // namespace
