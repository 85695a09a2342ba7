// The QASM writer, checked by reading its output back with the program's QASM reader: every gate
// kind a circuit can hold, and the circuits every machine description makes.

#include "circuit/qasm_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/graph_circuit.h"
#include "circuit/netlist_text.h"
#include "circuit/netlist_writer.h"
#include "circuit/qasm_reader.h"
#include "support/fatal_capture.h"
#include "support/netlist_builder.h"
#include "support/unitary.h"

using testnet::make_netlist;

namespace {

// Unitary of a QASM text, through the reader (whose gates are checked against textbook
// matrices in its own test).
sim::Unitary qasm_unitary(const std::string& qasm) {
    return sim::netlist_unitary(qasm_to_netlist(qasm).netlist, sim::Order::Operator);
}

struct KindCase {
    const char* name;
    std::string gates;  // netlist gate lines on q0 .. q2, operator order
};
void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

class EveryKind : public testing::TestWithParam<KindCase> {};

TEST_P(EveryKind, ReadsBackToTheSameUnitary) {
    const std::string netlist = make_netlist(3, GetParam().gates);
    const std::string qasm = netlist_to_qasm(netlist, NetlistOrder::Operator);
    const sim::Unitary expected = sim::netlist_unitary(netlist, sim::Order::Operator);
    const sim::Unitary actual = qasm_unitary(qasm);
    EXPECT_TRUE(sim::equal_up_to_phase(expected, actual))
        << qasm << "difference " << sim::max_difference_up_to_phase(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EveryKind,
    testing::Values(KindCase{"Named",
                             "I q0\nX q0\nY q1\nZ q2\nH q0\nS q1\nS_dag q2\nT q0\nT_dag q1\n"},
                    KindCase{"Rotations", "RX q0 0.3\nRY q1 -1.7\nRZ q2 5.25\nH q1\n"},
                    KindCase{"RXY", "H q0\nRXY q0 1.3 0.7 \nRXY q1 -2.5 3.1 \n"},
                    KindCase{"ASQU", "H q2\nASQU q2 0.4 -1.9 2.6 \n"},
                    KindCase{"CNOT_CZ_SWAP", "H q0\nCNOT q2 q0\nCZ q0 q1\nSWAP q1 q2\nH q2\n"},
                    KindCase{"CP", "H q0\nH q1\nCP q1 q0 1.35\n"},
                    KindCase{"GEO", "H q0\nH q2\nGEO q0 q2 -2.6\n"},
                    KindCase{"ISWAP", "H q0\nRY q1 0.8\nISWAP q0 q1 0.9\nISWAP q1 q2 -3.3\n"},
                    KindCase{"ZENO", "H q0\nRX q1 0.8\nZENO q0 q1\nZENO_dag q2 q0\n"},
                    KindCase{"TinyAngles", "H q0\nRZ q0 4e-20\nCP q0 q1 1e300\n"}),
    [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(QasmWriter, OrderOfTheNetlistDecidesTheTimeOrder) {
    const std::string netlist = make_netlist(2, "H q0\nCNOT q0 q1\n");
    const std::string operator_order = netlist_to_qasm(netlist, NetlistOrder::Operator);
    const std::string time_order = netlist_to_qasm(netlist, NetlistOrder::Time);
    EXPECT_NE(operator_order.find("cx q[0],q[1];\nh q[0];\n"), std::string::npos) << operator_order;
    EXPECT_NE(time_order.find("h q[0];\ncx q[0],q[1];\n"), std::string::npos) << time_order;
}

TEST(QasmWriter, AnglesAreValidQasmReals) {
    const std::string qasm =
        netlist_to_qasm(make_netlist(1, "RZ q0 4e-20\nRY q0 2\n"), NetlistOrder::Time);
    EXPECT_NE(qasm.find("rz(pi*1.0e-20) q[0];"), std::string::npos) << qasm;
    EXPECT_NE(qasm.find("ry(-pi*0.5) q[0];"), std::string::npos) << qasm;
}

TEST(QasmWriter, DefinitionsOnlyForKindsUsed) {
    const std::string plain = netlist_to_qasm(make_netlist(2, "CNOT q0 q1\n"), NetlistOrder::Time);
    EXPECT_EQ(plain.find("gate "), std::string::npos) << plain;
    const std::string zeno = netlist_to_qasm(make_netlist(2, "ZENO q0 q1\n"), NetlistOrder::Time);
    EXPECT_NE(zeno.find("gate iswap("), std::string::npos);
    EXPECT_LT(zeno.find("gate iswap("), zeno.find("gate zeno "));
    EXPECT_EQ(zeno.find("gate geo("), std::string::npos);
}

TEST(QasmWriter, QubitsKeepTheirNamesWhenTheyFormRegisters) {
    struct Case {
        std::string qubits;    // declared names
        std::string expected;  // in the QASM text
    };
    const Case cases[] = {
        {"a[0] a[1] b[0]", "qreg a[2];\nqreg b[1];\ncx a[1],b[0];\n"},
        {"b[0] a[1] a[0]", "qreg b[1];\nqreg a[2];\ncx a[1],b[0];\n"},
        {"a[1] b[0] a[0]", "qreg a[2];\nqreg b[1];\ncx a[1],b[0];\n"},
        // Names of another form become one register q in declaration order, with a map when
        // an old name could be mistaken for a QASM qubit.
        {"x a[1] b[0]",
         "qreg q[3];\n// q[0] is the netlist's qubit x\n"
         "// q[1] is the netlist's qubit a[1]\n// q[2] is the netlist's qubit "
         "b[0]\ncx q[1],q[2];\n"},
        {"a[1] a[2] b[0]", "qreg q[3];\n// q[0] is the netlist's qubit a[1]\n"},
        {"a[1] gate[0] b[0]", "qreg q[3];\n"},
        {"a[1] b[0] b[00]", "qreg q[3];\n"},
    };
    for (const Case& c : cases) {
        std::string header = ".qubit 3\n";
        std::istringstream names(c.qubits);
        for (std::string name; names >> name;) header += "qubit " + name + "\n";
        const std::string qasm =
            netlist_to_qasm(header + ".begin\nCNOT a[1] b[0]\n.end\n", NetlistOrder::Time);
        EXPECT_NE(qasm.find(c.expected), std::string::npos) << c.qubits << "\n" << qasm;
    }
    const std::string plain = netlist_to_qasm(make_netlist(2, "CNOT q0 q1\n"), NetlistOrder::Time);
    EXPECT_NE(plain.find("qreg q[2];\ncx q[0],q[1];\n"), std::string::npos) << plain;
}

// Random circuits on registers declared in shuffled order: read back, every gate acts on the
// qubit of its own name.
TEST(QasmWriter, ShuffledDeclarationsKeepEveryGateOnItsQubit) {
    const std::vector<std::vector<std::string>> registers = {{"q[0]", "q[1]", "q[2]"},
                                                             {"b[0]", "b[1]", "a[0]", "a[1]"}};
    std::mt19937 rng(17);
    for (int round = 0; round < 24; ++round) {
        const std::vector<std::string>& canonical = registers[round % 2];
        std::vector<std::string> declared = canonical;
        std::shuffle(declared.begin(), declared.end(), rng);
        // The reader declares registers in order of first appearance, indices ascending.
        std::vector<std::string> expected_order;
        for (const std::string& name : declared) {
            const std::string reg = name.substr(0, name.find('['));
            for (const std::string& other : canonical)
                if (other.rfind(reg + "[", 0) == 0 &&
                    std::find(expected_order.begin(), expected_order.end(), other) ==
                        expected_order.end())
                    expected_order.push_back(other);
        }
        std::string gates;
        const char* kinds[] = {"H", "X", "T", "RY", "CNOT", "CP", "SWAP"};
        for (int g = 0; g < 8; ++g) {
            std::vector<std::string> pool = declared;
            std::shuffle(pool.begin(), pool.end(), rng);
            const std::string kind = kinds[rng() % std::size(kinds)];
            gates += kind + " " + pool[0];
            if (kind == "CNOT" || kind == "CP" || kind == "SWAP") gates += " " + pool[1];
            if (kind == "RY" || kind == "CP") gates += " " + std::to_string(rng() % 7 + 0.5);
            gates += "\n";
        }
        auto netlist = [&](const std::vector<std::string>& order) {
            std::string text = ".qubit " + std::to_string(order.size()) + "\n";
            for (const std::string& name : order) text += "qubit " + name + "\n";
            return text + ".begin\n" + gates + ".end\n";
        };
        const std::string qasm = netlist_to_qasm(netlist(declared), NetlistOrder::Operator);
        EXPECT_TRUE(sim::equal_up_to_phase(
            sim::netlist_unitary(netlist(expected_order), sim::Order::Operator),
            qasm_unitary(qasm)))
            << netlist(declared) << qasm;
    }
}

TEST(QasmWriter, MeasurementCommentsBecomeCregAndMeasure) {
    const std::string netlist =
        ".qubit 2\nqubit q0\nqubit q1\n.begin\nH q0\n.end\n# creg q[2]\n# creg r[1]\n"
        "# measure q1 -> q[0]\n# measure q0 -> r[0]\n";
    const std::string qasm = netlist_to_qasm(netlist, NetlistOrder::Operator);
    // The qubits' register gives way to the classical register q.
    EXPECT_NE(qasm.find("qreg q_[2];\ncreg q[2];\ncreg r[1];\nh q_[0];\n"
                        "measure q_[1] -> q[0];\nmeasure q_[0] -> r[0];\n"),
              std::string::npos)
        << qasm;
    const QasmTranslation back = qasm_to_netlist(qasm);
    EXPECT_EQ(back.measurements, 2);
    EXPECT_EQ(back.measurement_comments,
              "# creg q[2]\n# creg r[1]\n# measure q_[1] -> q[0]\n# measure q_[0] -> r[0]\n");
}

TEST(QasmWriter, MultiQubitKeywordsAreRefused) {
    const std::string message = testfatal::fatal_message(
        [] { netlist_to_qasm(make_netlist(3, "Toffoli q0 q1 q2\n"), NetlistOrder::Time); });
    EXPECT_NE(message.find("no OpenQASM form for \"Toffoli\""), std::string::npos) << message;
}

// A circuit with every netlist keyword, mapped by each description and reduced by the line
// passes (which make RXY and ASQU on some descriptions), written as QASM in time order.
class EveryDescription : public testing::TestWithParam<PMD_type> {};

TEST_P(EveryDescription, MappedCircuitReadsBack) {
    std::string text = make_netlist(
        4,
        "H q0\nRY q1 0.7\nCNOT q0 q1\nCZ q1 q2\nCP q2 q3 1.5\nGEO q0 q3 0.6\nISWAP q1 q3 1.1\n"
        "ZENO q0 q2\nZENO_dag q2 q1\nSWAP q0 q3\nToffoli q0 q1 q2\nFredkin q3 q0 q1\n"
        "PERES q1 q2 q3\nRXY q0 1.2 0.4 \nASQU q3 0.3 0.9 -1.4 \nT q2\nS_dag q1\nX q3\n");
    GraphCircuit circuit("qasm", GetParam(), qec_none, 0);
    circuit.read_netlist(text);
    circuit.reduce1Qgate();
    circuit.reduce2Qgate();
    const sim::Unitary expected = sim::circuit_unitary(circuit);
    const std::string qasm = netlist_to_qasm(netlist_file_text(circuit), NetlistOrder::Time);
    EXPECT_TRUE(sim::equal_up_to_phase(expected, qasm_unitary(qasm), 1e-8)) << qasm;
}

INSTANTIATE_TEST_SUITE_P(Descriptions, EveryDescription,
                         testing::Values(QD, SC, IT, NA, LP, NP, ND, CTL, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

}  // namespace
