#include "circuit/netlist_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/graph_circuit.h"
#include "support/fatal_capture.h"
#include "support/netlist_builder.h"
#include "support/test_env.h"
#include "support/unitary.h"

using testfatal::fatal_message;
using testnet::make_netlist;

namespace {

std::string gate_section(const std::string& text) {
    size_t begin = text.find(".begin\n") + 7;
    return text.substr(begin, text.find(".end\n") - begin);
}

std::unique_ptr<GraphCircuit> read(const std::string& text, PMD_type pmd) {
    auto c = std::make_unique<GraphCircuit>("writer", pmd, qec_none, 0);
    std::string copy = text;
    c->read_netlist(copy);
    return c;
}

TEST(Writer, EmptyCircuitWritesHeaderAndEmptyGateSection) {
    auto c = read(make_netlist(2, ""), CTL);
    EXPECT_EQ(netlist_file_text(*c),
              "# ***OUTPUT*** Netlist file\n# Created by Marovin\n.qubit 2\n.pmd CTL\n"
              "qubit q0\nqubit q1\n.begin\n.end\n");
    c->global_phase = 0.25;
    EXPECT_EQ(c->output_circuit_in_string(),
              "# ***OUTPUT*** Netlist file\n# Created by Marovin\n.qubit 2\n.pmd CTL\n"
              ".global_phase 0.25\nqubit q0\nqubit q1\n.begin\n.end\n");
}

TEST(Writer, GateLinesAndNumbersAtSixteenDigits) {
    GraphCircuit c("lines", ND, qec_none, 0);
    std::string text = make_netlist(2, "");
    c.read_netlist(text);
    c.add_gate(RZ, 0, 0.1, 0, 0);
    c.add_gate(RX, 0, 1.0 / 3.0, 0, 0);
    c.add_gate(RXY, 0, 1, 0.5, 0);
    c.add_gate(ASQU, 0, -1, 2, 2.5e-20);
    c.add_gate(T_dag, 0, 0, 0, 0);
    c.add_gate(CP, 0, 1, 2.5);
    c.add_gate(CNOT, 1, 0, 0);
    c.add_gate(ZENO_dag, 0, 1, 0);
    c.add_gate(ISWAP, 1, 0, -0.0);
    EXPECT_EQ(gate_section(netlist_file_text(c)),
              "RZ q0 0.1\n"
              "RX q0 0.3333333333333333\n"
              "RXY q0 1 0.5 \n"
              "ASQU q0 -1 2 2.5e-20 \n"
              "T_dag q0\n"
              "CP q0 q1 2.5\n"
              "CNOT q1 q0\n"
              "ZENO_dag q0 q1\n"
              "ISWAP q1 q0 -0\n");
}

// The file form keeps its 16 digits (an angle of 1e15 or more is written modulo 16, the same
// gate); the string form, which the next stage reads, gives back every double exactly.
TEST(Writer, StringFormReadsBackEveryAngleExactly) {
    GraphCircuit c("exact", ND, qec_none, 0);
    std::string text = make_netlist(2, "");
    c.read_netlist(text);
    const double angles[] = {0.1,  0.1 + 0.2, 1.0 / 3.0, 1000000000000000.5, -1e15 - 0.25,
                             -0.0, 5e-324,    7.0,       4503599627370495.5};
    for (double a : angles) c.add_gate(RZ, 0, a, 0, 0);
    c.add_gate(CP, 0, 1, 0.1 + 0.2);
    c.global_phase = 0.1 + 0.2;
    EXPECT_EQ(gate_section(netlist_file_text(c)),
              "RZ q0 0.1\nRZ q0 0.3\nRZ q0 0.3333333333333333\nRZ q0 0.5\nRZ q0 -0.25\n"
              "RZ q0 -0\nRZ q0 4.940656458412465e-324\nRZ q0 7\nRZ q0 15.5\nCP q0 q1 0.3\n");
    const std::string string = c.output_circuit_in_string();
    EXPECT_NE(string.find(".global_phase 0.30000000000000004\n"), std::string::npos) << string;
    EXPECT_NE(string.find("RZ q0 0.1\nRZ q0 0.30000000000000004\n"), std::string::npos) << string;
    auto back = read(string, ND);
    EXPECT_EQ(static_cast<double>(back->global_phase), 0.1 + 0.2);
    std::vector<Gate> records;
    back->copy_a_line(0, records);
    std::vector<double> read_back;
    for (const Gate& g : records)
        if (g.type == RZ) read_back.push_back(g.angle);
    ASSERT_EQ(read_back.size(), std::size(angles));
    for (size_t i = 0; i < read_back.size(); ++i)
        EXPECT_TRUE(std::signbit(read_back[i]) == std::signbit(angles[i]) &&
                    read_back[i] == angles[i])
            << i;
}

TEST(Writer, PmdKeywordOfFileAndStringForms) {
    for (PMD_type pmd : {FTS, ND}) {
        auto c = read(make_netlist(1, ""), pmd);
        EXPECT_NE(netlist_file_text(*c).find(std::string(".pmd ") + pmd_keyword(pmd) + "\n"),
                  std::string::npos);
        EXPECT_NE(c->output_circuit_in_string().find(".pmd ???\n"), std::string::npos);
    }
    auto c = read(make_netlist(1, ""), SC);
    EXPECT_NE(c->output_circuit_in_string().find(".pmd SC\n"), std::string::npos);
}

// Written text read back by a circuit of the same description gives the same gates in the same
// order on every line, and (string form) the same global phase.
class WriterRoundTrip : public testing::TestWithParam<PMD_type> {};

TEST_P(WriterRoundTrip, SameGatesPerLineAndSameUnitary) {
    const std::string gates =
        "H q0\nX q1\nY q2\nRZ q0 0.1\nS q1\nCNOT q0 q1\nRY q2 -0.3333333333333333\n"
        "T q0\nCZ q2 q0\nRXY q1 1.25 0.5\nCP q1 q2 0.7\nGEO q0 q2 -2\nASQU q1 0.2 0.4 0.6\n"
        "T_dag q2\nZ q0\nRX q1 7.5\nCNOT q2 q1\nI q0\n";
    auto a = read(make_netlist(3, gates), GetParam());
    a->global_phase += 0.3;
    auto b = read(a->output_circuit_in_string(), GetParam());
    EXPECT_TRUE(sim::equal_exact(sim::circuit_unitary(*a), sim::circuit_unitary(*b)));
    // The file form drops the phase but keeps the unitary up to it, gates in time order.
    auto f = read(netlist_file_text(*a), GetParam());
    EXPECT_TRUE(sim::equal_up_to_phase(sim::circuit_unitary(*a), sim::circuit_unitary(*f)));
    EXPECT_TRUE(sim::equal_up_to_phase(
        sim::circuit_unitary(*a), sim::netlist_unitary(netlist_file_text(*a), sim::Order::Time)));
    // FTS mappings append named gates (T, H, ...) that the reader turns into rotations again, so
    // only the unitary survives there.
    if (GetParam() == FTS) return;
    EXPECT_EQ(a->global_phase, b->global_phase);
    EXPECT_EQ(f->global_phase, 0.0);
    for (int q = 0; q < 3; ++q) {
        std::vector<Gate> ga, gb;
        for (Vertex v = next_node(a->graph, a->line_start[q], q); v != a->line_end[q];
             v = next_node(a->graph, v, q))
            ga.push_back(vertex_gate_record(a->graph, v));
        for (Vertex v = next_node(b->graph, b->line_start[q], q); v != b->line_end[q];
             v = next_node(b->graph, v, q))
            gb.push_back(vertex_gate_record(b->graph, v));
        ASSERT_EQ(ga.size(), gb.size()) << "line " << q;
        for (size_t i = 0; i < ga.size(); ++i) {
            EXPECT_EQ(ga[i].type, gb[i].type);
            EXPECT_EQ(ga[i].control, gb[i].control);
            EXPECT_EQ(ga[i].target, gb[i].target);
            EXPECT_DOUBLE_EQ(ga[i].angle, gb[i].angle);
            EXPECT_DOUBLE_EQ(ga[i].angle1, gb[i].angle1);
            EXPECT_DOUBLE_EQ(ga[i].angle2, gb[i].angle2);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Descriptions, WriterRoundTrip, testing::Values(CTL, SC, QD, ND, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

TEST(Writer, OutputFileIsReplacedWholeAndLeavesNoTemporaryFile) {
    const std::string dir = testenv::make_scratch_dir("writer_output", false);
    const std::string path = dir + "/out.txt";
    testenv::write_file(path, std::string(100000, 'x'));
    auto c = read(make_netlist(1, "H q0\n"), CTL);
    c->output_circuit(path);
    EXPECT_EQ(testenv::read_file(path), netlist_file_text(*c));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(Writer, UnwritableOutputFileIsReported) {
    auto c = read(make_netlist(1, "H q0\n"), CTL);
    EXPECT_EQ(fatal_message([&] { c->output_circuit("no_such_dir/sub/out.txt"); }),
              "File open failed when writing result!");
}

TEST(WriterDeathTest, UnwritableOutputFileExitsWithStatusOne) {
    auto c = read(make_netlist(1, "H q0\n"), CTL);
    EXPECT_EXIT(c->output_circuit("no_such_dir/sub/out.txt"), testing::ExitedWithCode(1), "");
}

TEST(Writer, PrintCircuitListsGatesWithTotalCostAndRaisesConsolePrecision) {
    auto c = read(make_netlist(2, "H q0\nCNOT q0 q1\nRZ q1 0.1\n"), CTL);
    const std::streamsize saved = std::cout.precision();
    std::cout.precision(6);
    std::stringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    c->print_circuit();
    std::cout << 1.0 / 3.0;
    std::cout.rdbuf(old);
    const std::streamsize after = std::cout.precision();
    std::cout.precision(saved);
    EXPECT_EQ(after, 16);
    const std::string out = captured.str();
    EXPECT_EQ(out.rfind("# Netlist file\n# Created by Marovin\n.qubit 2\n.pmd CTL\nH q0\n", 0), 0u)
        << out;
    EXPECT_NE(out.find("RZ q1 0.1\nTotal cost="), std::string::npos) << out;
    EXPECT_NE(out.find("0.3333333333333333"), std::string::npos) << out;
}

}  // namespace

// Both texts from one walk are the texts of the two writers, on every description (".pmd" and
// the phase line differ between the forms, the gate lines do not).
TEST(Writer, BothTextsFromOneWalkEqualTheTwoWriters) {
    for (PMD_type pmd : {QD, SC, IT, NA, LP, NP, ND, CTL, FTS}) {
        auto c = read(make_netlist(3,
                                   "RZ q0 0.3333333333333333\nCNOT q1 q2\nT q2\nGEO q0 q2 1.5\n"
                                   "SWAP q0 q1\n"),
                      pmd);
        c->global_phase = 0.125;
        const NetlistTexts texts = netlist_texts(*c, c->pmd);
        EXPECT_EQ(texts.file, netlist_file_text(*c)) << pmd;
        EXPECT_EQ(texts.string, c->output_circuit_in_string()) << pmd;
    }
}
