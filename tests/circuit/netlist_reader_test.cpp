#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "circuit/graph_circuit.h"
#include "circuit/netlist_text.h"
#include "support/fatal_capture.h"
#include "support/netlist_builder.h"
#include "support/unitary.h"

using testfatal::fatal_message;
using testnet::header;
using testnet::make_netlist;

namespace {

std::string read_error(const std::string& text, PMD_type pmd = CTL) {
    GraphCircuit c("reader", pmd, qec_none, 0);
    std::string copy = text;
    return fatal_message([&] { c.read_netlist(copy); });
}

// Gate records of a line, in time order, markers excluded.
std::vector<Gate> line_gates(GraphCircuit& c, int q) {
    std::vector<Gate> gates;
    for (Vertex v = next_node(c.graph, c.line_start[q], q); v != c.line_end[q];
         v = next_node(c.graph, v, q))
        gates.push_back(vertex_gate_record(c.graph, v));
    return gates;
}

std::string names(int first, int count) {
    std::string s;
    for (int i = first; i < first + count; ++i) s += " q" + std::to_string(i);
    return s;
}

struct BadInput {
    const char* name;
    std::string text;
    std::string message;  // expected part of the fatal message
};

class ReaderBadInput : public testing::TestWithParam<BadInput> {};

TEST_P(ReaderBadInput, EndsWithOneClearMessage) {
    const BadInput& c = GetParam();
    const std::string message = read_error(c.text);
    EXPECT_NE(message.find(c.message), std::string::npos)
        << "message: \"" << message << "\"\nexpected to contain: \"" << c.message << "\"";
    EXPECT_EQ(message.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Netlists, ReaderBadInput,
    testing::Values(
        BadInput{"MissingAngle", make_netlist(1, "RZ q0\n"),
                 "line 4 (\"RZ q0\"): RZ needs 2 operands"},
        BadInput{"MissingQubit", make_netlist(2, "CNOT q0\n"), "CNOT needs 2 operands"},
        BadInput{"MissingASQUAngle", make_netlist(1, "ASQU q0 1 2\n"), "ASQU needs 4 operands"},
        BadInput{"TextAngle", make_netlist(1, "RZ q0 abc\n"),
                 "angle \"abc\" is not a finite number"},
        BadInput{"TrailingText", make_netlist(1, "RX q0 1.5x\n"),
                 "\"1.5x\" is not a finite number"},
        BadInput{"NanAngle", make_netlist(1, "RY q0 nan\n"), "\"nan\" is not a finite number"},
        BadInput{"InfAngle", make_netlist(2, "CP q0 q1 inf\n"), "\"inf\" is not a finite number"},
        BadInput{"OverflowAngle", make_netlist(1, "RZ q0 1e999\n"), "is not a finite number"},
        BadInput{"NanPhase", ".global_phase nan\n" + make_netlist(1, ""), "is not a finite number"},
        BadInput{"GateBeforeBegin", ".qubit 1\nqubit q0\nH q0\n.begin\n.end\n",
                 "line 3 (\"H q0\"): gate line before .begin"},
        BadInput{"SecondBegin", make_netlist(1, ".begin\n"), "second .begin"},
        BadInput{"NegativeCount", ".qubit -2\n", "the qubit count must be at least 1"},
        BadInput{"ZeroCount", ".qubit 0\n.begin\n.end\n", "the qubit count must be at least 1"},
        BadInput{"TextCount", ".qubit two\n", "the qubit count is not a whole number"},
        BadInput{"HugeCount", ".qubit 99999999999\n", "the qubit count is not a whole number"},
        BadInput{"NoCount", ".qubit\n", ".qubit needs 1 operand"},
        BadInput{"CountNotSet", "qubit q0\n.begin\n.end\n", "Number of qubits is not set!"},
        BadInput{"CountDiffers", ".qubit 3\nqubit q0\nqubit q1\n.begin\n.end\n",
                 "The qubit declared is not the same a total qubit!"},
        BadInput{"CountTooLargeToBuild", ".qubit 2000000000\nqubit q0\nqubit q1\n.begin\n",
                 "The qubit declared is not the same a total qubit!"},
        BadInput{"UndeclaredQubit", make_netlist(2, "CNOT q0 q7\n"), "Some qubit is not declared!"},
        BadInput{"DeclaredTwice", ".qubit 2\nqubit q0\nqubit q0\n.begin\n.end\n",
                 "Some qubit is not declared!"},
        BadInput{"DeclaredTwiceNoEnd", ".qubit 2\nqubit q0\nqubit q0\n.begin\n",
                 "Some qubit is not declared!"},
        BadInput{"DeclarationAfterBegin", make_netlist(1, "qubit q1\n"),
                 "qubit declaration after .begin"},
        BadInput{"ControlIsTarget", make_netlist(2, "CNOT q1 q1\n"), "qubit q1 is used twice"},
        BadInput{"GeoOnOneLine", make_netlist(2, "GEO q0 q0 2\n"), "qubit q0 is used twice"},
        BadInput{"ToffoliRepeatsQubit", make_netlist(3, "Toffoli q0 q1 q0\n"), "used twice"},
        BadInput{"MCTOneQubit", make_netlist(1, "MCT q0\n"), "MCT needs at least 2 qubits"},
        BadInput{"ToffoliOneQubit", make_netlist(1, "Toffoli q0\n"), "Toffoli needs at least 2"},
        BadInput{"CkZOneQubit", make_netlist(1, "CkZ q0\n"), "CkZ needs at least 2"},
        BadInput{"MCTTooManyControls", make_netlist(22, "MCT" + names(0, 22) + "\n"),
                 "MCT with more than 20 controls is not supported"},
        BadInput{"GluedComment", make_netlist(1, "#comment\n"), "Unknown gate: #comment"},
        BadInput{"UnknownKeyword", make_netlist(1, "rz q0 1\n"), "Unknown gate: rz"},
        BadInput{"EmptyText", "", "The netlist has no .begin line"},
        BadInput{"OnlyComments", "# a\n# b\n", "The netlist has no .begin line"},
        BadInput{"EndBeforeBegin", ".qubit 1\nqubit q0\n.end\n", "The netlist has no .begin line"}),
    [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

TEST(ReaderDeathTest, BadInputExitsWithStatusOne) {
    GraphCircuit c("reader", CTL, qec_none, 0);
    std::string text = make_netlist(1, "RZ q0 nan\n");
    EXPECT_EXIT(c.read_netlist(text), testing::ExitedWithCode(1), "");
}

// Every one- and two-qubit keyword, read under every description, gives a circuit whose unitary
// (global phase included) is the gate's.
class ReaderGateMeaning : public testing::TestWithParam<PMD_type> {};

TEST_P(ReaderGateMeaning, EachGateKeepsItsUnitaryExactly) {
    const std::vector<std::string> lines = {"I q0",
                                            "X q0",
                                            "Y q0",
                                            "Z q0",
                                            "S q1",
                                            "S_dag q1",
                                            "T q0",
                                            "T_dag q1",
                                            "H q0",
                                            "RX q0 1.3",
                                            "RY q1 -2.7",
                                            "RZ q0 0.4",
                                            "RXY q1 1.1 0.6",
                                            "ASQU q0 0.3 1.7 -2.2",
                                            "CNOT q0 q1",
                                            "CNOT q1 q0",
                                            "CZ q0 q1",
                                            "CP q0 q1 0.75",
                                            "CP q1 q0 4",
                                            "GEO q0 q1 2",
                                            "GEO q1 q0 -1.3",
                                            "SWAP q0 q2",
                                            "ISWAP q2 q1 1.5",
                                            "ZENO q0 q1",
                                            "ZENO_dag q1 q2",
                                            "Toffoli q0 q1 q2",
                                            "Toffoli q2 q0",
                                            "Toffoli q1 q2 q0 q3",
                                            "MCT q2 q1",
                                            "MCT q3 q0 q2 q1",
                                            "CkZ q1 q0",
                                            "CkZ q0 q3 q1",
                                            "PERES q0 q2 q1",
                                            "PERES_dag q1 q2 q0",
                                            "Fredkin q2 q0 q1"};
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        std::string text = make_netlist(4, "H q1\nRX q2 1\n" + line + "\nRY q0 0.5\nT q3\n");
        GraphCircuit c("meaning", GetParam(), qec_none, 0);
        c.read_netlist(text);
        EXPECT_TRUE(
            sim::equal_exact(sim::circuit_unitary(c), sim::netlist_unitary(text, sim::Order::Time)))
            << text;
    }
}

INSTANTIATE_TEST_SUITE_P(AllDescriptions, ReaderGateMeaning,
                         testing::Values(QD, SC, IT, NA, LP, NP, ND, CTL, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

TEST(Reader, NamedGatesStayNamedOnlyUnderNDAndCTL) {
    for (PMD_type pmd : {CTL, SC, QD}) {
        GraphCircuit c("named", pmd, qec_none, 0);
        std::string text = make_netlist(1, "X q0\nS_dag q0\nY q0\n");
        c.read_netlist(text);
        std::vector<Gate> g = line_gates(c, 0);
        ASSERT_EQ(g.size(), 3u);
        if (pmd == CTL) {
            EXPECT_EQ(g[0].type, X);
            EXPECT_EQ(g[1].type, S_dag);
            EXPECT_EQ(g[2].type, Y);
            EXPECT_EQ(c.global_phase, 0.0);
        } else {
            EXPECT_EQ(g[0].type, RX);
            EXPECT_EQ(g[0].angle, 4.0);
            EXPECT_EQ(g[1].type, RZ);
            EXPECT_EQ(g[1].angle, -2.0);
            EXPECT_EQ(g[2].type, RY);
            EXPECT_EQ(g[2].angle, 4.0);
            // X adds 0.5, S_dag takes 0.25, Y takes 0.5.
            EXPECT_DOUBLE_EQ(c.global_phase, -0.25);
        }
    }
}

TEST(Reader, CarriageReturnLinesReadLikePlainOnes) {
    const std::string plain = make_netlist(2, "H q0\n\nCNOT q0 q1\nRZ q1 2\n");
    std::string crlf;
    for (char ch : plain) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    crlf = "# title\r\n\r\n" + crlf;
    GraphCircuit a("plain", CTL, qec_none, 0), b("crlf", CTL, qec_none, 0);
    std::string p = plain;
    a.read_netlist(p);
    b.read_netlist(crlf);
    EXPECT_EQ(b.qubit_line.count("q1"), 1u);
    ASSERT_EQ(boost::num_vertices(a.graph), boost::num_vertices(b.graph));
    for (int q = 0; q < 2; ++q) {
        auto ga = line_gates(a, q), gb = line_gates(b, q);
        ASSERT_EQ(ga.size(), gb.size());
        for (size_t i = 0; i < ga.size(); ++i) EXPECT_EQ(ga[i], gb[i]);
    }
}

TEST(Reader, SeparatorOnlyLinesAndExtraTokensAreIgnored) {
    GraphCircuit c("separators", CTL, qec_none, 0);
    std::string text = header(1) + " \t \r\n\t\nRZ q0 1 trailing words\n   \n.end\n";
    c.read_netlist(text);
    auto g = line_gates(c, 0);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].type, RZ);
    EXPECT_EQ(g[0].angle, 1.0);
}

TEST(Reader, LastLineWithoutNewlineIsRead) {
    // A gate on the last line is not lost, and a final ".end" still checks the declarations.
    GraphCircuit c("tail", CTL, qec_none, 0);
    std::string text = header(1) + "H q0\nRZ q0 3";
    c.read_netlist(text);
    const std::vector<Gate> g = line_gates(c, 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].type, H);
    EXPECT_EQ(g[1].type, RZ);
    EXPECT_EQ(g[1].angle, 3.0);
    EXPECT_EQ(read_error(".qubit 2\nqubit q0\nqubit q0\n.begin\n.end"),
              "Some qubit is not declared!");
}

TEST(Reader, LongLinesOfTheProgramsOwnTextsAreReadWhole) {
    // Qubit names of 40 characters and 16-digit angles: the written ASQU line is longer than
    // the 99 characters of an input line, and reads back.
    const std::string a(40, 'a'), b(40, 'b');
    GraphCircuit c("long", ND, qec_none, 0);
    std::string text =
        ".qubit 2\nqubit " + a + "\nqubit " + b + "\n.begin\nCP " + a + " " + b + " 0.5\n.end\n";
    c.read_netlist(text);
    c.add_gate(ASQU, 0, -1.0 / 3.0, 2.0 / 3.0, -1.0 / 7.0);
    std::string written = c.output_circuit_in_string();
    const size_t asqu = written.find("ASQU");
    ASSERT_NE(asqu, std::string::npos);
    EXPECT_GT(written.find('\n', asqu) - asqu, 99u);
    GraphCircuit d("long", ND, qec_none, 0);
    d.read_netlist(written);
    EXPECT_TRUE(sim::equal_exact(sim::circuit_unitary(c), sim::circuit_unitary(d)));
}

TEST(Reader, HeaderDirectives) {
    GraphCircuit c("header", CTL, qec_none, 0);
    // Two ".qubit" lines: the last counts. ".pmd" is ignored. ".global_phase" replaces the
    // phase, also the phase that gates before it added.
    std::string text =
        ".qubit 5\n.qubit 1\n.pmd SC\n.global_phase 0.3\nqubit a\n.begin\nX a\n"
        ".global_phase 0.125\n.end\nthis line is not read\n";
    c.read_netlist(text);
    EXPECT_EQ(c.num_qubits, 1);
    EXPECT_EQ(line_gates(c, 0)[0].type, X);
    EXPECT_EQ(c.global_phase, 0.125);
    EXPECT_EQ(c.qubit_line.at("a"), 0);
    EXPECT_EQ(c.line_name.at(0), "a");
}

TEST(Reader, QubitsTakeLinesInDeclarationOrder) {
    GraphCircuit c("names", CTL, qec_none, 0);
    std::string text = ".qubit 3\nqubit zeta\nqubit alpha\nqubit m\n.begin\nCNOT m zeta\n.end\n";
    c.read_netlist(text);
    EXPECT_EQ(c.qubit_line.at("zeta"), 0);
    EXPECT_EQ(c.qubit_line.at("alpha"), 1);
    EXPECT_EQ(c.qubit_line.at("m"), 2);
    auto g = line_gates(c, 0);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].control, 2);
    EXPECT_EQ(g[0].target, 0);
}

}  // namespace
