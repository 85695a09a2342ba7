// Line copy and write-back, the movements through two-qubit records, index windows and the
// whole reduce1Qgate pass, checked by the unitary of random circuits on every description and
// against the literal reference strategy.
#include "optimise/line_reduction.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "circuit/graph_circuit.h"
#include "optimise/line_editor.h"
#include "optimise/two_qubit_reduction.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/literal_line_reduction.h"
#include "support/machine_descriptions.h"
#include "support/random_circuits.h"
#include "support/test_env.h"
#include "support/unitary.h"

using line::Strategy;
using testview::dump;

namespace {

using testpmd::kAllPmds;

// Builds the same random circuit into `c` for a given seed. The gate prices differ by kind
// (so that many rewrites raise or lower the cost and the best copy matters).
void build(GraphCircuit& c, unsigned seed, int qubits, int gates,
           testrandom::Kinds kinds = testrandom::Kinds::WithNamed) {
    std::mt19937 rng(seed);
    c.set_dummy_node(qubits);
    testgates::price_by_kind(c);
    testrandom::fill_random_circuit(c, rng, gates, kinds);
}

// Named gates on even seeds, only rotations and H on odd ones.
testrandom::Kinds alternate_kinds(unsigned seed) {
    return seed % 2 == 0 ? testrandom::Kinds::WithNamed : testrandom::Kinds::RotationsAndH;
}

int count_vertices(GraphCircuit& c) {
    return static_cast<int>(boost::num_vertices(c.graph));
}

TEST(LineCopy, RoundTripKeepsCircuitAndLeavesUnchangedRunsInPlace) {
    GraphCircuit c("copy", SC, qec_none, 0);
    build(c, 7, 3, 40);
    sim::Unitary before = sim::circuit_unitary(c);
    int vertices = count_vertices(c);
    int counter = c.gate_counter;
    for (int q = 0; q < c.num_qubits; ++q) {
        LineOfGates L;
        c.copy_a_line(q, L);
        EXPECT_EQ(L.gates.front().type, IN);
        EXPECT_EQ(L.gates.back().type, OUT);
        c.revise_a_line(q, L);
    }
    EXPECT_EQ(count_vertices(c), vertices);
    EXPECT_EQ(c.gate_counter, counter);  // no run changed, so no vertex was made
    EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c)));
}

TEST(LineCopy, ReviseAddsPhaseAndRebuildsRunsBetweenAnchors) {
    GraphCircuit c("revise", SC, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(RX, 0, 1, 0, 0);
    c.add_gate(CNOT, 0, 1, 0);
    c.add_gate(RZ, 0, 3, 0, 0);
    LineOfGates L;
    c.copy_a_line(0, L);
    // Replace the run before the CNOT by two gates and drop the run after it.
    auto it = std::next(L.gates.begin());
    *it = Gate(RY, 2, 0, 0, -1, 0, 999);
    L.gates.insert(std::next(it), Gate(H, 0, 0, 0, -1, 0, 999));
    L.gates.erase(std::prev(std::prev(L.gates.end())));
    L.phase = 0.25;
    int counter = c.gate_counter;
    c.revise_a_line(0, L);
    EXPECT_EQ(c.global_phase, 0.25);
    LineOfGates back;
    c.copy_a_line(0, back);
    ASSERT_EQ(back.gates.size(), 5u);
    auto g = std::next(back.gates.begin());
    EXPECT_EQ(g->type, RY);
    EXPECT_EQ(g->index, counter);
    EXPECT_EQ((++g)->type, H);
    EXPECT_EQ(g->index, counter + 1);
    EXPECT_EQ((++g)->type, CNOT);
    EXPECT_EQ((++g)->type, OUT);
    // Line 1 still reaches the CNOT and its end.
    LineOfGates other;
    c.copy_a_line(1, other);
    EXPECT_EQ(other.gates.size(), 3u);
}

TEST(LineCopy, ClearPathRemovesOnlyTheVerticesBetween) {
    GraphCircuit c("clear", SC, qec_none, 0);
    c.set_dummy_node(1);
    c.add_gate(RX, 0, 1, 0, 0);
    c.add_gate(RY, 0, 1, 0, 0);
    int vertices = count_vertices(c);
    c.clear_path(0, c.line_start[0], c.line_end[0]);
    EXPECT_EQ(count_vertices(c), vertices - 2);
    EXPECT_EQ(next_node(c.graph, c.line_start[0], 0), c.line_end[0]);
    c.clear_path(0, c.line_start[0], c.line_end[0]);  // nothing between: unchanged
    EXPECT_EQ(boost::num_edges(c.graph), 3u);
}

TEST(LineCopyDeathTest, LineNumberOutOfRangeEndsTheProgram) {
    GraphCircuit c("range", SC, qec_none, 0);
    c.set_dummy_node(2);
    LineOfGates L;
    EXPECT_EXIT(c.copy_a_line(2, L), testing::ExitedWithCode(1), "copy_a_line");
    EXPECT_EXIT(c.copy_a_line(-1, L), testing::ExitedWithCode(1), "copy_a_line");
}

// Write-back done step by step exactly as described: clear the run before each anchor, then
// insert each record before the anchor in turn. revise_a_line must leave the same graph up to
// the indices and list positions of vertices it leaves in place: the same gates in the same
// topological order, with the same order of out-edges at every vertex (which decides the
// topological order and so the order of written netlists).
void step_by_step_revise(GraphCircuit& c, int q, LineOfGates& L) {
    std::list<Gate> copy = L.gates;
    c.global_phase += L.phase;
    std::vector<Vertex> anchors;
    for (Vertex v = c.line_start[q]; v != c.line_end[q];) {
        v = next_node(c.graph, v, q);
        if (is_2Q_gate(boost::get(boost::vertex_gate, c.graph, v)) || v == c.line_end[q])
            anchors.push_back(v);
    }
    copy.pop_front();
    Vertex cur = c.line_start[q];
    for (Vertex a : anchors) {
        c.clear_path(q, cur, a);
        while (!copy.empty() && copy.front().type < 20) {
            const Gate& g = copy.front();
            Vertex v = c.new_vertex(g.type, g.angle, g.angle1, g.angle2, g.control, g.target);
            remove_an_edge(c.graph, cur, q);
            boost::add_edge(cur, v, q, c.graph);
            boost::add_edge(v, a, q, c.graph);
            cur = v;
            copy.pop_front();
        }
        if (!copy.empty()) copy.pop_front();
        cur = a;
    }
}

std::string structure(GraphCircuit& c) {
    std::ostringstream out;
    out.precision(17);
    for (Vertex v : c.topological_order()) {
        const Gate g = vertex_gate_record(c.graph, v);
        out << g.type << "(" << g.angle << "," << g.control << "," << g.target << ") out";
        for (auto [e, eend] = boost::out_edges(v, c.graph); e != eend; ++e)
            out << " " << boost::get(boost::edge_line, c.graph, *e);
        out << "\n";
    }
    return out.str();
}

TEST(LineCopy, ReviseLeavesTheSameGraphAsStepByStepInsertion) {
    for (unsigned seed = 0; seed < 40; ++seed) {
        GraphCircuit fast("fast", SC, qec_none, 0), slow("slow", SC, qec_none, 0);
        build(fast, 500 + seed, 3, 40);
        build(slow, 500 + seed, 3, 40);
        std::mt19937 rng(seed);
        for (int q = 0; q < 3; ++q) {
            LineOfGates L;
            fast.copy_a_line(q, L);
            // Drop or add one-qubit records at random, or (every third line) none, so that
            // runs left in place and runs rebuilt mix; keep the two-qubit records.
            const bool edit = rng() % 3 != 0;
            LineOfGates edited;
            for (const Gate& g : L.gates) {
                if (edit && g.type < 20 && rng() % 5 == 0) continue;
                edited.gates.push_back(g);
                if (edit && g.type < 20 && rng() % 5 == 0) edited.gates.push_back(g);
            }
            LineOfGates same = edited;
            fast.revise_a_line(q, edited);
            step_by_step_revise(slow, q, same);
        }
        ASSERT_EQ(structure(fast), structure(slow)) << "seed " << seed;
    }
}

// ---- Random circuits on every description ----

class OnEveryPmd : public testing::TestWithParam<PMD_type> {};

// Applies `op` to every line (copy, op, write back) of a circuit.
template <typename Op>
void each_line(GraphCircuit& c, Op op) {
    for (int q = 0; q < c.num_qubits; ++q) {
        LineOfGates L;
        c.copy_a_line(q, L);
        op(q, L);
        c.revise_a_line(q, L);
    }
}

TEST_P(OnEveryPmd, MovementsKeepUnitaryAndMatchReference) {
    for (int dir = 0; dir < 2; ++dir) {
        for (unsigned seed = 0; seed < 40; ++seed) {
            GraphCircuit fast("fast", GetParam(), qec_none, 0);
            GraphCircuit literal("literal", GetParam(), qec_none, 0);
            build(fast, seed, 3, 45, testrandom::Kinds::RotationsAndH);
            build(literal, seed, 3, 45, testrandom::Kinds::RotationsAndH);
            std::string before_dump = dump(fast);
            sim::Unitary before = sim::circuit_unitary(fast);
            auto run = [dir](GraphCircuit& c, Strategy s) {
                each_line(c, [&](int q, LineOfGates& L) {
                    for (int mode = 0; mode < 2; ++mode) {
                        if (dir == 0)
                            line::movement_xlzr(c.cost_model(), q, L, -1, -1, measure_of_mode(mode),
                                                s);
                        else
                            line::movement_xrzl(c.cost_model(), q, L, -1, -1, measure_of_mode(mode),
                                                s);
                    }
                });
            };
            run(fast, Strategy::Incremental);
            run(literal, Strategy::Literal);
            ASSERT_TRUE(sim::equal_exact(before, sim::circuit_unitary(fast)))
                << (dir == 0 ? "movementXLZR" : "movementXRZL") << " changed\n"
                << before_dump << "into\n"
                << dump(fast);
            ASSERT_EQ(dump(fast), dump(literal)) << "from\n" << before_dump;
        }
    }
}

TEST_P(OnEveryPmd, Reduce1QgateKeepsUnitaryAndMatchesReference) {
    for (unsigned seed = 0; seed < 40; ++seed) {
        GraphCircuit fast("fast", GetParam(), qec_none, 0);
        GraphCircuit literal("literal", GetParam(), qec_none, 0);
        const testrandom::Kinds kinds = alternate_kinds(seed);
        build(fast, 100 + seed, 3, 60, kinds);
        build(literal, 100 + seed, 3, 60, kinds);
        std::string before_dump = dump(fast);
        sim::Unitary before = sim::circuit_unitary(fast);
        fast.reduce1Qgate();
        reference::reduce_lines_literal(literal);
        ASSERT_TRUE(sim::equal_exact(before, sim::circuit_unitary(fast)))
            << "reduce1Qgate changed\n"
            << before_dump << "into\n"
            << dump(fast);
        ASSERT_EQ(dump(fast), dump(literal)) << "from\n" << before_dump;
    }
}

// The driver's loop: reduce1Qgate remembers what it made of each line and replays it for lines
// that come back unchanged; rounds with two-qubit reduction in between change some lines and
// leave others. The written netlist (gate order included) and the phase must stay those of the
// reference, which reduces every line afresh.
TEST_P(OnEveryPmd, RepeatedRoundsReplayUnchangedLinesExactly) {
    for (unsigned seed = 0; seed < 20; ++seed) {
        GraphCircuit fast("fast", GetParam(), qec_none, 0);
        GraphCircuit literal("literal", GetParam(), qec_none, 0);
        build(fast, 700 + seed, 4, 80, alternate_kinds(seed));
        build(literal, 700 + seed, 4, 80, alternate_kinds(seed));
        sim::Unitary before = sim::circuit_unitary(fast);
        for (int round = 0; round < 4; ++round) {
            fast.reduce1Qgate();
            reference::reduce_lines_literal(literal);
            ASSERT_EQ(fast.output_circuit_in_string(), literal.output_circuit_in_string())
                << "seed " << seed << " round " << round;
            fast.reduce2Qgate();
            literal.reduce2Qgate();
        }
        EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(fast)));
    }
}

// A line that a round found unchanged is taken as unchanged later only while nothing edits it:
// removing a two-qubit gate, changing a kind or an angle, or rebuilding a run on either of its
// lines must send it back to a full reduction, on the control line as on the target line.
TEST_P(OnEveryPmd, EditsOnEitherLineOfATwoQubitGateAreSeen) {
    struct Edit {
        const char* name;
        void (*apply)(GraphCircuit&);
    };
    const Edit edits[] = {
        {"remove the CNOTs",
         [](GraphCircuit& c) {
             std::vector<Vertex> doomed;
             for (auto [it, end] = boost::vertices(c.graph); it != end; ++it)
                 if (boost::get(boost::vertex_gate, c.graph, *it) == CNOT) doomed.push_back(*it);
             for (Vertex v : doomed) c.remove_gate_vertex(v);
         }},
        {"insert after the first CNOT on its target",
         [](GraphCircuit& c) {
             for (auto [it, end] = boost::vertices(c.graph); it != end; ++it)
                 if (boost::get(boost::vertex_gate, c.graph, *it) == CNOT) {
                     c.insert_gate_after(*it, boost::get(boost::vertex_target, c.graph, *it), RX,
                                         4.0);
                     return;
                 }
         }},
        {"a two-qubit reduction sweep", [](GraphCircuit& c) { c.reduce2Qgate(); }},
    };
    for (const Edit& edit : edits) {
        for (unsigned seed = 0; seed < 6; ++seed) {
            GraphCircuit fast("fast", GetParam(), qec_none, 0);
            GraphCircuit literal("literal", GetParam(), qec_none, 0);
            for (GraphCircuit* c : {&fast, &literal}) {
                c->set_dummy_node(2);
                std::mt19937 rng(500 + seed);
                for (int k = 0; k < 3; ++k) {
                    c->add_gate(RX, 0, 1 + seed % 3, 0, 0);
                    c->add_gate(CNOT, 0, 1, 0);
                    c->add_gate(RX, 0, 1, 0, 0);
                    c->add_gate(RX, 1, testrandom::random_angle(rng), 0, 0);
                    c->add_gate(CNOT, 0, 1, 0);
                    c->add_gate(RZ, 1, 2, 0, 0);
                }
            }
            // Two rounds: the second finds every line as the first left it.
            for (int round = 0; round < 2; ++round) {
                fast.reduce1Qgate();
                reference::reduce_lines_literal(literal);
            }
            edit.apply(fast);
            edit.apply(literal);
            fast.reduce1Qgate();
            reference::reduce_lines_literal(literal);
            EXPECT_EQ(fast.output_circuit_in_string(), literal.output_circuit_in_string())
                << edit.name << ", seed " << seed;
        }
    }
}

// A circuit handed another's memo of the same lines replays every line from it (the lines that
// the reduction changed included) and ends exactly where the other one did.
TEST_P(OnEveryPmd, ReplayedLinesEqualReducedLines) {
    int changed_lines = 0;
    for (unsigned seed = 0; seed < 20; ++seed) {
        GraphCircuit reduced("reduced", GetParam(), qec_none, 0);
        GraphCircuit replayed("replayed", GetParam(), qec_none, 0);
        build(reduced, 900 + seed, 3, 60, alternate_kinds(seed));
        build(replayed, 900 + seed, 3, 60, alternate_kinds(seed));
        reduced.reduce1Qgate();
        replayed.line_reduction_memo = reduced.line_reduction_memo;
        replayed.reduce1Qgate();
        EXPECT_EQ(replayed.output_circuit_in_string(), reduced.output_circuit_in_string());
        EXPECT_EQ(replayed.global_phase, reduced.global_phase);
        for (const auto& pass : reduced.line_reduction_memo.passes)
            for (const auto& entry : pass) changed_lines += entry.output_is_input ? 0 : 1;
    }
    EXPECT_GT(changed_lines, 0);
}

// Index windows as the critical-path reduction passes them: bounded by two anchors of a line.
TEST_P(OnEveryPmd, IndexWindowStagesKeepUnitaryAndMatchReference) {
    for (unsigned seed = 0; seed < 30; ++seed) {
        GraphCircuit fast("fast", GetParam(), qec_none, 0);
        GraphCircuit literal("literal", GetParam(), qec_none, 0);
        build(fast, 300 + seed, 3, 50, testrandom::Kinds::RotationsAndH);
        build(literal, 300 + seed, 3, 50, testrandom::Kinds::RotationsAndH);
        std::string before_dump = dump(fast);
        sim::Unitary before = sim::circuit_unitary(fast);
        auto run = [](GraphCircuit& c, Strategy s) {
            each_line(c, [&](int q, LineOfGates& L) {
                std::vector<int> anchors;
                for (const Gate& g : L.gates)
                    if (g.type >= 20) anchors.push_back(g.index);
                for (size_t i = 0; i + 1 < anchors.size(); ++i) {
                    size_t j = std::min(anchors.size() - 1, i + 1 + (q + i) % 2);
                    int from = anchors[i], to = anchors[j];
                    line::interchange_xrzl(c.cost_model(), L, from, to, measure_of_mode(1), s);
                    line::movement_xrzl(c.cost_model(), q, L, from, to, measure_of_mode(1), s);
                    line::simplify(c.cost_model(), L, from, to, measure_of_mode(1), s);
                    line::interchange_xlzr(c.cost_model(), L, from, to, measure_of_mode(1), s);
                    line::movement_xlzr(c.cost_model(), q, L, from, to, measure_of_mode(1), s);
                    line::simplify(c.cost_model(), L, from, to, measure_of_mode(1), s);
                }
            });
        };
        run(fast, Strategy::Incremental);
        run(literal, Strategy::Literal);
        ASSERT_TRUE(sim::equal_exact(before, sim::circuit_unitary(fast)))
            << "window stages changed\n"
            << before_dump << "into\n"
            << dump(fast);
        ASSERT_EQ(dump(fast), dump(literal)) << "from\n" << before_dump;
    }
}

INSTANTIATE_TEST_SUITE_P(AllPmds, OnEveryPmd, testing::ValuesIn(kAllPmds),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

// A line without two-qubit records gets one repetition, like a line with one: its run is
// reduced too, on every description.
TEST_P(OnEveryPmd, LineWithoutTwoQubitGatesIsReduced) {
    GraphCircuit c("plain", GetParam(), qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(RZ, 0, 3, 0, 0);
    c.add_gate(RZ, 0, 5, 0, 0);  // RZ(8) = -I
    c.add_gate(RX, 1, 2, 0, 1);
    c.add_gate(RX, 1, 1, 0, 1);
    sim::Unitary before = sim::circuit_unitary(c);
    c.reduce1Qgate();
    LineOfGates L0, L1;
    c.copy_a_line(0, L0);
    c.copy_a_line(1, L1);
    EXPECT_EQ(testgates::body(L0).size(), 0u) << dump(L0);
    EXPECT_EQ(testgates::body(L1).size(), 1u) << dump(L1);
    EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c)));
}

TEST(Reduce1Qgate, CancelsAcrossCnotControl) {
    GraphCircuit c("cancel", SC, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(RZ, 0, 3, 0, 0);
    c.add_gate(CNOT, 0, 1, 0);
    c.add_gate(RZ, 0, 5, 0, 0);
    sim::Unitary before = sim::circuit_unitary(c);
    c.reduce1Qgate();
    LineOfGates L;
    c.copy_a_line(0, L);
    EXPECT_EQ(testgates::body(L).size(), 1u) << dump(L);
    EXPECT_TRUE(sim::equal_exact(before, sim::circuit_unitary(c)));
}

}  // namespace

// ---- Logical cost modes (a circuit with a code prices by the tile table) ----

namespace {

class LogicalModes : public testing::TestWithParam<qecCode> {
  protected:
    void SetUp() override {
        // One folder per test: ctest runs the tests of this suite in parallel.
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("line_logical_") + info->name();
        for (char& ch : name)
            if (ch == '/') ch = '_';
        dir_ = testenv::make_scratch_dir(name, false);
        testenv::write_file(dir_ + "/c.txt.layout", "a b\nc\n");
    }
    // Rotations by whole angles, H and the two-qubit kinds the tile table prices.
    void build_logical(GraphCircuit& c, unsigned seed) {
        c.qubit_line = {{"a", 0}, {"b", 1}, {"c", 2}};
        c.set_dummy_node(3);
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> line(0, 2), pick(0, 9), angle(-7, 7);
        const Gate_type one[] = {RX, RY, RZ, RX, RZ, H, RZ, RY, RX, RZ};
        const Gate_type two[] = {CNOT, CNOT, CZ, GEO, SWAP, CNOT, CZ, CNOT, GEO, CNOT};
        for (int i = 0; i < 50; ++i) {
            if (pick(rng) < 3) {
                int a = line(rng), b = line(rng);
                while (b == a) b = line(rng);
                Gate_type t = two[pick(rng)];
                c.add_gate(t, a, b, t == GEO ? 4.0 : 0.0);
            } else {
                Gate_type t = one[pick(rng)];
                c.add_gate(t, line(rng), t == H ? 0.0 : angle(rng), 0, 0);
            }
        }
    }
    std::string dir_;
};

TEST_P(LogicalModes, Reduce1QgateKeepsUnitaryAndMatchesReference) {
    for (unsigned seed = 0; seed < 15; ++seed) {
        GraphCircuit fast(dir_ + "/c.txt", LP, GetParam(), 1);
        GraphCircuit literal(dir_ + "/c.txt", LP, GetParam(), 1);
        build_logical(fast, seed);
        build_logical(literal, seed);
        std::string before_dump = dump(fast);
        sim::Unitary before = sim::circuit_unitary(fast);
        fast.reduce1Qgate();
        reference::reduce_lines_literal(literal);
        ASSERT_TRUE(sim::equal_exact(before, sim::circuit_unitary(fast))) << before_dump;
        ASSERT_EQ(dump(fast), dump(literal)) << "from\n" << before_dump;
    }
}

TEST_P(LogicalModes, LogicalCycleWindowsMatchReference) {
    for (unsigned seed = 0; seed < 15; ++seed) {
        GraphCircuit fast(dir_ + "/c.txt", LP, GetParam(), 1);
        GraphCircuit literal(dir_ + "/c.txt", LP, GetParam(), 1);
        build_logical(fast, 50 + seed);
        build_logical(literal, 50 + seed);
        std::string before_dump = dump(fast);
        auto run = [](GraphCircuit& c, Strategy s) {
            for (int q = 0; q < c.num_qubits; ++q) {
                LineOfGates L;
                c.copy_a_line(q, L);
                for (int mode : {2, 3}) {
                    line::interchange_xrzl(c.cost_model(), L, -1, -1, measure_of_mode(mode), s);
                    line::movement_xrzl(c.cost_model(), q, L, -1, -1, measure_of_mode(mode), s);
                    line::simplify(c.cost_model(), L, -1, -1, measure_of_mode(mode), s);
                }
                c.revise_a_line(q, L);
            }
        };
        run(fast, Strategy::Incremental);
        run(literal, Strategy::Literal);
        ASSERT_EQ(dump(fast), dump(literal)) << "from\n" << before_dump;
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, LogicalModes, testing::Values(qec_code0, qec_code1, qec_code2));

}  // namespace
