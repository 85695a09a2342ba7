// The QASM reader against textbook matrices of the standard gates, computed here independently
// of the reader's own definitions, and against bad texts.

#include "circuit/qasm_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "circuit/graph_circuit.h"
#include "circuit/netlist_rewrite.h"
#include "circuit/netlist_text.h"
#include "support/fatal_capture.h"
#include "support/netlist_builder.h"
#include "support/unitary.h"

using sim::Complex;
using sim::Mat2;
using sim::Unitary;
using testfatal::fatal_message;

namespace {

const double kPi = 3.14159265358979323846;
const Complex kI(0, 1);

Complex expi(double x) {
    return {std::cos(x), std::sin(x)};
}

// Textbook one-qubit matrices (radians, Ry(t) = exp(-i t Y/2)).
Mat2 u3(double theta, double phi, double lambda) {
    const double c = std::cos(theta / 2), s = std::sin(theta / 2);
    return {c, -expi(lambda) * s, expi(phi) * s, expi(phi + lambda) * c};
}
Mat2 rx(double t) {
    return {std::cos(t / 2), -kI * std::sin(t / 2), -kI * std::sin(t / 2), std::cos(t / 2)};
}
Mat2 ry(double t) {
    return {std::cos(t / 2), -std::sin(t / 2), std::sin(t / 2), std::cos(t / 2)};
}
Mat2 rz(double t) {
    return {expi(-t / 2), 0, 0, expi(t / 2)};
}
Mat2 phase(double l) {
    return {1, 0, 0, expi(l)};
}
const double r = std::sqrt(0.5);
const Mat2 kH{r, r, r, -r}, kX{0, 1, 1, 0}, kY{0, -kI, kI, 0}, kZ{1, 0, 0, -1};
const Mat2 kSX{Complex(0.5, 0.5), Complex(0.5, -0.5), Complex(0.5, -0.5), Complex(0.5, 0.5)};

// Controlled-U on (control, target), basis index 2*control + target.
std::array<Complex, 16> controlled(const Mat2& u) {
    std::array<Complex, 16> m{};
    m[0] = m[5] = 1;
    m[10] = u[0], m[11] = u[1], m[14] = u[2], m[15] = u[3];
    return m;
}
std::array<Complex, 16> diagonal(Complex a, Complex b, Complex c, Complex d) {
    std::array<Complex, 16> m{};
    m[0] = a, m[5] = b, m[10] = c, m[15] = d;
    return m;
}
std::array<Complex, 16> rxx(double t) {
    std::array<Complex, 16> m{};
    for (int i = 0; i < 4; ++i) m[i * 5] = std::cos(t / 2);
    for (int i = 0; i < 4; ++i) m[i * 4 + 3 - i] = -kI * std::sin(t / 2);
    return m;
}

using Build = std::function<void(Unitary&)>;
Build one(const Mat2& m, int q) {
    return [m, q](Unitary& u) { u.apply_1q(m, q); };
}
Build two(const std::array<Complex, 16>& m, int a, int b) {
    return [m, a, b](Unitary& u) { u.apply_2q(m, a, b); };
}

struct GateCase {
    const char* name;
    std::string statements;       // on qreg q[3]
    std::vector<Build> expected;  // in time order
};

void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.name;
}

std::string program(const std::string& statements, const std::string& registers = "qreg q[3];\n") {
    return "OPENQASM 2.0;\ninclude \"qelib1.inc\";\n" + registers + statements;
}

// The unitary of the translated netlist, as a netlist file in operator order.
Unitary translated(const std::string& qasm) {
    return sim::netlist_unitary(qasm_to_netlist(qasm).netlist, sim::Order::Operator);
}

class StandardGate : public testing::TestWithParam<GateCase> {};

TEST_P(StandardGate, MatchesTheTextbookMatrixUpToPhase) {
    const GateCase& c = GetParam();
    Unitary expected = Unitary::identity(3);
    for (const Build& b : c.expected) b(expected);
    const std::string qasm = program(c.statements);
    const Unitary actual = translated(qasm);
    EXPECT_TRUE(sim::equal_up_to_phase(expected, actual))
        << qasm_to_netlist(qasm).netlist << "difference "
        << sim::max_difference_up_to_phase(expected, actual);
}

// The program's own reader, under a description that keeps named gates, agrees as well: the
// netlist is read the way the driver reads an input file.
TEST_P(StandardGate, ProgramReaderAgrees) {
    const GateCase& c = GetParam();
    std::string text = qasm_to_netlist(program(c.statements)).netlist;
    std::string forward;
    reverse_netlist(text, forward);
    GraphCircuit circuit("qasm", ND, qec_none, 0);
    circuit.read_netlist(forward);
    EXPECT_TRUE(sim::equal_up_to_phase(sim::netlist_unitary(text, sim::Order::Operator),
                                       sim::circuit_unitary(circuit)));
}

const double a = 0.37, b = -1.21, c3 = 2.05;

INSTANTIATE_TEST_SUITE_P(
    Library, StandardGate,
    testing::Values(
        GateCase{"u1", "u1(0.37) q[1];", {one(phase(a), 1)}},
        GateCase{"p", "p(-1.21) q[2];", {one(phase(b), 2)}},
        GateCase{"u2", "u2(0.37,-1.21) q[0];", {one(u3(kPi / 2, a, b), 0)}},
        GateCase{"u3", "u3(0.37,-1.21,2.05) q[0];", {one(u3(a, b, c3), 0)}},
        GateCase{"u", "u(0.37,-1.21,2.05) q[2];", {one(u3(a, b, c3), 2)}},
        GateCase{"U", "U(0.37,-1.21,2.05) q[1];", {one(u3(a, b, c3), 1)}},
        GateCase{"x_y_z", "x q[0]; y q[1]; z q[2];", {one(kX, 0), one(kY, 1), one(kZ, 2)}},
        GateCase{"h", "h q[1];", {one(kH, 1)}},
        GateCase{"s_sdg", "s q[0]; sdg q[1];", {one(phase(kPi / 2), 0), one(phase(-kPi / 2), 1)}},
        GateCase{"t_tdg", "t q[0]; tdg q[2];", {one(phase(kPi / 4), 0), one(phase(-kPi / 4), 2)}},
        GateCase{"sx_sxdg", "sx q[0]; sxdg q[0]; sx q[1];", {one(kSX, 1)}},
        GateCase{"sx", "sx q[2];", {one(kSX, 2)}},
        GateCase{"rx", "rx(0.37) q[0];", {one(rx(a), 0)}},
        GateCase{"ry", "ry(0.37) q[1];", {one(ry(a), 1)}},
        GateCase{"rz", "rz(-1.21) q[2];", {one(rz(b), 2)}}, GateCase{"id", "id q[0];", {}},
        GateCase{"cx", "cx q[2],q[0];", {two(controlled(kX), 2, 0)}},
        GateCase{"CX", "CX q[0],q[1];", {two(controlled(kX), 0, 1)}},
        GateCase{"cy", "cy q[1],q[2];", {two(controlled(kY), 1, 2)}},
        GateCase{"cz", "cz q[0],q[2];", {two(controlled(kZ), 0, 2)}},
        GateCase{"ch", "ch q[2],q[1];", {two(controlled(kH), 2, 1)}},
        GateCase{"swap",
                 "h q[0]; swap q[0],q[2];",
                 {one(kH, 0),
                  [](Unitary& u) {
                      u.apply_mcx({0}, 2);
                      u.apply_mcx({2}, 0);
                      u.apply_mcx({0}, 2);
                  }}},
        GateCase{"ccx", "ccx q[2],q[0],q[1];", {[](Unitary& u) {
                     u.apply_mcx({2, 0}, 1);
                 }}},
        GateCase{"cswap", "cswap q[1],q[0],q[2];", {[](Unitary& u) {
                     u.apply_mcx({1, 0}, 2);
                     u.apply_mcx({1, 2}, 0);
                     u.apply_mcx({1, 0}, 2);
                 }}},
        GateCase{"cu1", "cu1(0.37) q[0],q[1];", {two(controlled(phase(a)), 0, 1)}},
        GateCase{"cp", "cp(-1.21) q[2],q[1];", {two(controlled(phase(b)), 2, 1)}},
        GateCase{"crz", "crz(0.37) q[1],q[0];", {two(controlled(rz(a)), 1, 0)}},
        GateCase{"crx", "crx(-1.21) q[0],q[2];", {two(controlled(rx(b)), 0, 2)}},
        GateCase{"cry", "cry(2.05) q[2],q[0];", {two(controlled(ry(c3)), 2, 0)}},
        GateCase{"cu3", "cu3(0.37,-1.21,2.05) q[1],q[2];", {two(controlled(u3(a, b, c3)), 1, 2)}},
        GateCase{"rzz",
                 "rzz(0.37) q[0],q[2];",
                 {two(diagonal(expi(-a / 2), expi(a / 2), expi(a / 2), expi(-a / 2)), 0, 2)}},
        GateCase{"rxx", "rxx(-1.21) q[1],q[0];", {two(rxx(b), 1, 0)}},
        GateCase{"UserDefinition",
                 "gate g(alpha, beta) x, y { rz(alpha/2) x; cx x, y; ry(beta - pi) y; }\n"
                 "g(0.37, -1.21) q[2], q[0];",
                 {one(rz(a / 2), 2), two(controlled(kX), 2, 0), one(ry(b - kPi), 0)}},
        GateCase{"NestedDefinitionAndExpressions",
                 "gate inner(t) a { u3(t, -t, 2*t) a; }\n"
                 "gate outer(t) a, b { inner(t^2) b; barrier a, b; cu1(sin(t) + cos(t)/2) a, b; }\n"
                 "outer(0.37) q[0], q[1];",
                 {one(u3(a * a, -a* a, 2 * a * a), 1),
                  two(controlled(phase(std::sin(a) + std::cos(a) / 2)), 0, 1)}},
        GateCase{"DefinitionReplacesStandardGate", "gate h a { x a; }\nh q[1];", {one(kX, 1)}}),
    [](const testing::TestParamInfo<GateCase>& info) { return std::string(info.param.name); });

// The same circuit written both ways, read through the program's netlist reader under each
// description, as the driver reads an input file.
class SameCircuitAsNetlist : public testing::TestWithParam<PMD_type> {};

TEST_P(SameCircuitAsNetlist, GivesTheSameMappedUnitary) {
    const std::string qasm = program(
        "h q[0];\ncx q[0],q[1];\nrz(pi/4) q[1];\ncu1(pi/2) q[1],q[2];\nswap q[0],q[2];\n"
        "ccx q[2],q[1],q[0];\nry(-pi/8) q[2];\nrzz(3*pi/4) q[0],q[1];\ntdg q[1];\n");
    // Operator order: the last QASM statement first; ry(-pi/8) is the program's RY(0.5) and
    // rzz(t) its GEO(t) up to phase.
    const std::string netlist = testnet::make_netlist(
        3,
        "T_dag q1\nGEO q0 q1 3\nRY q2 0.5\nToffoli q2 q1 q0\nSWAP q0 q2\nCP q1 q2 2\n"
        "RZ q1 1\nCNOT q0 q1\nH q0\n");
    auto mapped = [](std::string text) {
        std::string forward;
        reverse_netlist(text, forward);
        GraphCircuit circuit("qasm", GetParam(), qec_none, 0);
        circuit.read_netlist(forward);
        return sim::circuit_unitary(circuit);
    };
    EXPECT_TRUE(sim::equal_up_to_phase(mapped(qasm_to_netlist(qasm).netlist), mapped(netlist)));
}

INSTANTIATE_TEST_SUITE_P(Descriptions, SameCircuitAsNetlist,
                         testing::Values(QD, SC, IT, NA, LP, NP, CTL, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

TEST(QasmReader, RegistersAreFlattenedInDeclarationOrderAndBroadcast) {
    const std::string qasm = program(
        "creg c[3];\nh b;\ncx b, a;\nmeasure b[1] -> c[0];\nbarrier a, b;\nmeasure a -> c;\n",
        "qreg b[2];\nqreg a[2];\n");
    const QasmTranslation t = qasm_to_netlist(qasm);
    EXPECT_EQ(t.measurements, 2);
    EXPECT_NE(t.netlist.find("qubit b[0]\nqubit b[1]\nqubit a[0]\nqubit a[1]\n"), std::string::npos)
        << t.netlist;
    Unitary expected = Unitary::identity(4);
    expected.apply_1q(kH, 0);
    expected.apply_1q(kH, 1);
    expected.apply_mcx({0}, 2);
    expected.apply_mcx({1}, 3);
    EXPECT_TRUE(sim::equal_up_to_phase(expected, translated(qasm)));
}

TEST(QasmReader, MultiplesOfPiBecomeExactUnits) {
    const std::string netlist =
        qasm_to_netlist(program("rz(pi/2) q[0];\nry(-pi*0.25) q[1];\ncu1(3*pi/4) q[0],q[2];\n"
                                "rx(pi/8 + pi/8) q[2];\nrz(0) q[1];\n"))
            .netlist;
    // Operator order: the last statement comes first; rz(0) is left out.
    EXPECT_NE(netlist.find(".begin\nRX q[2] 1\nCP q[0] q[2] 3\nRY q[1] 1\nRZ q[0] 2\n.end\n"),
              std::string::npos)
        << netlist;
}

TEST(QasmReader, LongRegisterNamesGiveWayToKeepNetlistLinesShort) {
    const std::string reg(30, 'r');
    const std::string qasm = "OPENQASM 2.0;\nqreg " + reg + "[2];\nqreg b[1];\nU(0.1,0.2,0.3) " +
                             reg + "[1];\nCX " + reg + "[0], b[0];\n";
    const std::string netlist = qasm_to_netlist(qasm).netlist;
    EXPECT_NE(netlist.find("qubit q[0]\nqubit q[1]\nqubit q[2]\n"), std::string::npos) << netlist;
    EXPECT_NE(netlist.find("CNOT q[0] q[2]\n"), std::string::npos) << netlist;
    EXPECT_NO_THROW(netlist::check_line_lengths(netlist));
}

TEST(QasmReader, ByteOrderMarkCarriageReturnsAndCommentsAreAccepted) {
    const std::string qasm =
        "\xEF\xBB\xBFOPENQASM 2.0; // version\r\ninclude \"qelib1.inc\";\r\nqreg q[1];\r\n"
        "// a comment\r\nx q[0]; // flip\r\n";
    Unitary expected = Unitary::identity(1);
    expected.apply_1q(kX, 0);
    EXPECT_TRUE(sim::equal_up_to_phase(expected, translated(qasm)));
}

TEST(QasmReader, FirstLineIsACommentSoThatInversionKeepsTheHeader) {
    const std::string netlist = qasm_to_netlist(program("h q[0];\n")).netlist;
    EXPECT_EQ(netlist.rfind("# ", 0), 0u);
}

struct BadText {
    const char* name;
    std::string text;
    std::string message;  // expected start or part of the message
};

void PrintTo(const BadText& c, std::ostream* os) {
    *os << c.name;
}

class QasmBadText : public testing::TestWithParam<BadText> {};

TEST_P(QasmBadText, EndsWithOneMessageNamingTheLine) {
    const BadText& c = GetParam();
    const std::string message = fatal_message([&] { qasm_to_netlist(c.text); });
    EXPECT_EQ(message.rfind("QASM line ", 0), 0u) << message;
    EXPECT_NE(message.find(c.message), std::string::npos)
        << "message: \"" << message << "\"\nexpected to contain: \"" << c.message << "\"";
    EXPECT_EQ(message.find('\n'), std::string::npos);
}

const std::string kHead = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[2];\ncreg c[2];\n";

INSTANTIATE_TEST_SUITE_P(
    Refused, QasmBadText,
    testing::Values(
        BadText{"Reset", kHead + "reset q[0];\n", "line 5: reset is not supported"},
        BadText{"If", kHead + "measure q[0] -> c[0];\nif (c==1) x q[1];\n", "line 6: if"},
        BadText{"Opaque", kHead + "opaque magic(a) q;\n", "line 5: opaque gates"},
        BadText{"OtherInclude", "OPENQASM 2.0;\ninclude \"mylib.inc\";\n",
                "line 2: only \"qelib1.inc\" can be included"},
        BadText{"NoVersion", "qreg q[1];\n", "line 1: the text must begin with \"OPENQASM 2.0;\""},
        BadText{"Version3", "OPENQASM 3.0;\n", "only OpenQASM 2.0"},
        BadText{"NoQubit", "OPENQASM 2.0;\ncreg c[1];\n", "no qubit is declared"},
        BadText{"UnknownGate", kHead + "foo q[0];\n", "line 5: unknown gate \"foo\""},
        BadText{"PrimitiveIsNotAGate", kHead + "CNOT q[0],q[1];\n", "unknown gate \"CNOT\""},
        BadText{"UndeclaredRegister", kHead + "h r[0];\n", "\"r\" is not a declared register"},
        BadText{"IndexOutside", kHead + "h q[2];\n", "index 2 is outside register \"q\""},
        BadText{"TooManyParameters", kHead + "h(0.1) q[0];\n", "takes 0 parameters, not 1"},
        BadText{"TooFewQubits", kHead + "cx q[0];\n", "acts on 2 qubits, not 1"},
        BadText{"SameQubitTwice", kHead + "cx q[1],q[1];\n", "the same qubit twice"},
        BadText{"BroadcastSizes", kHead + "qreg r[3];\ncx q, r;\n", "registers of different sizes"},
        BadText{"BroadcastOverlap", kHead + "cx q, q[0];\n", "the same qubit twice"},
        BadText{"MissingSemicolon", kHead + "h q[0]\nh q[1];\n", "line 6: expected \";\""},
        BadText{"UnterminatedString", "OPENQASM 2.0;\ninclude \"qelib1.inc;\n", "unterminated"},
        BadText{"StrayCharacter", kHead + "h q[0]; @\n", "line 5: unexpected character \"@\""},
        BadText{"DivisionByZero", kHead + "rz(pi/(1-1)) q[0];\n", "division by zero"},
        BadText{"NotFinite", kHead + "rz(10^400) q[0];\n", "not a finite number"},
        BadText{"UnknownParameter", kHead + "gate g(t) a {\n  rz(s) a;\n}\ng(1) q[0];\n",
                "line 6: unknown parameter"},
        BadText{"UndefinedInBody", kHead + "gate g a { later a; }\n", "unknown gate \"later\""},
        BadText{"GateDefinedTwice", kHead + "gate g a { h a; }\ngate g a { x a; }\n",
                "line 6: gate g is defined twice"},
        BadText{"FormalNamedTwice", kHead + "gate g(a) a { h a; }\n", "names \"a\" twice"},
        BadText{"NotAFormalQubit", kHead + "gate g a { h b; }\n", "\"b\" is not a qubit of gate g"},
        BadText{"MeasureInBody", kHead + "gate g a { measure a -> c[0]; }\n",
                "unknown gate \"measure\""},
        BadText{"UnclosedBody", kHead + "gate g a { h a;\n", "no closing \"}\""},
        BadText{"RegisterTwice", kHead + "creg q[1];\n", "register \"q\" is declared twice"},
        BadText{"EmptyRegister", kHead + "qreg r[0];\n", "a register holds 1 to"},
        BadText{"HugeRegister", kHead + "qreg r[99999999999999999999];\n", "too large"},
        BadText{"RealIndex", kHead + "h q[0.5];\n", "expected an index (a whole number)"},
        BadText{"ExpressionJunk", kHead + "rz(pi pi) q[0];\n", "expected \",\" or \")\""},
        BadText{"ExpressionJunkInBody", kHead + "gate g(t) a { rz(t t) a; }\ng(1) q[0];\n",
                "expected \",\" or \")\""},
        BadText{"MeasureWithoutArrow", kHead + "measure q[0] c[0];\n", "expected \"->\""},
        BadText{"MeasureIntoQubits", kHead + "measure q[0] -> q[1];\n",
                "\"q\" is not a declared register"}),
    [](const testing::TestParamInfo<BadText>& info) { return std::string(info.param.name); });

TEST(QasmReader, ExponentialExpansionIsRefused) {
    std::string text = kHead + "gate g0 a { h a; }\n";
    for (int i = 1; i <= 26; ++i)
        text += "gate g" + std::to_string(i) + " a { g" + std::to_string(i - 1) + " a; g" +
                std::to_string(i - 1) + " a; }\n";
    text += "g26 q[0];\n";
    const std::string message = fatal_message([&] { qasm_to_netlist(text); });
    EXPECT_NE(message.find("expands to more than"), std::string::npos) << message;
}

}  // namespace
