#include "optimise/critical_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>

#include "cost/circuit_cost.h"
#include "optimise/line_reduction.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/random_circuits.h"
#include "support/unitary.h"

using testgates::build;
using testgates::parse_gates;
using testview::line_walk_text;

namespace {

/// The gate vertices of the circuit in creation order (indices 2n, 2n+1, ...).
std::vector<Vertex> gates_by_index(GraphCircuit& c) {
    std::vector<Vertex> gates;
    for (auto [it, end] = boost::vertices(c.graph); it != end; ++it)
        if (boost::get(boost::vertex_gate, c.graph, *it) < IN) gates.push_back(*it);
    std::sort(gates.begin(), gates.end(), [&](Vertex a, Vertex b) {
        return boost::get(boost::vertex_index, c.graph, a) <
               boost::get(boost::vertex_index, c.graph, b);
    });
    return gates;
}

TEST(CriticalWindows, EmptyPathGivesNoWindow) {
    GraphCircuit c("empty", CTL, qec_none, 0);
    build(c, 2, parse_gates("H 0; CNOT 0 1"));
    EXPECT_TRUE(cut_critical_windows(c.graph, {}).empty());
}

TEST(CriticalWindows, TwoQubitGatesAndMarkersGiveNoWindow) {
    GraphCircuit c("twoq", CTL, qec_none, 0);
    build(c, 2, parse_gates("CNOT 0 1; CZ 1 0; H 0"));
    const auto g = gates_by_index(c);
    EXPECT_TRUE(
        cut_critical_windows(c.graph, {c.line_start[0], g[0], g[1], c.line_end[1]}).empty());
}

TEST(CriticalWindows, RunSpansATwoQubitGateOfItsLine) {
    GraphCircuit c("span", CTL, qec_none, 0);
    build(c, 2, parse_gates("RZ 0 1; CNOT 0 1; RX 0 2; H 1"));
    const auto g = gates_by_index(c);  // indices 4..7; markers IN 0,1 and OUT 2,3
    const auto windows = cut_critical_windows(c.graph, {c.line_start[0], g[0], g[1], g[2]});
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], (CriticalWindow{0, 0, 2}));
}

TEST(CriticalWindows, RunsOnOneLineSeparatedByAnotherLineAreSeparate) {
    GraphCircuit c("zigzag", CTL, qec_none, 0);
    build(c, 2, parse_gates("H 0; CNOT 0 1; H 1; CNOT 1 0; H 0"));
    const auto g = gates_by_index(c);  // H 4, CNOT 5, H 6, CNOT 7, H 8
    const auto windows = cut_critical_windows(c.graph, g);
    const std::vector<CriticalWindow> expected = {{0, 0, 5}, {1, 5, 7}, {0, 7, 2}};
    EXPECT_EQ(windows, expected);
}

TEST(CriticalReduction, SetsTheLevelToZero) {
    // With a real critical path the windows reach the line-reduction stages.
    GraphCircuit c("level", CTL, qec_none, 3);
    build(c, 1, parse_gates("H 0"));
    c.reduce_critical();
    EXPECT_EQ(c.level, 0);
}

class CriticalWithLines : public testing::Test {};

TEST_F(CriticalWithLines, LineWithoutTwoQubitGatesIsWrittenBackUnchanged) {
    GraphCircuit c("k0", SC, qec_none, 0);
    build(c, 2, parse_gates("RX 0 4; RY 0 4; RZ 0 1; H 1"));
    const std::string before = line_walk_text(c);
    reduce_critical_windows(c, c.cost_model(), {{0, 0, 2}});
    EXPECT_EQ(line_walk_text(c), before);
    EXPECT_EQ(c.global_phase, 0.0);
}

TEST_F(CriticalWithLines, WindowSpanningATwoQubitGateKeepsTheCircuit) {
    for (PMD_type pmd : {QD, SC, IT, NA, LP, NP, CTL}) {
        const auto gates =
            parse_gates("RZ 0 1; RX 0 2; CNOT 0 1; RZ 0 3; RX 0 4; CZ 1 0; RX 0 1; RZ 0 4; RY 1 2");
        GraphCircuit c("span", pmd, qec_none, 0);
        build(c, 2, gates);
        const auto g = gates_by_index(c);
        const sim::Unitary before = sim::gates_unitary(2, {gates.begin(), gates.end()}, 0);
        const auto windows = cut_critical_windows(c.graph, {g[0], g[1], g[2], g[3], g[4], g[5]});
        ASSERT_EQ(windows.size(), 1u);
        reduce_critical_windows(c, c.cost_model(), windows);
        EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c))) << pmd_keyword(pmd);
        const std::string after = line_walk_text(c);
        EXPECT_NE(after.find("CNOT[0,1]"), std::string::npos) << after;
        EXPECT_NE(after.find("CZ[1,0]"), std::string::npos) << after;
    }
}

class RandomCritical : public testing::TestWithParam<PMD_type> {};

TEST_P(RandomCritical, KeepsTheUnitaryExactly) {
    const PMD_type pmd = GetParam();
    for (int seed = 0; seed < 60; ++seed) {
        std::mt19937 rng(5000u + 100u * static_cast<unsigned>(pmd) + static_cast<unsigned>(seed));
        const int qubits = 1 + seed % 4;
        const auto gates = testrandom::random_pattern_circuit(rng, qubits, 4 + seed % 14);
        GraphCircuit c("random", pmd, qec_none, 2);
        build(c, qubits, gates);
        const sim::Unitary before = sim::gates_unitary(qubits, {gates.begin(), gates.end()}, 0);
        testing::internal::CaptureStdout();
        c.reduce_critical();
        testing::internal::GetCapturedStdout();
        const sim::Unitary after = sim::circuit_unitary(c);
        const std::string name = std::string("failed_critical_") + pmd_keyword(pmd) + "_" +
                                 std::to_string(seed) + ".txt";
        if (!sim::equal_exact(before, after)) {
            ADD_FAILURE() << "max difference " << sim::max_difference(before, after) << "\n"
                          << testgates::dump_failure(name, qubits, gates);
            break;
        }
        EXPECT_EQ(c.level, 0);
    }
}

/// A chain of gate vertices in time order, as a critical path is: it follows one line from its
/// start and may change to the other line of any two-qubit gate it meets.
std::vector<Vertex> random_chain(GraphCircuit& c, std::mt19937& rng) {
    std::vector<Vertex> chain;
    int q = static_cast<int>(rng() % static_cast<unsigned>(c.num_qubits));
    for (Vertex v = next_node(c.graph, c.line_start[q], q);
         boost::get(boost::vertex_gate, c.graph, v) != OUT; v = next_node(c.graph, v, q)) {
        chain.push_back(v);
        if (is_2Q_gate(boost::get(boost::vertex_gate, c.graph, v)) && rng() % 2 == 0) {
            const int control = boost::get(boost::vertex_control, c.graph, v);
            q = control == q ? boost::get(boost::vertex_target, c.graph, v) : control;
        }
    }
    return chain;
}

TEST_P(RandomCritical, WindowsOfAnyChainKeepTheUnitaryExactly) {
    const PMD_type pmd = GetParam();
    for (int seed = 0; seed < 60; ++seed) {
        std::mt19937 rng(9000u + 100u * static_cast<unsigned>(pmd) + static_cast<unsigned>(seed));
        const int qubits = 1 + seed % 4;
        const auto gates = testrandom::random_pattern_circuit(rng, qubits, 4 + seed % 14);
        GraphCircuit c("chain", pmd, qec_none, 0);
        build(c, qubits, gates);
        const sim::Unitary before = sim::gates_unitary(qubits, {gates.begin(), gates.end()}, 0);
        const auto windows = cut_critical_windows(c.graph, random_chain(c, rng));
        testing::internal::CaptureStdout();
        reduce_critical_windows(c, c.cost_model(), windows);
        testing::internal::GetCapturedStdout();
        const sim::Unitary after = sim::circuit_unitary(c);
        if (!sim::equal_exact(before, after)) {
            const std::string name = std::string("failed_critical_chain_") + pmd_keyword(pmd) +
                                     "_" + std::to_string(seed) + ".txt";
            ADD_FAILURE() << windows.size() << " windows, max difference "
                          << sim::max_difference(before, after) << "\n"
                          << testgates::dump_failure(name, qubits, gates);
            break;
        }
    }
}

TEST_P(RandomCritical, LineByLineEqualsWindowByWindow) {
    const PMD_type pmd = GetParam();
    for (int seed = 0; seed < 80; ++seed) {
        std::mt19937 rng(12000u + 100u * static_cast<unsigned>(pmd) + static_cast<unsigned>(seed));
        const int qubits = 1 + seed % 5;
        const auto gates = testrandom::random_pattern_circuit(rng, qubits, 6 + seed % 30);
        GraphCircuit fast("fast", pmd, qec_none, 0);
        GraphCircuit literal("literal", pmd, qec_none, 0);
        build(fast, qubits, gates);
        build(literal, qubits, gates);
        // Several chains, so that lines carry several windows.
        std::vector<CriticalWindow> windows;
        for (int k = 0; k < 3; ++k) {
            auto more = cut_critical_windows(fast.graph, random_chain(fast, rng));
            windows.insert(windows.end(), more.begin(), more.end());
        }
        testing::internal::CaptureStdout();
        reduce_critical_windows(fast, fast.cost_model(), windows);
        reduce_critical_windows_literal(literal, literal.cost_model(), windows);
        testing::internal::GetCapturedStdout();
        if (line_walk_text(fast) != line_walk_text(literal) ||
            fast.global_phase != literal.global_phase) {
            const std::string name = std::string("failed_critical_literal_") + pmd_keyword(pmd) +
                                     "_" + std::to_string(seed) + ".txt";
            ADD_FAILURE() << line_walk_text(fast) << " (phase " << fast.global_phase << ")\nvs\n"
                          << line_walk_text(literal) << " (phase " << literal.global_phase << ")\n"
                          << testgates::dump_failure(name, qubits, gates);
            break;
        }
    }
}

// The same random circuit of `gates` gates on `qubits` lines in each of `circuits`.
void fill_alike(std::initializer_list<GraphCircuit*> circuits, unsigned seed, int qubits, int gates,
                testrandom::Kinds kinds) {
    for (GraphCircuit* c : circuits) {
        std::mt19937 fill(seed);
        c->set_dummy_node(qubits);
        testrandom::fill_random_circuit(*c, fill, gates, kinds);
    }
}

// Lines of rotations, H and two-qubit gates only, long enough for many windows per line: where
// the rotation prices agree, a window whose simplification goes on over the line is redone on
// its span alone, which must give what redoing it on the whole line gives.
TEST_P(RandomCritical, RotationLinesEqualWindowByWindow) {
    const PMD_type pmd = GetParam();
    for (int seed = 0; seed < 40; ++seed) {
        const int qubits = 2 + seed % 3;
        GraphCircuit fast("fast", pmd, qec_none, 0);
        GraphCircuit literal("literal", pmd, qec_none, 0);
        fill_alike({&fast, &literal}, 15000u + static_cast<unsigned>(seed), qubits, 60 + 6 * seed,
                   testrandom::Kinds::RotationsAndH);
        std::mt19937 rng(16000u + 100u * static_cast<unsigned>(pmd) + static_cast<unsigned>(seed));
        std::vector<CriticalWindow> windows;
        for (int k = 0; k < 6; ++k) {
            auto more = cut_critical_windows(fast.graph, random_chain(fast, rng));
            windows.insert(windows.end(), more.begin(), more.end());
        }
        const sim::Unitary before = sim::circuit_unitary(fast);
        testing::internal::CaptureStdout();
        reduce_critical_windows(fast, fast.cost_model(), windows);
        reduce_critical_windows_literal(literal, literal.cost_model(), windows);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(line_walk_text(fast), line_walk_text(literal)) << "seed " << seed;
        ASSERT_EQ(double(fast.global_phase), double(literal.global_phase)) << "seed " << seed;
        ASSERT_TRUE(sim::equal_exact(before, sim::circuit_unitary(fast))) << "seed " << seed;
    }
}

// Rounds of the line reduction and of critical-path reductions: lines with windows are copied
// from what the line reduction (or the critical reduction before) last wrote on them, and what
// is written back is noted for the next call. The lines must be what copying every window's line
// from the graph gives, and the circuit (edge order included) what copying each line from the
// graph once gives.
TEST_P(RandomCritical, LinesCopiedFromWhatWasWrittenEqualWindowByWindow) {
    const PMD_type pmd = GetParam();
    for (int seed = 0; seed < 12; ++seed) {
        const int qubits = 2 + seed % 3;
        GraphCircuit noted("noted", pmd, qec_none, 0);
        GraphCircuit walked("walked", pmd, qec_none, 0);
        GraphCircuit literal("literal", pmd, qec_none, 0);
        fill_alike({&noted, &walked, &literal}, 17000u + static_cast<unsigned>(seed), qubits,
                   80 + 10 * seed,
                   seed % 2 == 0 ? testrandom::Kinds::RotationsAndH : testrandom::Kinds::WithNamed);
        for (int round = 0; round < 3; ++round) {
            testing::internal::CaptureStdout();
            for (GraphCircuit* c : {&noted, &walked, &literal})
                line::reduce_lines(*c, c->cost_model(), c->line_reduction_memo);
            testing::internal::GetCapturedStdout();
            for (int call = 0; call < 2; ++call) {
                std::vector<Vertex> path;
                find_critical_path(noted, noted.cost_model(), path);
                const auto windows = cut_critical_windows(noted.graph, path);
                testing::internal::CaptureStdout();
                reduce_critical_windows(noted, noted.cost_model(), windows,
                                        &noted.line_reduction_memo);
                reduce_critical_windows(walked, walked.cost_model(), windows);
                reduce_critical_windows_literal(literal, literal.cost_model(), windows);
                testing::internal::GetCapturedStdout();
                ASSERT_EQ(line_walk_text(noted), line_walk_text(literal))
                    << "seed " << seed << " round " << round << " call " << call;
                ASSERT_EQ(double(noted.global_phase), double(literal.global_phase));
                ASSERT_EQ(noted.output_circuit_in_string(), walked.output_circuit_in_string())
                    << "seed " << seed << " round " << round << " call " << call;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, RandomCritical,
                         testing::Values(QD, SC, IT, NA, LP, NP, CTL, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

}  // namespace
