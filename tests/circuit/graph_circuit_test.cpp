#include "circuit/graph_circuit.h"

#include <gtest/gtest.h>

namespace {
int vertex_index(GraphCircuit& c, Vertex v) {
    return boost::get(boost::vertex_index, c.graph, v);
}
}  // namespace

TEST(LineSkeleton, ThreeLinesHaveMarkersSourceAndSink) {
    GraphCircuit c("skeleton", CTL, qec_none, 0);
    c.set_dummy_node(3);
    EXPECT_EQ(boost::num_vertices(c.graph), 8u);
    EXPECT_EQ(boost::num_edges(c.graph), 9u);
    EXPECT_EQ(c.gate_counter, 6);
    for (int q = 0; q < 3; ++q) {
        EXPECT_EQ(vertex_index(c, c.line_start[q]), q);
        EXPECT_EQ(vertex_index(c, c.line_end[q]), 3 + q);
        EXPECT_EQ(c.line_last[q], c.line_start[q]);
        EXPECT_EQ(next_node(c.graph, c.line_start[q], q), c.line_end[q]);
        Vertex sink = next_node(c.graph, c.line_end[q], q);
        EXPECT_EQ(boost::get(boost::vertex_gate, c.graph, sink), SINK);
        EXPECT_EQ(vertex_index(c, sink), -2);
    }
    auto order = c.topological_order();
    EXPECT_EQ(boost::get(boost::vertex_gate, c.graph, order.front()), SOURCE);
    EXPECT_EQ(boost::get(boost::vertex_gate, c.graph, order.back()), SINK);
}

TEST(LineEdits, RemoveEdgeWithoutThatLabelChangesNothing) {
    GraphCircuit c("edges", CTL, qec_none, 0);
    c.set_dummy_node(2);
    remove_an_edge(c.graph, c.line_start[0], 1);
    EXPECT_EQ(boost::num_edges(c.graph), 6u);
    EXPECT_EQ(next_node(c.graph, c.line_start[0], 0), c.line_end[0]);
    remove_an_edge(c.graph, c.line_start[0], 0);
    EXPECT_EQ(boost::num_edges(c.graph), 5u);
    // Only line 0's edge out of its start is gone: line 1 still runs from start to end.
    EXPECT_EQ(boost::out_degree(c.line_start[0], c.graph), 0u);
    EXPECT_EQ(next_node(c.graph, c.line_start[1], 1), c.line_end[1]);
}

TEST(GateInsertion, AppendsInTimeOrderWithIncreasingIndices) {
    GraphCircuit c("append", CTL, qec_none, 0);
    c.set_dummy_node(2);
    c.add_gate(H, 0, 0, 0, 0);
    c.add_gate(CNOT, 0, 1, 0);
    c.add_gate(RZ, 1, 2.0, 0, 0);
    EXPECT_EQ(boost::num_edges(c.graph), 6u + 4u);
    Vertex h = next_node(c.graph, c.line_start[0], 0);
    Vertex cx = next_node(c.graph, h, 0);
    EXPECT_EQ(vertex_index(c, h), 4);
    EXPECT_EQ(vertex_index(c, cx), 5);
    EXPECT_EQ(next_node(c.graph, c.line_start[1], 1), cx);
    Vertex rz = next_node(c.graph, cx, 1);
    EXPECT_EQ(vertex_index(c, rz), 6);
    EXPECT_EQ(next_node(c.graph, rz, 1), c.line_end[1]);
    EXPECT_EQ(prev_node(c.graph, rz, 1), cx);
    EXPECT_EQ(c.line_last[1], rz);
}

TEST(LineWalkDeathTest, NextNodeWithoutEdgeEndsTheProgram) {
    GraphCircuit c("walk", CTL, qec_none, 0);
    c.set_dummy_node(1);
    EXPECT_EXIT(next_node(c.graph, c.line_start[0], 5), testing::ExitedWithCode(1), "");
}

TEST(LineRewrite, TheVerticesOfACopyServeTheWriteBackOnlyWhileTheLineIsUnchanged) {
    // Two circuits built alike; one writes its line back with the vertices of its copy, the
    // other walks the line again. Both must hold the same records, in fresh and stale cases.
    auto build = [](GraphCircuit& c) {
        c.set_dummy_node(2);
        c.add_gate(H, 0, 0, 0, 0);
        c.add_gate(CNOT, 0, 1, 0);
        c.add_gate(RZ, 0, 2.0, 0, 0);
        c.add_gate(X, 0, 0, 0, 0);
    };
    auto records = [](GraphCircuit& c) {
        LineOfGates L;
        c.copy_a_line(0, L);
        std::string text;
        for (const Gate& g : L.gates) text += std::to_string(g.type) + " ";
        return text;
    };
    for (bool stale : {false, true}) {
        GraphCircuit with("with", CTL, qec_none, 0), without("without", CTL, qec_none, 0);
        build(with);
        build(without);
        LineOfGates L;
        CircuitGraph::LineVertices walked;
        with.copy_a_line(0, L, &walked);
        EXPECT_EQ(walked.vertices.size(), L.gates.size());
        if (stale) {
            // An edit after the copy: the write-back must not trust the copy's vertices.
            with.insert_gate_after(with.line_start[0], 0, RX, 4.0);
            without.insert_gate_after(without.line_start[0], 0, RX, 4.0);
            L.gates.insert(std::next(L.gates.begin()), Gate(RX, 4.0, 0, 0, -1, 0, -1));
        }
        L.gates.pop_back();  // OUT
        L.gates.back() = Gate(Y, 0, 0, 0, -1, 0, -1);
        L.gates.push_back(Gate(OUT, 0, 0, 0, -1, 0, -1));
        const std::vector<Gate> rewritten(L.gates.begin(), L.gates.end());
        with.revise_a_line(0, rewritten, 0.0, &walked);
        without.revise_a_line(0, rewritten, 0.0);
        EXPECT_EQ(records(with), records(without)) << (stale ? "stale" : "fresh");
        // The last run was rebuilt: line_last names the new last vertex, not the erased one.
        for (GraphCircuit* c : {&with, &without})
            EXPECT_EQ(c->line_last[0], prev_node(c->graph, c->line_end[0], 0));
        EXPECT_EQ(with.output_circuit_in_string(), without.output_circuit_in_string());
    }
}

namespace {
// The out-edge move carried out at once, as a reference for the noted one.
void move_edge_now(Graph& g, Vertex v, int q) {
    if (boost::out_degree(v, g) < 2) return;
    auto [it, end] = boost::out_edges(v, g);
    for (; it != end; ++it)
        if (boost::get(boost::edge_line, g, *it) == q) break;
    if (it == end || std::next(it) == end) return;
    const Vertex next = boost::target(*it, g);
    boost::remove_edge(*it, g);
    boost::add_edge(v, next, q, g);
}

std::string out_edge_lines(const CircuitGraph& c, Vertex v) {
    c.settle_out_edge_order();
    std::string lines;
    for (auto [it, end] = boost::out_edges(v, c.graph); it != end; ++it)
        lines += std::to_string(boost::get(boost::edge_line, c.graph, *it));
    return lines;
}
}  // namespace

TEST(LineRewrite, NotedOutEdgeMovesGiveTheOrderOfMovesMadeAtOnce) {
    // Moves noted at a two-qubit vertex, mixed with edits that change its out-edges, must leave
    // the out-edge order (and so the written gate order) that moving at once leaves.
    const std::vector<std::vector<int>> scripts = {
        {0},     {1},     {0, 1},     {1, 0},  {1, 1, 0}, {0, 10, 1},    {1, 10},
        {0, 10}, {0, 11}, {0, 11, 1}, {1, 11}, {0, 12},   {1, 12, 0, 1}, {1, 10, 11, 0},
    };
    for (const std::vector<int>& script : scripts) {
        GraphCircuit noted("noted", CTL, qec_none, 0), now("now", CTL, qec_none, 0);
        for (GraphCircuit* c : {&noted, &now}) {
            c->set_dummy_node(2);
            c->add_gate(CNOT, 0, 1, 0);
            c->add_gate(H, 0, 0, 0, 0);
            c->add_gate(X, 1, 0, 0, 0);
        }
        auto cnot = [](GraphCircuit& c) { return next_node(c.graph, c.line_start[0], 0); };
        std::string label;
        for (int step : script) {
            label += std::to_string(step) + " ";
            if (step < 10) {
                noted.move_out_edge_to_back(cnot(noted), step);
                move_edge_now(now.graph, cnot(now), step);
                continue;
            }
            for (GraphCircuit* c : {&noted, &now}) {
                const Vertex v = cnot(*c);
                if (step == 10) c->insert_gate_after(v, 1, RZ, 2.0);               // edge on line 1
                if (step == 11) c->remove_gate_vertex(next_node(c->graph, v, 0));  // line 0
                if (step == 12) c->add_gate(Z, 0, 0, 0, 0);  // the end of line 0, not at v
            }
        }
        EXPECT_EQ(out_edge_lines(noted, cnot(noted)), out_edge_lines(now, cnot(now))) << label;
        EXPECT_EQ(noted.output_circuit_in_string(), now.output_circuit_in_string()) << label;
    }
}
