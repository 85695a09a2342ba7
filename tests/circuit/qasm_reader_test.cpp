// The QASM reader against textbook matrices of the standard gates, computed here independently
// of the reader's own definitions, and against bad texts.

#include "circuit/qasm_reader.h"

#include <gtest/gtest.h>

#include <climits>
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

// Left-multiplies by e^{i phi} on the basis states where all `qubits` are 1.
void apply_mcphase(Unitary& u, const std::vector<int>& qubits, double phi) {
    size_t mask = 0;
    for (int q : qubits) mask |= size_t{1} << q;
    for (size_t r = 0; r < u.dim; ++r)
        if ((r & mask) == mask)
            for (size_t c = 0; c < u.dim; ++c) u.at(r, c) *= expi(phi);
}

using Build = std::function<void(Unitary&)>;
Build one(const Mat2& m, int q) {
    return [m, q](Unitary& u) { u.apply_1q(m, q); };
}
Build two(const std::array<Complex, 16>& m, int a, int b) {
    return [m, a, b](Unitary& u) { u.apply_2q(m, a, b); };
}
Build mcx(const std::vector<int>& controls, int target) {
    return [controls, target](Unitary& u) { u.apply_mcx(controls, target); };
}
// The relative-phase Toffoli gates in textbook gates (H, T, T^dagger, CX), as published.
Build relative_phase_toffoli(int a, int b, int c) {
    const Mat2 t = phase(kPi / 4), tdg = phase(-kPi / 4);
    return [=](Unitary& u) {
        for (const Build& g : {one(kH, c), one(t, c), mcx({b}, c), one(tdg, c), mcx({a}, c),
                               one(t, c), mcx({b}, c), one(tdg, c), one(kH, c)})
            g(u);
    };
}
Build relative_phase_c3x(int a, int b, int c, int d) {
    const Mat2 t = phase(kPi / 4), tdg = phase(-kPi / 4);
    return [=](Unitary& u) {
        for (const Build& g :
             {one(kH, d), one(t, d), mcx({c}, d), one(tdg, d), one(kH, d), mcx({a}, d), one(t, d),
              mcx({b}, d), one(tdg, d), mcx({a}, d), one(t, d), mcx({b}, d), one(tdg, d),
              one(kH, d), one(t, d), mcx({c}, d), one(tdg, d), one(kH, d)})
            g(u);
    };
}

struct GateCase {
    const char* name;
    std::string statements;       // on qreg q[qubits]
    std::vector<Build> expected;  // in time order
    int qubits = 3;
};

void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.name;
}

std::string program(const std::string& statements, const std::string& registers = "qreg q[3];\n") {
    return "OPENQASM 2.0;\ninclude \"qelib1.inc\";\n" + registers + statements;
}

std::string register_of(int qubits) {
    return "qreg q[" + std::to_string(qubits) + "];\n";
}

// The unitary of the translated netlist, as a netlist file in operator order.
Unitary translated(const std::string& qasm) {
    return sim::netlist_unitary(qasm_to_netlist(qasm).netlist, sim::Order::Operator);
}

class StandardGate : public testing::TestWithParam<GateCase> {};

TEST_P(StandardGate, MatchesTheTextbookMatrixUpToPhase) {
    const GateCase& c = GetParam();
    Unitary expected = Unitary::identity(c.qubits);
    for (const Build& b : c.expected) b(expected);
    const std::string qasm = program(c.statements, register_of(c.qubits));
    const Unitary actual = translated(qasm);
    EXPECT_TRUE(sim::equal_up_to_phase(expected, actual))
        << qasm_to_netlist(qasm).netlist << "difference "
        << sim::max_difference_up_to_phase(expected, actual);
}

// The program's own reader, under a description that keeps named gates, agrees as well: the
// netlist is read the way the driver reads an input file.
TEST_P(StandardGate, ProgramReaderAgrees) {
    const GateCase& c = GetParam();
    std::string text = qasm_to_netlist(program(c.statements, register_of(c.qubits))).netlist;
    std::string forward;
    reverse_netlist(text, forward);
    GraphCircuit circuit("qasm", ND, qec_none, 0);
    circuit.read_netlist(forward);
    EXPECT_TRUE(sim::equal_up_to_phase(sim::netlist_unitary(text, sim::Order::Operator),
                                       sim::circuit_unitary(circuit)));
}

const double a = 0.37, b = -1.21, c3 = 2.05;

INSTANTIATE_TEST_SUITE_P(Library, StandardGate,
                         testing::Values(
                             GateCase{"u1", "u1(0.37) q[1];", {one(phase(a), 1)}},
                             GateCase{"p", "p(-1.21) q[2];", {one(phase(b), 2)}},
                             GateCase{"u2", "u2(0.37,-1.21) q[0];", {one(u3(kPi / 2, a, b), 0)}},
                             GateCase{"u3", "u3(0.37,-1.21,2.05) q[0];", {one(u3(a, b, c3), 0)}},
                             GateCase{"u", "u(0.37,-1.21,2.05) q[2];", {one(u3(a, b, c3), 2)}},
                             GateCase{"U", "U(0.37,-1.21,2.05) q[1];", {one(u3(a, b, c3), 1)}},
                             GateCase{"x_y_z",
                                      "x q[0]; y q[1]; z q[2];",
                                      {one(kX, 0), one(kY, 1), one(kZ, 2)}},
                             GateCase{"h", "h q[1];", {one(kH, 1)}},
                             GateCase{"s_sdg",
                                      "s q[0]; sdg q[1];",
                                      {one(phase(kPi / 2), 0), one(phase(-kPi / 2), 1)}},
                             GateCase{"t_tdg",
                                      "t q[0]; tdg q[2];",
                                      {one(phase(kPi / 4), 0), one(phase(-kPi / 4), 2)}},
                             GateCase{"sx_sxdg", "sx q[0]; sxdg q[0]; sx q[1];", {one(kSX, 1)}},
                             GateCase{"sx", "sx q[2];", {one(kSX, 2)}},
                             GateCase{"rx", "rx(0.37) q[0];", {one(rx(a), 0)}},
                             GateCase{"ry", "ry(0.37) q[1];", {one(ry(a), 1)}},
                             GateCase{"rz", "rz(-1.21) q[2];", {one(rz(b), 2)}},
                             GateCase{"id", "id q[0];", {}},
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
                             GateCase{
                                 "cu1", "cu1(0.37) q[0],q[1];", {two(controlled(phase(a)), 0, 1)}},
                             GateCase{
                                 "cp", "cp(-1.21) q[2],q[1];", {two(controlled(phase(b)), 2, 1)}},
                             GateCase{
                                 "crz", "crz(0.37) q[1],q[0];", {two(controlled(rz(a)), 1, 0)}},
                             GateCase{
                                 "crx", "crx(-1.21) q[0],q[2];", {two(controlled(rx(b)), 0, 2)}},
                             GateCase{
                                 "cry", "cry(2.05) q[2],q[0];", {two(controlled(ry(c3)), 2, 0)}},
                             GateCase{"cu3",
                                      "cu3(0.37,-1.21,2.05) q[1],q[2];",
                                      {two(controlled(u3(a, b, c3)), 1, 2)}},
                             GateCase{
                                 "rzz",
                                 "rzz(0.37) q[0],q[2];",
                                 {two(
                                     diagonal(expi(-a / 2), expi(a / 2), expi(a / 2), expi(-a / 2)),
                                     0, 2)}},
                             GateCase{"rxx", "rxx(-1.21) q[1],q[0];", {two(rxx(b), 1, 0)}},
                             GateCase{"UserDefinition",
                                      "gate g(alpha, beta) x, y { rz(alpha/2) x; cx x, y; ry(beta "
                                      "- pi) y; }\n"
                                      "g(0.37, -1.21) q[2], q[0];",
                                      {one(rz(a / 2), 2), two(controlled(kX), 2, 0),
                                       one(ry(b - kPi), 0)}},
                             GateCase{
                                 "NestedDefinitionAndExpressions",
                                 "gate inner(t) a { u3(t, -t, 2*t) a; }\n"
                                 "gate outer(t) a, b { inner(t^2) b; barrier a, b; cu1(sin(t) + "
                                 "cos(t)/2) a, b; }\n"
                                 "outer(0.37) q[0], q[1];",
                                 {one(u3(a * a, -a* a, 2 * a * a), 1),
                                  two(controlled(phase(std::sin(a) + std::cos(a) / 2)), 0, 1)}},
                             GateCase{"DefinitionReplacesStandardGate",
                                      "gate h a { x a; }\nh q[1];",
                                      {one(kX, 1)}},
                             GateCase{"u0", "u0(0.37) q[1];", {}},
                             GateCase{"csx", "csx q[2],q[0];", {two(controlled(kSX), 2, 0)}},
                             GateCase{"cu",
                                      "cu(0.37,-1.21,2.05,0.5) q[1],q[0];",
                                      {two(controlled({expi(0.5) * u3(a, b, c3)[0],
                                                       expi(0.5) * u3(a, b, c3)[1],
                                                       expi(0.5) * u3(a, b, c3)[2],
                                                       expi(0.5) * u3(a, b, c3)[3]}),
                                           1, 0)}},
                             GateCase{"ccz",
                                      "h q[0]; ccz q[1],q[0],q[2];",
                                      {one(kH, 0), [](Unitary& u) { u.apply_mcz({0, 1, 2}); }}},
                             GateCase{"c3x",
                                      "h q[0]; c3x q[3],q[0],q[2],q[1];",
                                      {one(kH, 0), mcx({3, 0, 2}, 1)},
                                      4},
                             GateCase{
                                 "c4x", "c4x q[4],q[0],q[2],q[1],q[3];", {mcx({4, 0, 2, 1}, 3)}, 5},
                             GateCase{"mcx_two", "mcx q[2],q[0];", {mcx({2}, 0)}},
                             GateCase{"mcx_three", "mcx q[1],q[2],q[0];", {mcx({1, 2}, 0)}},
                             GateCase{"mcx_five",
                                      "h q[3]; mcx q[3],q[0],q[4],q[1],q[2];",
                                      {one(kH, 3), mcx({3, 0, 4, 1}, 2)},
                                      5},
                             GateCase{"mcx_in_definition",
                                      "gate g a,b,c,d { mcx d,a,c,b; }\ng q[0],q[1],q[2],q[3];",
                                      {mcx({3, 0, 2}, 1)},
                                      4},
                             GateCase{"rccx",
                                      "h q[0]; h q[2]; rccx q[0],q[2],q[1];",
                                      {one(kH, 0), one(kH, 2), relative_phase_toffoli(0, 2, 1)}},
                             GateCase{"rc3x",
                                      "h q[0]; h q[1]; h q[3]; rc3x q[3],q[1],q[0],q[2];",
                                      {one(kH, 0), one(kH, 1), one(kH, 3),
                                       relative_phase_c3x(3, 1, 0, 2)},
                                      4},
                             GateCase{"c3sqrtx",
                                      "h q[0]; h q[1]; h q[2]; c3sqrtx q[2],q[0],q[1],q[3];",
                                      {one(kH, 0), one(kH, 1), one(kH, 2), one(kH, 3),
                                       [](Unitary& u) {
                                           apply_mcphase(u, {2, 0, 1, 3}, kPi / 2);
                                       },
                                       one(kH, 3)},
                                      4}),
                         [](const testing::TestParamInfo<GateCase>& info) {
                             return std::string(info.param.name);
                         });

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
        "creg c[2];\nh b;\ncx b, a;\nmeasure b[1] -> c[0];\nbarrier a, b;\nmeasure a -> c;\n",
        "qreg b[2];\nqreg a[2];\n");
    const QasmTranslation t = qasm_to_netlist(qasm);
    EXPECT_EQ(t.measurements, 2);
    EXPECT_EQ(t.measurement_comments,
              "# creg c[2]\n# measure b[1] -> c[0]\n# measure a[0] -> c[0]\n"
              "# measure a[1] -> c[1]\n");
    EXPECT_NE(t.netlist.find("qubit b[0]\nqubit b[1]\nqubit a[0]\nqubit a[1]\n"), std::string::npos)
        << t.netlist;
    Unitary expected = Unitary::identity(4);
    expected.apply_1q(kH, 0);
    expected.apply_1q(kH, 1);
    expected.apply_mcx({0}, 2);
    expected.apply_mcx({1}, 3);
    EXPECT_TRUE(sim::equal_up_to_phase(expected, translated(qasm)));
}

TEST(QasmReader, MeasurementCommentsReadBack) {
    const QasmTranslation t = qasm_to_netlist(
        program("creg c[3];\ncreg d[1];\nmeasure q -> c;\nmeasure q[1] -> d[0];\n"));
    EXPECT_EQ(qasm_to_netlist(program("h q;\n")).measurement_comments, "");
    std::vector<std::string> read;
    netlist::LineReader lines(t.measurement_comments);
    std::string_view line;
    std::vector<std::string_view> tokens;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        MeasurementComment m;
        ASSERT_TRUE(netlist::is_comment(tokens) && read_measurement_comment(tokens, m)) << line;
        read.push_back((m.kind == MeasurementComment::Kind::Register ? "creg " : m.qubit + " ") +
                       m.creg + " " + std::to_string(m.index));
    }
    EXPECT_EQ(read, (std::vector<std::string>{"creg c 3", "creg d 1", "q[0] c 0", "q[1] c 1",
                                              "q[2] c 2", "q[1] d 0"}));
    for (const char* other : {"# measure q[0] c[0]", "# creg c", "# creg c[0]",
                              "# measure q[0] -> c[-1]", "# a comment"}) {
        netlist::tokenize(other, tokens);
        MeasurementComment m;
        EXPECT_FALSE(read_measurement_comment(tokens, m)) << other;
    }
}

// qasm_lines[k] is the QASM line of netlist line k + 1.
TEST(QasmReader, EveryNetlistLineKnowsItsQasmLine) {
    const QasmTranslation t = qasm_to_netlist(
        "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg a[1];\nqreg b[2];\n"
        "gate g x, y {\n  h x;\n  cx x, y;\n}\nrz(0) a[0];\ng b[1], a[0];\nx b;\n");
    const std::vector<std::string> expected = {
        "0 # Converted by Marovin from OpenQASM 2.0, gates in operator order",
        "0 .qubit 3",
        "3 qubit a[0]",
        "4 qubit b[0]",
        "4 qubit b[1]",
        "0 .begin",
        "11 X b[1]",
        "11 X b[0]",
        "10 CNOT b[1] a[0]",
        "10 H b[1]",
        "0 .end"};
    std::vector<std::string> actual;
    netlist::LineReader lines(t.netlist);
    std::string_view line;
    while (lines.next(line)) {
        const size_t k = static_cast<size_t>(lines.line_number() - 1);
        ASSERT_LT(k, t.qasm_lines.size());
        actual.push_back(std::to_string(t.qasm_lines[k]) + " " + std::string(line));
    }
    EXPECT_EQ(actual, expected) << t.netlist;
    EXPECT_EQ(t.qasm_lines.size(), actual.size());
}

TEST(QasmReader, FileNamesEndingInQasmInAnyCase) {
    for (const char* name : {"a.qasm", "dir/b.QASM", "c.Qasm", "x.txt.qasm"})
        EXPECT_TRUE(is_qasm_file_name(name)) << name;
    for (const char* name : {"qasm", ".qasm", "a.qasm.txt", "a.qas", "aqasm"})
        EXPECT_FALSE(is_qasm_file_name(name)) << name;
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
    long max_gates = LONG_MAX;
};

void PrintTo(const BadText& c, std::ostream* os) {
    *os << c.name;
}

class QasmBadText : public testing::TestWithParam<BadText> {};

TEST_P(QasmBadText, EndsWithOneMessageNamingTheLine) {
    const BadText& c = GetParam();
    const std::string message = fatal_message([&] { qasm_to_netlist(c.text, c.max_gates); });
    EXPECT_EQ(message.rfind("QASM line ", 0), 0u) << message;
    EXPECT_NE(message.find(c.message), std::string::npos)
        << "message: \"" << message << "\"\nexpected to contain: \"" << c.message << "\"";
    EXPECT_EQ(message.find('\n'), std::string::npos);
}

const std::string kHead = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[2];\ncreg c[2];\n";

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// A chain of definitions, each calling the one before twice: gate g<depth> expands 2^depth times
// the body of g0.
std::string doubling_chain(const std::string& g0, int depth) {
    std::string text = g0;
    for (int i = 1; i <= depth; ++i)
        text += "gate g" + std::to_string(i) + "(t) a { g" + std::to_string(i - 1) + "(t) a; g" +
                std::to_string(i - 1) + "(t) a; }\n";
    return text;
}

// gate g0(t) a { rz(0*(t + t + ... + t)) a; }: no gate, and an expression of `terms` terms.
std::string long_zero_rotation(int terms) {
    return "gate g0(t) a { rz(0*(t" + repeated(" + t", terms - 1) + ")) a; }\n";
}

INSTANTIATE_TEST_SUITE_P(
    Refused, QasmBadText,
    testing::Values(
        BadText{"Reset", kHead + "reset q[0];\n", "line 5: reset is not supported"},
        BadText{"If", kHead + "measure q[0] -> c[0];\nif (c==1) x q[1];\n", "line 6: if"},
        BadText{"Opaque", kHead + "opaque magic(a) q;\n", "line 5: opaque gates"},
        BadText{"OtherInclude", "OPENQASM 2.0;\ninclude \"mylib.inc\";\n",
                "line 2: only \"qelib1.inc\" can be included"},
        BadText{"NoVersion", "qreg q[1];\n", "line 1: the text must begin with \"OPENQASM 2.0;\""},
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
                "\"q\" is not a declared register"},
        BadText{"MeasureRegisterIntoBit", kHead + "measure q -> c[0];\n", "line 5: measure takes"},
        BadText{"MeasureRegisterSizes", kHead + "creg d[3];\nmeasure q -> d;\n",
                "line 6: measure takes a qubit and a bit, or two registers of one size"},
        BadText{"GateAfterMeasure", kHead + "measure q[0] -> c[0];\nbarrier q;\nh q[0];\n",
                "line 7: gate h acts on q[0] after it is measured"},
        BadText{"BroadcastAfterMeasure", kHead + "measure q -> c;\ncx q[1], q[0];\n",
                "line 6: gate cx acts on q[1] after it is measured"},
        BadText{"PiAsParameter", kHead + "gate g(pi) a { rz(pi) a; }\ng(1) q[0];\n",
                "line 5: gate g cannot name a parameter \"pi\""},
        BadText{"FunctionAsParameter", kHead + "gate g(t, sqrt) a { rz(sqrt(t)) a; }\n",
                "line 5: gate g cannot name a parameter \"sqrt\""},
        BadText{"DeepParentheses",
                kHead + "rz(" + repeated("(", 20000) + "1" + repeated(")", 20000) + ") q[0];\n",
                "line 5: the expression nests deeper than 256 levels"},
        BadText{"DeepPowers", kHead + "rz(" + repeated("2^", 100000) + "1) q[0];\n",
                "line 5: the expression nests deeper than"},
        BadText{"DeepSigns", kHead + "rz(" + repeated("-", 1000000) + "1) q[0];\n",
                "line 5: the expression nests deeper than"},
        BadText{"DeepInDefinition",
                kHead + "gate g(t) a { rz(" + repeated("sin(", 300) + "t" + repeated(")", 300) +
                    ") a; }\n",
                "line 5: the expression nests deeper than"},
        BadText{"DeepDefinitions",
                kHead + "gate g0 a { h a; }\n" +
                    [] {
                        std::string chain;
                        for (int i = 1; i <= 1000; ++i)
                            chain += "gate g" + std::to_string(i) + " a { g" +
                                     std::to_string(i - 1) + " a; }\n";
                        return chain;
                    }(),
                "calls gates nested more than 1000 definitions deep"},
        BadText{"Version3", "OPENQASM 3.0;\n", "line 1: this is OpenQASM 3.0; only OpenQASM 2.0"},
        BadText{"Version3AfterComments",
                "// exported\n/* a block\n   comment */\nOPENQASM 3;\ninclude \"stdgates.inc\";\n"
                "qubit[2] q;\nctrl @ x q[0], q[1];\n",
                "line 4: this is OpenQASM 3; only OpenQASM 2.0 is read"},
        BadText{"VersionWord", "OPENQASM three;\n", "line 1: expected a version number"},
        BadText{"UnterminatedComment", kHead + "/* h q[0];\n", "line 5: unterminated comment"},
        BadText{"McxOfOneQubit", kHead + "mcx q[0];\n",
                "gate mcx acts on two qubits or more, not 1"},
        BadText{"TooManyQubits", kHead + "qreg r[40000];\nqreg s[40000];\n",
                "line 6: more than 65536 qubits"},
        BadText{"RegisterTooLarge", kHead + "qreg r[1048576];\n", "a register holds 1 to 65536"},
        BadText{"QubitsBeyondTheGateLimit", kHead + "qreg r[99];\n",
                "line 5: 101 qubits do not fit within --max-gates 100", 100},
        // 2^21 expansions of a 5,000-term expression that gives no gate: refused before any of
        // them, from the steps they would take.
        BadText{"ExpansionStepsBeyondTheGateLimit",
                kHead + doubling_chain(long_zero_rotation(5000), 21) + "g21(0.5) q[0];\n",
                "line 27: expanding the gate definitions takes more than 1048576 steps, the "
                "bound for --max-gates 100",
                100},
        BadText{"ExpansionStepsAddUp",
                kHead + doubling_chain(long_zero_rotation(20), 10) + repeated("g10(1) q;\n", 400),
                "line 26: expanding the gate definitions takes more than", 100}),
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
