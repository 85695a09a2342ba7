#include "optimise/time_order.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "support/random_circuits.h"

namespace {

// Every gate once, and on every line in the order the line holds them.
TEST(TimeOrder, RandomCircuitsGiveEveryGateOnceInLineOrder) {
    for (int seed = 0; seed < 40; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed));
        GraphCircuit c("order", CTL, qec_none, 0);
        testing::internal::CaptureStdout();
        c.set_dummy_node(1 + seed % 6);
        testing::internal::GetCapturedStdout();
        testrandom::fill_random_circuit(c, rng, 10 + seed * 5);
        const std::vector<Vertex> order = phases::gates_in_time_order(c);
        std::map<Vertex, size_t> position;
        for (size_t i = 0; i < order.size(); ++i) position[order[i]] = i;
        ASSERT_EQ(position.size(), order.size());
        ASSERT_EQ(order.size() + 2 * static_cast<size_t>(c.num_qubits) + 2,
                  boost::num_vertices(c.graph));
        for (int q = 0; q < c.num_qubits; ++q) {
            size_t last = 0;
            bool first = true;
            for (Vertex v = next_node(c.graph, c.line_start[q], q); v != c.line_end[q];
                 v = next_node(c.graph, v, q)) {
                ASSERT_EQ(position.count(v), 1u);
                if (!first) {
                    EXPECT_LT(last, position[v]) << "line " << q << ", seed " << seed;
                }
                last = position[v];
                first = false;
            }
        }
    }
}

}  // namespace
