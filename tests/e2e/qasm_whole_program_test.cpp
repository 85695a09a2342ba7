// Whole program with OpenQASM files: random QASM circuits of the standard gates, and the shared
// benchmark netlists written as QASM, run through the marovin executable with a QASM output on
// every description. Input and output must hold the same unitary up to a global phase.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/gate.h"
#include "circuit/qasm_reader.h"
#include "circuit/qasm_writer.h"
#include "support/program_run.h"
#include "support/test_env.h"
#include "support/unitary.h"

namespace {

constexpr double kTolerance = 1e-7;
constexpr PMD_type kDescriptions[] = {QD, SC, IT, NA, LP, NP, CTL, FTS};

sim::Unitary qasm_unitary(const std::string& qasm) {
    return sim::netlist_unitary(qasm_to_netlist(qasm).netlist, sim::Order::Operator);
}

struct StandardGate {
    const char* name;
    int parameters;
    int qubits;
};
const StandardGate kGates[] = {
    {"u1", 1, 1},  {"u2", 2, 1},  {"u3", 3, 1},   {"u", 3, 1},    {"p", 1, 1},   {"x", 0, 1},
    {"y", 0, 1},   {"z", 0, 1},   {"h", 0, 1},    {"s", 0, 1},    {"sdg", 0, 1}, {"t", 0, 1},
    {"tdg", 0, 1}, {"sx", 0, 1},  {"sxdg", 0, 1}, {"rx", 1, 1},   {"ry", 1, 1},  {"rz", 1, 1},
    {"id", 0, 1},  {"cx", 0, 2},  {"cy", 0, 2},   {"cz", 0, 2},   {"ch", 0, 2},  {"swap", 0, 2},
    {"cu1", 1, 2}, {"cp", 1, 2},  {"crz", 1, 2},  {"crx", 1, 2},  {"cry", 1, 2}, {"cu3", 3, 2},
    {"rzz", 1, 2}, {"rxx", 1, 2}, {"ccx", 0, 3},  {"cswap", 0, 3}};

// A random program on two registers; parameters are random radians or multiples of pi/4.
std::string random_qasm(std::mt19937& rng, int statements) {
    const int a = 1 + static_cast<int>(rng() % 2), b = 1 + static_cast<int>(rng() % 2);
    std::string text = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg a[" + std::to_string(a) +
                       "];\nqreg b[" + std::to_string(b) + "];\ncreg c[1];\n";
    std::vector<std::string> qubits;
    for (int i = 0; i < a; ++i) qubits.push_back("a[" + std::to_string(i) + "]");
    for (int i = 0; i < b; ++i) qubits.push_back("b[" + std::to_string(i) + "]");
    std::uniform_real_distribution<double> radians(-4.0, 4.0);
    for (int k = 0; k < statements; ++k) {
        const StandardGate& g = kGates[rng() % std::size(kGates)];
        if (g.qubits > static_cast<int>(qubits.size())) continue;
        std::vector<std::string> pool = qubits;
        std::shuffle(pool.begin(), pool.end(), rng);
        text += g.name;
        for (int p = 0; p < g.parameters; ++p) {
            text += p == 0 ? "(" : ",";
            text +=
                rng() % 3 == 0 ? std::to_string(rng() % 8) + "*pi/4" : std::to_string(radians(rng));
        }
        if (g.parameters > 0) text += ")";
        for (int q = 0; q < g.qubits; ++q) text += (q ? "," : " ") + pool[q];
        text += ";\n";
    }
    return text + "measure a[0] -> c[0];\n";
}

// Runs marovin in `dir` on in.qasm, writing out.qasm; "" when the output holds the expected
// unitary, else what went wrong.
std::string run_qasm(const std::string& dir, const std::string& qasm, const sim::Unitary& expected,
                     PMD_type pmd) {
    testenv::write_file(dir + "/in.qasm", qasm);
    std::remove((dir + "/out.qasm").c_str());
    const testrun::Run run =
        testrun::run_marovin_in(dir, std::string("in.qasm out.qasm ") + pmd_keyword(pmd));
    if (run.status != 0) return "exit status " + std::to_string(run.status) + "\n" + run.output;
    const std::string output = testenv::read_file(dir + "/out.qasm");
    const sim::Unitary actual = qasm_unitary(output);
    if (sim::equal_up_to_phase(expected, actual, kTolerance)) return "";
    return "difference up to phase " +
           std::to_string(sim::max_difference_up_to_phase(expected, actual)) + "\noutput:\n" +
           output;
}

class QasmRoundTrip : public testing::TestWithParam<PMD_type> {};

TEST_P(QasmRoundTrip, RandomCircuitsKeepTheirUnitary) {
    const PMD_type pmd = GetParam();
    const std::string dir = testenv::make_scratch_dir(std::string("qasm_e2e_") + pmd_keyword(pmd));
    for (unsigned i = 0; i < 6; ++i) {
        const unsigned seed = 1000u * static_cast<unsigned>(pmd) + i;
        std::mt19937 rng(seed);
        const std::string qasm = random_qasm(rng, 2 + static_cast<int>(rng() % 10));
        const std::string failure = run_qasm(dir, qasm, qasm_unitary(qasm), pmd);
        if (failure.empty()) continue;
        const std::string name =
            std::string("failed_qasm_") + pmd_keyword(pmd) + "_" + std::to_string(seed) + ".qasm";
        testenv::write_file(name, qasm);
        ADD_FAILURE() << "seed " << seed << ", input written to " << name << ":\n"
                      << qasm << failure;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, QasmRoundTrip, testing::ValuesIn(kDescriptions),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

// The shared benchmark netlists (converted from QASM sources) written back as QASM by the writer.
const char* const kSharedQasm[] = {"basis_trotter_n4.txt", "dnn_n2.txt", "qaoa_n3.txt",
                                   "qft_n4.txt", "vqe_n4.txt"};

class SharedQasm : public testing::TestWithParam<PMD_type> {};

TEST_P(SharedQasm, WrittenAsQasmAndSynthesised) {
    const std::string shared = testenv::shared_bench_folder();
    const std::string folder = shared.empty() ? "" : shared + "qasm/";
    if (folder.empty()) GTEST_SKIP() << "no shared benchmark circuits beside the source tree";
    const PMD_type pmd = GetParam();
    const std::string dir =
        testenv::make_scratch_dir(std::string("qasm_shared_") + pmd_keyword(pmd));
    for (const char* name : kSharedQasm) {
        const std::string netlist = testenv::read_file(folder + name);
        const std::string qasm = netlist_to_qasm(netlist, NetlistOrder::Operator);
        const sim::Unitary expected = sim::netlist_unitary(netlist, sim::Order::Operator);
        ASSERT_TRUE(sim::equal_up_to_phase(expected, qasm_unitary(qasm), kTolerance)) << name;
        EXPECT_EQ(run_qasm(dir, qasm, expected, pmd), "") << name;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, SharedQasm, testing::ValuesIn(kDescriptions),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

TEST(QasmProgram, ShippedExampleOnEveryDescription) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("qasm_example"));
    const std::string qasm = testenv::read_file(testenv::source_path("examples/ghz_phases.qasm"));
    for (const PMD_type pmd : kDescriptions)
        EXPECT_EQ(run_qasm(dir, qasm, qasm_unitary(qasm), pmd), "") << pmd_keyword(pmd);
}

TEST(QasmProgram, RefusedStatementStopsTheRunWithOneMessage) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("qasm_refused"));
    testenv::write_file(
        dir + "/in.qasm",
        "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[1];\nh q[0];\nreset q[0];\n");
    const testrun::Run run = testrun::run_marovin_in(dir, "in.qasm out.qasm SC");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(testrun::has_line(
        run.output, "QASM line 5: reset is not supported (the circuit must be unitary)"))
        << run.output;
    EXPECT_EQ(testenv::read_file(dir + "/out.qasm"), "");
}

// Terminal measurements stay with the circuit: written back in a QASM output, as comments in a
// netlist output; one note says so. The names (upper-case .QASM too) decide the formats.
TEST(QasmProgram, MeasurementsAreKeptInEitherOutput) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("qasm_measure"));
    const std::string qasm =
        "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[2];\ncreg c[2];\nh q[0];\ncx q[0],q[1];\n"
        "measure q -> c;\nmeasure q[0] -> c[0];\n";
    const std::string kept =
        "# creg c[2]\n# measure q[0] -> c[0]\n# measure q[1] -> c[1]\n"
        "# measure q[0] -> c[0]\n";
    testenv::write_file(dir + "/in.QASM", qasm);
    testrun::Run run = testrun::run_marovin_in(dir, "in.QASM out.txt IT");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(testrun::has_line(
        run.output,
        "Note: 2 measure statement(s) kept; the measurements follow the synthesised "
        "circuit"))
        << run.output;
    const std::string netlist = testenv::read_file(dir + "/out.txt");
    EXPECT_EQ(netlist.substr(netlist.size() - kept.size() - 5), ".end\n" + kept);
    EXPECT_TRUE(sim::equal_up_to_phase(qasm_unitary(qasm),
                                       sim::netlist_unitary(netlist, sim::Order::Operator)));

    run = testrun::run_marovin_in(dir, "in.QASM out.Qasm SC");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string output = testenv::read_file(dir + "/out.Qasm");
    EXPECT_NE(output.find("qreg q[2];\ncreg c[2];\n"), std::string::npos) << output;
    const std::string measures =
        "measure q[0] -> c[0];\nmeasure q[1] -> c[1];\nmeasure q[0] -> c[0];\n";
    EXPECT_EQ(output.substr(output.size() - measures.size()), measures) << output;
    EXPECT_EQ(qasm_to_netlist(output).measurement_comments, kept);
    EXPECT_TRUE(sim::equal_up_to_phase(qasm_unitary(qasm), qasm_unitary(output), kTolerance));
}

// The gate limit bounds the work of expanding definitions, not only the gates they give: a
// 2^21-fold expansion of a 5,000-term expression that gives no gate is refused at once.
TEST(QasmProgram, ExpansionWorkIsBoundedByTheGateLimit) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("qasm_work"));
    std::string qasm = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[1];\ngate g0(t) a { rz(0*(t";
    for (int i = 1; i < 5000; ++i) qasm += " + t";
    qasm += ")) a; }\n";
    for (int i = 1; i <= 21; ++i)
        qasm += "gate g" + std::to_string(i) + "(t) a { g" + std::to_string(i - 1) + "(t) a; g" +
                std::to_string(i - 1) + "(t) a; }\n";
    qasm += "g21(1) q[0];\n";
    testenv::write_file(dir + "/in.qasm", qasm);
    const testrun::Run run = testrun::run_marovin_in(dir, "--max-gates 100 in.qasm out.qasm SC");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(testrun::has_line(run.output,
                                  "QASM line 26: expanding the gate definitions takes more than "
                                  "1048576 steps, the bound for --max-gates 100"))
        << run.output;
}

}  // namespace
