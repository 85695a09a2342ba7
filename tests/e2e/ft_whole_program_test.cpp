// Whole-program property test of the fault-tolerant conversion: random circuits with fractional
// rotations run through the marovin executable with a threshold. The output may hold only
// Clifford+T gates (H, S, S_dag, T, T_dag, X, Z), rotations by whole multiples of π/4 and
// two-qubit gates, and its unitary lies within sqrt(2) x (converted windows) x threshold of the
// input's, in operator norm up to a global phase. (The threshold bounds md_tri, the search's
// distance; for one-qubit unitaries the operator-norm distance up to phase is sqrt(2) md_tri.)
// A failing netlist is written to the working directory.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/gate.h"
#include "support/test_env.h"
#include "support/unitary.h"

namespace {

constexpr double kThreshold = 1e-2;

/// A random netlist (operator order) on `qubits` lines: named Clifford+T gates, CNOT, CZ and
/// rotations with fractional angles (π/4 units).
std::string random_ft_netlist(std::mt19937& rng, int qubits, int gates) {
    std::ostringstream text;
    text.precision(17);
    text << "# random circuit with fractional rotations\n.qubit " << qubits << "\n";
    for (int q = 0; q < qubits; ++q) text << "qubit q" << q << "\n";
    text << ".begin\n";
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> line(0, qubits - 1);
    std::uniform_real_distribution<double> angle(-8, 8);
    const char* named[] = {"H", "T", "S", "X", "T_dag"};
    const char* rotations[] = {"RX", "RY", "RZ"};
    for (int i = 0; i < gates; ++i) {
        const int k = kind(rng);
        const int a = line(rng);
        int b = line(rng);
        if (b == a) b = (a + 1) % qubits;
        if (k <= 3) {
            text << rotations[k % 3] << " q" << a << " " << angle(rng) << "\n";
        } else if (k <= 6) {
            text << named[(k + i) % 5] << " q" << a << "\n";
        } else {
            text << (k == 9 ? "CZ" : "CNOT") << " q" << a << " q" << b << "\n";
        }
    }
    text << ".end\n";
    return text.str();
}

int report_count(const std::string& console, const std::string& label) {
    const size_t at = console.find(label);
    if (at == std::string::npos) return -1;
    return std::atoi(console.c_str() + at + label.size());
}

/// One-qubit kinds allowed in the output besides rotations by whole multiples of π/4.
bool is_clifford_t(const std::string& keyword) {
    for (const char* k : {"H", "S", "S_dag", "T", "T_dag", "X", "Z", "I"})
        if (keyword == k) return true;
    return false;
}

/// Reports every gate line of the output that is neither Clifford+T, nor a rotation by a whole
/// multiple of π/4, nor a two-qubit gate.
std::string foreign_gates(const std::string& output) {
    std::istringstream in(output);
    std::string line, bad;
    bool body = false;
    while (std::getline(in, line)) {
        std::istringstream tokens(line);
        std::string keyword;
        if (!(tokens >> keyword) || keyword == "#") continue;
        if (keyword == ".begin") body = true;
        if (!body || keyword[0] == '.') continue;
        Gate_type kind;
        if (is_clifford_t(keyword)) continue;
        if (gate_from_keyword(keyword, kind) && is_2Q_gate(kind)) continue;
        if (keyword == "RX" || keyword == "RY" || keyword == "RZ") {
            std::string qubit;
            double angle = NAN;
            tokens >> qubit >> angle;
            if (std::isfinite(angle) && angle == std::round(angle)) continue;
        }
        bad += line + "\n";
    }
    return bad;
}

/// Runs marovin with the threshold and mode on one netlist in `dir` and checks the output's
/// gates and its distance to the input. Adds the windows converted and the mixed windows among
/// them to the counters.
void check_circuit(const std::string& dir, const std::string& name, const std::string& input,
                   PMD_type pmd, double threshold, const std::string& mode, int& converted,
                   int& mixed) {
    testenv::write_file(dir + "/in.txt", input);
    std::string console;
    std::ostringstream command;
    command << "'" << MAROVIN_BINARY << "' in.txt out.txt " << pmd_keyword(pmd) << " " << threshold
            << " " << mode;
    const int status = testenv::run_command(dir, command.str(), console);
    const std::string failing = "ft_e2e_failure_" + name + ".txt";
    auto dump = [&] {
        testenv::write_file(failing, input);
        return "netlist written to " + failing + "\n" + input;
    };
    ASSERT_EQ(status, 0) << dump() << console;
    for (size_t at = console.find("Mixed rotation"); at != std::string::npos;
         at = console.find("Mixed rotation", at + 1))
        ++mixed;
    const int windows =
        report_count(console, "Cache hit: ") + report_count(console, "Cache miss: ");
    converted += windows;
    const std::string output = testenv::read_file(dir + "/out.txt");
    EXPECT_EQ(foreign_gates(output), "") << dump() << output;
    const double distance =
        sim::operator_distance_up_to_phase(sim::netlist_unitary(input, sim::Order::Operator),
                                           sim::netlist_unitary(output, sim::Order::Operator));
    EXPECT_LE(distance, std::sqrt(2.0) * windows * threshold + 1e-9)
        << "windows " << windows << "\n"
        << dump() << output;
    EXPECT_NE(console.find("Post FT Syn: #ops= "), std::string::npos) << console;
}

/// check_circuit on `rounds` random circuits.
void check_random_circuits(PMD_type pmd, double threshold, const std::string& mode, int rounds) {
    const std::string name = std::string(pmd_keyword(pmd)) + "_" + mode;
    const std::string dir = testenv::make_scratch_dir("ft_e2e_" + name);
    std::mt19937 rng(1000 + 10 * static_cast<unsigned>(pmd) + static_cast<unsigned>(mode[0]));
    int converted = 0, mixed = 0;
    for (int round = 0; round < rounds; ++round)
        check_circuit(dir, name, random_ft_netlist(rng, 2 + round % 2, 8 + 2 * round), pmd,
                      threshold, mode, converted, mixed);
    EXPECT_GT(converted, 0);
}

class FtWholeProgram : public testing::TestWithParam<PMD_type> {};

TEST_P(FtWholeProgram, ExhaustiveSearchOutputIsCliffordTAndCloseToTheInput) {
    check_random_circuits(GetParam(), kThreshold, "0", 4);
}

// Depth 3 of Solovay-Kitaev reaches about 5e-3 on one-qubit targets, so 2e-2 bounds each window.
TEST_P(FtWholeProgram, SolovayKitaevOutputIsCliffordTAndCloseToTheInput) {
    check_random_circuits(GetParam(), 2e-2, "3", 2);
}

class GridWholeProgram : public testing::TestWithParam<PMD_type> {};

// Random circuits hold single rotations and, on most descriptions, windows of several
// fractional rotations (mixed windows); every window must come within the threshold.
TEST_P(GridWholeProgram, NumberTheoreticOutputIsCliffordTAndCloseToTheInput) {
    check_random_circuits(GetParam(), 1e-6, "grid", 3);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, GridWholeProgram,
                         testing::Values(QD, SC, IT, NA, LP, NP, CTL, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

INSTANTIATE_TEST_SUITE_P(Descriptions, FtWholeProgram, testing::Values(CTL, FTS, SC, QD, NA),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

// A line of three fractional rotations about different axes stays one mixed window; at 1e-10
// its sequence still meets the threshold (checked against the input in the simulator).
TEST(GridWholeProgramMixed, MixedWindowsMeetTheThreshold) {
    const std::string dir = testenv::make_scratch_dir("ft_e2e_grid_mixed");
    const std::string input =
        "# mixed windows\n.qubit 2\nqubit q0\nqubit q1\n.begin\nRZ q0 0.3\nRX q0 0.7\n"
        "RZ q0 -1.9\nCNOT q0 q1\nRY q1 2.2\nRZ q1 0.45\nH q1\nRX q1 -0.2\n.end\n";
    for (const double threshold : {1e-4, 1e-10}) {
        int converted = 0, mixed = 0;
        check_circuit(dir, "grid_mixed", input, CTL, threshold, "grid", converted, mixed);
        EXPECT_GT(mixed, 0);
    }
}

// The example QFT at 1e-10: every rotation converted (none left behind with an error), the
// settings echo names the method.
TEST(GridWholeProgramMixed, ExampleQftConvertsEveryRotation) {
    const std::string dir = testenv::make_scratch_dir("ft_e2e_grid_qft");
    testenv::write_file(dir + "/qft4.txt",
                        testenv::read_file(testenv::source_path("examples/qft4.txt")));
    std::string console;
    const int status =
        testenv::run_command(dir, "'" MAROVIN_BINARY "' qft4.txt out.txt CTL 1e-10 grid", console);
    ASSERT_EQ(status, 0) << console;
    EXPECT_NE(console.find("Use number-theoretic FT synthesis"), std::string::npos) << console;
    EXPECT_EQ(console.find("FT conversion found no sequence"), std::string::npos) << console;
    EXPECT_GT(report_count(console, "Cache miss: "), 0);
    EXPECT_EQ(foreign_gates(testenv::read_file(dir + "/out.txt")), "");
}

}  // namespace
