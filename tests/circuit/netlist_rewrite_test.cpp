#include "circuit/netlist_rewrite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <sstream>
#include <string>

#include "support/fatal_capture.h"
#include "support/netlist_builder.h"
#include "support/netlist_files.h"
#include "support/test_env.h"
#include "support/unitary.h"

using testfatal::fatal_message;
using testnet::make_netlist;

namespace {

std::string reversed(std::string text) {
    std::string out = "stale";
    reverse_netlist(text, out);
    return out;
}

std::string inverted(std::string text) {
    std::string out = "stale";
    inverse_netlist(text, out);
    return out;
}

TEST(ReverseNetlist, ReversesGateLinesKeepsHeaderDropsTail) {
    EXPECT_EQ(reversed("# title\n.qubit 1\nqubit a\n.begin\nH a\nT a\nRZ a 1\n.end\nafter\n"),
              "# title\n.qubit 1\nqubit a\n.begin\nRZ a 1\nT a\nH a\n.end\n");
}

TEST(ReverseNetlist, AlwaysEndsWithEnd) {
    EXPECT_EQ(reversed(".qubit 1\nqubit a\n.begin\nH a\nX a\n"),
              ".qubit 1\nqubit a\n.begin\nX a\nH a\n.end\n");
    EXPECT_EQ(reversed("# only a header\n.qubit 1\n"), "# only a header\n.qubit 1\n.end\n");
}

TEST(ReverseNetlist, CommentsTravelWithGatesAndBlankLinesAreDropped) {
    EXPECT_EQ(reversed("\n\r\n.qubit 2\n \t\nqubit a\nqubit b\n.begin\n# first\nMCT a b\n\n"
                       "#glued\nFredkin b a x y\r\n.end\n"),
              ".qubit 2\nqubit a\nqubit b\n.begin\nFredkin b a x y\n#glued\nMCT a b\n# first\n"
              ".end\n");
}

TEST(InverseNetlist, DropsFirstLineOnlyWhenItIsACommentOrEmpty) {
    const std::string body = ".qubit 1\nqubit a\n.begin\nT a\n.end\n";
    EXPECT_EQ(inverted("# ***OUTPUT*** Netlist file\n" + body),
              ".qubit 1\nqubit a\n.begin\nT_dag a\n.end\n");
    EXPECT_EQ(inverted("\n" + body), ".qubit 1\nqubit a\n.begin\nT_dag a\n.end\n");
    // A file that starts with its ".qubit" line keeps it.
    EXPECT_EQ(inverted(body), ".qubit 1\nqubit a\n.begin\nT_dag a\n.end\n");
    // Only the first line: a later comment in the header stays.
    EXPECT_EQ(inverted("# one\n# two\n" + body),
              "# two\n.qubit 1\nqubit a\n.begin\nT_dag a\n.end\n");
}

struct InverseRow {
    const char* in;
    const char* out;
};

class InverseGateLine : public testing::TestWithParam<InverseRow> {};

TEST_P(InverseGateLine, InvertsOneGate) {
    const std::string head = ".qubit 3\nqubit q0\nqubit q1\nqubit q2\n.begin\n";
    EXPECT_EQ(inverted("#\n" + head + GetParam().in + "\n.end\n"),
              head + GetParam().out + "\n.end\n");
}

INSTANTIATE_TEST_SUITE_P(
    Gates, InverseGateLine,
    testing::Values(
        InverseRow{"I q0", "I q0"}, InverseRow{"X q1", "X q1"}, InverseRow{"Y q0", "Y q0"},
        InverseRow{"Z q0 extra", "Z q0"}, InverseRow{"H q2", "H q2"},
        InverseRow{"S q0", "S_dag q0"}, InverseRow{"S_dag q0", "S q0"},
        InverseRow{"T q2", "T_dag q2"}, InverseRow{"T_dag q2", "T q2"},
        InverseRow{"RZ q0 0.785398163", "RZ q0 -0.785398163"}, InverseRow{"RZ q0 0", "RZ q0 -0"},
        InverseRow{"RY q0 -1.5", "RY q0 1.5"}, InverseRow{"RX q0 0.1", "RX q0 -0.1"},
        InverseRow{"RX q0 0.30000000000000004", "RX q0 -0.30000000000000004"},
        InverseRow{"RZ q1 0.3333333333333333", "RZ q1 -0.3333333333333333"},
        InverseRow{"RZ q1 1e-300", "RZ q1 -1e-300"},
        InverseRow{"ASQU q0 0.1 0.2 0.3", "ASQU q0 -0.3 -0.2 -0.1"},
        InverseRow{"RXY q0 0.5 1.25", "RXY q0 -0.5 1.25"},
        InverseRow{"RXY q0 0.5 1.123456789012345678", "RXY q0 -0.5 1.1234567890123457"},
        InverseRow{"CP q0 q1 2.5", "CP q0 q1 -2.5"}, InverseRow{"GEO q1 q2 -6", "GEO q1 q2 6"},
        InverseRow{"ISWAP q0 q2 1", "ISWAP q0 q2 -1"}, InverseRow{"ZENO q0 q1", "ZENO_dag q0 q1"},
        InverseRow{"ZENO_dag q0 q1", "ZENO q0 q1"},
        InverseRow{"PERES q0 q1 q2", "PERES_dag q0 q1 q2"},
        InverseRow{"PERES_dag q0 q1 q2", "PERES q0 q1 q2"},
        InverseRow{"CNOT  q0\tq1 junk", "CNOT  q0\tq1 junk"},
        InverseRow{"Toffoli q0 q1 q2", "Toffoli q0 q1 q2"},
        InverseRow{"MCT q2 q0 q1", "MCT q2 q0 q1"}, InverseRow{"# note\nCkZ q0 q1", "CkZ q0 q1"}),
    [](const testing::TestParamInfo<InverseRow>& info) {
        std::string name = "Row" + std::to_string(info.index) + "_";
        for (const char* p = info.param.in; *p != '\0' && *p != ' '; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        return name;
    });

TEST(InverseNetlist, NegatesTheGlobalPhase) {
    EXPECT_EQ(inverted("#\n.global_phase 0.25\n.qubit 1\nqubit a\n.begin\n.end\n"),
              ".global_phase -0.25\n.qubit 1\nqubit a\n.begin\n.end\n");
    EXPECT_EQ(reversed(".global_phase 0.25\n.begin\n"), ".global_phase 0.25\n.begin\n.end\n");
}

TEST(InverseNetlist, TextWithoutEndGetsNoEnd) {
    EXPECT_EQ(inverted("#\n.qubit 1\nqubit a\n.begin\nS a\n"),
              ".qubit 1\nqubit a\n.begin\nS_dag a\n");
    EXPECT_EQ(inverted("#\n.qubit 1\n\r\n"), ".qubit 1\n");
}

TEST(InverseNetlist, BadGateLinesEndWithOneMessage) {
    const std::string head = "#\n.qubit 1\nqubit a\n.begin\n";
    EXPECT_EQ(fatal_message([&] { inverted(head + "#glued\n.end\n"); }), "Unknown gate: #glued");
    EXPECT_EQ(fatal_message([&] { inverted(head + "qubit b\n.end\n"); }), "Unknown gate: qubit");
    EXPECT_EQ(fatal_message([&] { inverted(head + "RZ a\n.end\n"); }),
              "Netlist line 5 (\"RZ a\"): RZ needs 2 operands");
    EXPECT_EQ(fatal_message([&] { inverted(head + "ASQU a 1 x 3\n.end\n"); }),
              "Netlist line 5 (\"ASQU a 1 x 3\"): angle \"x\" is not a finite number");
    EXPECT_EQ(fatal_message([&] { inverted(head + "CP a b nan\n.end\n"); }),
              "Netlist line 5 (\"CP a b nan\"): angle \"nan\" is not a finite number");
}

// Random netlists of every keyword: the inverse of the reversed text is the inverse circuit.
std::string random_netlist(std::mt19937& rng, int qubits, int gates) {
    const char* one[] = {"I", "X", "Y", "Z", "H", "S", "S_dag", "T", "T_dag"};
    const char* rot[] = {"RX", "RY", "RZ"};
    const char* two[] = {"CNOT", "CZ", "SWAP", "ZENO", "ZENO_dag"};
    const char* two_angle[] = {"CP", "GEO", "ISWAP"};
    const char* three[] = {"PERES", "PERES_dag", "Fredkin", "Toffoli"};
    std::uniform_int_distribution<int> kind(0, 8);
    std::uniform_real_distribution<double> angle(-8, 8);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto distinct = [&](int n) {
        std::vector<int> q(qubits);
        for (int i = 0; i < qubits; ++i) q[i] = i;
        std::shuffle(q.begin(), q.end(), rng);
        std::string s;
        for (int i = 0; i < n; ++i) s += " q" + std::to_string(q[i]);
        return s;
    };
    auto number = [&] {
        std::ostringstream o;
        o.precision(17);
        o << angle(rng);
        return " " + o.str();
    };
    std::string text;
    for (int g = 0; g < gates; ++g) {
        switch (kind(rng)) {
            case 0:
                text += std::string(one[pick(9)]) + distinct(1);
                break;
            case 1:
                text += std::string(rot[pick(3)]) + distinct(1) + number();
                break;
            case 2:
                text += "RXY" + distinct(1) + number() + number();
                break;
            case 3:
                text += "ASQU" + distinct(1) + number() + number() + number();
                break;
            case 4:
                text += std::string(two[pick(5)]) + distinct(2);
                break;
            case 5:
                text += std::string(two_angle[pick(3)]) + distinct(2) + number();
                break;
            case 6:
                text += std::string(three[pick(4)]) + distinct(3);
                break;
            case 7:
                text += "MCT" + distinct(1 + pick(qubits));
                break;
            default:
                text += "# comment";
                break;
        }
        text += "\n";
    }
    return "# random\n.global_phase" + number() + "\n" + testnet::make_netlist(qubits, text);
}

TEST(NetlistRewrites, ReverseThenInverseGivesTheInverseCircuit) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 40; ++round) {
        const std::string text = random_netlist(rng, 4, 25);
        const std::string back = inverted(reversed(text));
        const sim::Unitary u = sim::netlist_unitary(text, sim::Order::Operator);
        const sim::Unitary v = sim::netlist_unitary(back, sim::Order::Operator);
        const bool identity = sim::equal_exact(u * v, sim::Unitary::identity(4));
        if (!identity) testenv::write_file("failing_rewrite_netlist.txt", text);
        ASSERT_TRUE(identity) << "netlist written to failing_rewrite_netlist.txt:\n" << text;
        // The other order of the two rewrites gives the same circuit.
        const std::string back2 = reversed(inverted(text));
        EXPECT_TRUE(sim::equal_exact(sim::netlist_unitary(back2, sim::Order::Operator), v));
        // Inverting twice restores every gate exactly (numbers read back to the same double).
        EXPECT_TRUE(sim::equal_exact(
            sim::netlist_unitary(inverted("#\n" + inverted(text)), sim::Order::Operator), u));
    }
}

TEST(NetlistRewriteFiles, RewriteInPlaceAndReportMissingFiles) {
    const std::string dir = testenv::make_scratch_dir("rewrite_files", false);
    const std::string path = dir + "/net.txt";
    testenv::write_file(path, "# t\n.qubit 1\nqubit a\n.begin\nH a\nT a\n.end");
    reverse_netlistfile(path, path);
    EXPECT_EQ(testenv::read_file(path), "# t\n.qubit 1\nqubit a\n.begin\nT a\nH a\n.end\n");
    inverse_netlistfile(path, path);
    EXPECT_EQ(testenv::read_file(path), ".qubit 1\nqubit a\n.begin\nT_dag a\nH a\n.end\n");

    EXPECT_EQ(fatal_message([&] { inverse_netlistfile(dir + "/missing.txt", path); }),
              "Cannot read input file!" + dir + "/missing.txt");
    EXPECT_EQ(fatal_message([&] { reverse_netlistfile(dir, path); }),
              "Cannot read input file!" + dir);
    EXPECT_EQ(fatal_message([&] { reverse_netlistfile(path, dir + "/no/such/dir.txt"); }),
              "Cannot write output file!" + dir + "/no/such/dir.txt");
    // A failed rewrite leaves the earlier output whole.
    testenv::write_file(dir + "/bad.txt", "#\n.qubit 1\nqubit a\n.begin\nFOO a\n.end\n");
    EXPECT_EQ(fatal_message([&] { inverse_netlistfile(dir + "/bad.txt", path); }),
              "Unknown gate: FOO");
    EXPECT_EQ(testenv::read_file(path), ".qubit 1\nqubit a\n.begin\nT_dag a\nH a\n.end\n");
}

}  // namespace
