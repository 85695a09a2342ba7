// Operation counts, cycle counts and the critical path of circuit graphs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "circuit/graph_circuit.h"
#include "support/test_env.h"

namespace {

using boost::get;

int vertex_index(const GraphCircuit& c, Vertex v) {
    return get(boost::vertex_index, c.graph, v);
}

int cycle_cost(const GraphCircuit& c, Vertex v) {
    return CostCycleCount::get_cycle_cost(get(boost::vertex_gate, c.graph, v), c.pmd,
                                          get(boost::vertex_angle, c.graph, v));
}

bool has_edge(const GraphCircuit& c, Vertex from, Vertex to) {
    for (auto [it, end] = boost::out_edges(from, c.graph); it != end; ++it)
        if (boost::target(*it, c.graph) == to) return true;
    return false;
}

bool follows_kind(const GraphCircuit& c, Vertex v, Gate_type kind, bool in_edge) {
    if (in_edge) {
        for (auto [it, end] = boost::in_edges(v, c.graph); it != end; ++it)
            if (get(boost::vertex_gate, c.graph, boost::source(*it, c.graph)) == kind) return true;
    } else {
        for (auto [it, end] = boost::out_edges(v, c.graph); it != end; ++it)
            if (get(boost::vertex_gate, c.graph, boost::target(*it, c.graph)) == kind) return true;
    }
    return false;
}

/// A gate appended to a random circuit, kept to recompute the schedule independently.
struct Placed {
    Gate_type kind;
    int a, b;
    double angle;
};

/// Cycle count by a per-line clock over the gates in the order they were appended.
long long line_clock_cycles(const std::vector<Placed>& gates, int qubits, PMD_type pmd) {
    std::vector<long long> clock(qubits, 0);
    long long longest = 0;
    for (const Placed& g : gates) {
        const int cost = CostCycleCount::get_cycle_cost(g.kind, pmd, g.angle);
        long long start = clock[g.a];
        if (g.b >= 0) start = std::max(start, clock[g.b]);
        clock[g.a] = start + cost;
        if (g.b >= 0) clock[g.b] = start + cost;
        longest = std::max(longest, start + cost);
    }
    return longest;
}

}  // namespace

TEST(CircuitCounts, EmptyCircuit) {
    GraphCircuit c("empty", QD, qec_none, 0);
    c.set_dummy_node(3);
    EXPECT_EQ(c.num_ops(QD), 0);
    EXPECT_EQ(c.num_cycles(QD), 0);
    std::vector<Vertex> path{c.line_start[0]};
    c.find_critical_path(path);
    EXPECT_TRUE(path.empty());
}

TEST(CircuitCounts, NoGraphAtAll) {
    GraphCircuit c("nothing", QD, qec_none, 0);
    EXPECT_EQ(c.num_ops(QD), 0);
    EXPECT_EQ(c.num_cycles(QD), 0);
    std::vector<Vertex> path;
    c.find_critical_path(path);
    EXPECT_TRUE(path.empty());
}

TEST(CircuitCounts, OneQubitGatesOnDifferentLinesOverlap) {
    GraphCircuit c("overlap", QD, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(H, 0, 0, 0, 0);
    c.add_gate(H, 1, 0, 0, 0);
    EXPECT_EQ(c.num_cycles(QD), 12);
    EXPECT_EQ(c.num_ops(QD), 2 * c.cost_gate_count.get_gate_cost(H, QD));
}

TEST(CircuitCounts, TwoQubitGateWaitsForItsLines) {
    GraphCircuit c("wait", QD, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(H, 0, 0, 0, 0);
    c.add_gate(CNOT, 0, 1, 0);
    EXPECT_EQ(c.num_cycles(QD), 12 + 25);
    // The argument selects the physical description that prices the gates.
    EXPECT_EQ(c.num_cycles(CTL), 2);
    EXPECT_EQ(c.num_ops(SC),
              c.cost_gate_count.get_gate_cost(H, SC) + c.cost_gate_count.get_gate_cost(CNOT, SC));
    std::vector<Vertex> path;
    c.find_critical_path(path);
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(get(boost::vertex_gate, c.graph, path[0]), H);
    EXPECT_EQ(get(boost::vertex_gate, c.graph, path[1]), CNOT);
}

// The count without a code is kept per line between calls; after every kind of edit it must
// equal the sum over all gate vertices, also when the price table or the description changes.
TEST(CircuitCounts, OperationCountFollowsEveryEdit) {
    GraphCircuit c("ops", SC, qec_none, 0);
    c.set_dummy_node(3);
    auto full_count = [&](PMD_type pmd) {
        double total = 0;
        for (auto [it, end] = boost::vertices(c.graph); it != end; ++it)
            total +=
                c.cost_gate_count.get_gate_cost(boost::get(boost::vertex_gate, c.graph, *it), pmd);
        return total;
    };
    c.add_gate(RX, 0, 4, 0, 0);
    c.add_gate(CNOT, 0, 1, 0);
    c.add_gate(CNOT, 0, 1, 0);
    c.add_gate(H, 2, 0, 0, 0);
    c.add_gate(CP, 2, 1, 3);
    EXPECT_EQ(c.num_ops(SC), full_count(SC));
    c.reduce2Qgate();  // the CNOT pair cancels
    EXPECT_EQ(c.num_ops(SC), full_count(SC));
    c.add_gate(ZENO_dag, 1, 2, 0);  // priced through the ZENO row
    EXPECT_EQ(c.num_ops(SC), full_count(SC));
    EXPECT_EQ(c.num_ops(IT), full_count(IT));
    c.cost_gate_count.table[CP][SC] += 5;
    EXPECT_EQ(c.num_ops(SC), full_count(SC));
    c.reduce1Qgate();
    EXPECT_EQ(c.num_ops(SC), full_count(SC));

    // Kinds changed in place: X and Y half-turns between two CNOTs change axis (RX -> RY and
    // RY -> RZ), priced apart here so that a missed change shows.
    c.cost_gate_count.table[RY][SC] = c.cost_gate_count.table[RX][SC] + 3;
    c.cost_gate_count.table[RZ][SC] = c.cost_gate_count.table[RX][SC] + 7;
    c.add_gate(CNOT, 0, 2, 0);
    c.add_gate(RX, 0, 4, 0, 0);
    c.add_gate(RY, 2, 4, 0, 0);
    c.add_gate(CNOT, 0, 2, 0);
    const double before = c.num_ops(SC);
    c.reduce2Qgate();
    EXPECT_NE(c.num_ops(SC), before);
    EXPECT_EQ(c.num_ops(SC), full_count(SC));
}

TEST(CriticalPath, TiesGoToTheLineTheWalkIsOnThenTheLowestLine) {
    // Line 0: RZ(1) (1 cycle); line 1: RZ(1) (1 cycle); then CZ(0, 1), then RZ(1) on each line.
    GraphCircuit c("ties", QD, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(RZ, 1, 1.0, 0, 0);
    c.add_gate(RZ, 0, 1.0, 0, 0);
    c.add_gate(CZ, 0, 1, 0);
    c.add_gate(RZ, 1, 1.0, 0, 0);
    c.add_gate(RZ, 0, 1.0, 0, 0);
    std::vector<Vertex> path;
    c.find_critical_path(path);
    ASSERT_EQ(path.size(), 3u);
    // Starts on line 0 (the lowest), stays on line 0 after the CZ.
    EXPECT_EQ(vertex_index(c, path[0]), 5);
    EXPECT_EQ(vertex_index(c, path[1]), 6);
    EXPECT_EQ(vertex_index(c, path[2]), 8);
}

TEST(CriticalPath, SlackFreeChainOnTheLongerLine) {
    GraphCircuit c("longer", QD, qec_none, 0);
    c.set_dummy_node(3);
    c.add_gate(RX, 0, 1.0, 0, 0);  // 10
    c.add_gate(RX, 2, 3.0, 0, 0);  // 18
    c.add_gate(CZ, 0, 1, 0);       // 3
    c.add_gate(RY, 2, 3.0, 0, 0);  // 20
    EXPECT_EQ(c.num_cycles(QD), 38);
    std::vector<Vertex> path;
    c.find_critical_path(path);
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(get(boost::vertex_target, c.graph, path[0]), 2);
    EXPECT_EQ(get(boost::vertex_target, c.graph, path[1]), 2);
}

class RandomCircuits : public testing::TestWithParam<PMD_type> {};

TEST_P(RandomCircuits, CriticalPathIsAConnectedChainAsLongAsTheCycleCount) {
    const PMD_type pmd = GetParam();
    std::mt19937 rng(1234 + pmd);
    const Gate_type one_qubit[] = {RX, RY, RZ, H, S, T, I};
    const Gate_type two_qubit[] = {CZ, CNOT, SWAP};
    for (int round = 0; round < 40; ++round) {
        const int qubits = 1 + static_cast<int>(rng() % 6);
        GraphCircuit c("random", pmd, qec_none, 0);
        c.set_dummy_node(qubits);
        std::vector<Placed> placed;
        const int gates = static_cast<int>(rng() % 60);
        std::ostringstream dump;
        for (int i = 0; i < gates; ++i) {
            const int a = static_cast<int>(rng() % qubits);
            const int b = static_cast<int>(rng() % qubits);
            if (a != b && rng() % 3 == 0) {
                const Gate_type kind = two_qubit[rng() % 3];
                c.add_gate(kind, a, b, 0);
                placed.push_back({kind, a, b, 0});
                dump << gate_keyword(kind) << " q" << a << " q" << b << "\n";
            } else {
                const Gate_type kind = one_qubit[rng() % 7];
                const double angle = static_cast<int>(rng() % 33) / 2.0 - 8.0;
                c.add_gate(kind, a, angle, 0, 0);
                placed.push_back({kind, a, -1, angle});
                dump << gate_keyword(kind) << " q" << a << " " << angle << "\n";
            }
        }
        const double cycles = c.num_cycles(pmd);
        std::vector<Vertex> path;
        c.find_critical_path(path);
        long long length = 0;
        for (Vertex v : path) length += cycle_cost(c, v);
        const bool ok_length = cycles == length && cycles == line_clock_cycles(placed, qubits, pmd);
        bool ok_chain = true;
        for (std::size_t i = 1; i < path.size(); ++i) ok_chain &= has_edge(c, path[i - 1], path[i]);
        if (!path.empty()) {
            ok_chain &= follows_kind(c, path.front(), IN, true);
            ok_chain &= follows_kind(c, path.back(), OUT, false);
        }
        for (Vertex v : path) ok_chain &= vertex_index(c, v) >= 2 * qubits;
        if (!ok_length || !ok_chain) {
            const std::string file = "failing_critical_path_" + std::to_string(pmd) + ".txt";
            std::ofstream(file) << "# qubits " << qubits << "\n" << dump.str();
            FAIL() << "cycles " << cycles << " path length " << length << "; circuit in " << file;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, RandomCircuits, testing::Values(QD, SC, LP, NP, CTL));

// ---- Logical counts --------------------------------------------------------------------------

class LogicalCircuit : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = testenv::make_scratch_dir("logical_circuit", false);
        testenv::write_file(dir_ + "/c.txt.layout", "a b\nc\n");
    }
    std::string dir_;
};

TEST_F(LogicalCircuit, CountsComeFromTheTileTable) {
    GraphCircuit c(dir_ + "/c.txt", LP, qec_code0, 1);
    c.qubit_line = {{"a", 0}, {"b", 1}, {"c", 2}};
    c.set_dummy_node(3);
    c.add_gate(H, 0, 0, 0, 0);
    c.add_gate(CNOT, 0, 1, 0);  // horizontal
    c.add_gate(CNOT, 0, 2, 0);  // vertical
    c.add_gate(RZ, 2, 0.0, 0, 0);
    const tileTable& t = c.tile_table;
    const double h_ops = t.ops_table.at(tgH).v[0], hx_ops = t.ops_table.at(tgHCNOT).v[0],
                 vx_ops = t.ops_table.at(tgVCNOT).v[0];
    EXPECT_EQ(c.num_ops(QD), h_ops + hx_ops + vx_ops);  // the argument plays no part
    const double h_cyc = t.cyc_table.at(tgH).v[0], hx_cyc = t.cyc_table.at(tgHCNOT).v[0],
                 vx_cyc = t.cyc_table.at(tgVCNOT).v[0];
    EXPECT_EQ(c.num_cycles(QD), std::trunc(h_cyc) + std::trunc(hx_cyc) + std::trunc(vx_cyc));
    std::vector<Vertex> path;
    c.find_critical_path(path);
    // H and both CNOTs (vertices 6, 7, 8 after the six markers); the RZ by 0 costs nothing.
    std::vector<int> indices;
    for (Vertex v : path) indices.push_back(boost::get(boost::vertex_index, c.graph, v));
    std::sort(indices.begin(), indices.end());
    EXPECT_EQ(indices, (std::vector<int>{6, 7, 8}));
}

// At a high level the logical cycle counts exceed the int64 range; the schedule holds them at
// the limit and the critical-path walk must not overflow on them (the sanitizer build checks).
TEST_F(LogicalCircuit, HugeLevelsDoNotOverflowTheCriticalPath) {
    GraphCircuit c(dir_ + "/c.txt", LP, qec_code2, 18);
    c.qubit_line = {{"a", 0}, {"b", 1}, {"c", 2}};
    c.set_dummy_node(3);
    for (int i = 0; i < 4; ++i) {
        c.add_gate(H, 0, 0, 0, 0);
        c.add_gate(CNOT, 0, 1, 0);
        c.add_gate(CNOT, 1, 2, 0);
    }
    std::vector<Vertex> path;
    c.find_critical_path(path);
    EXPECT_LE(path.size(), 12u);
    EXPECT_GT(c.num_cycles(LP), 1e18);
}
