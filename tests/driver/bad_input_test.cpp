// What users actually feed the program: hand-edited netlists, files from other tools, truncated
// downloads, CR-LF files. Every bad input ends with one clear message line and exit status 1,
// never a crash, and never leaves an output file behind; the documented cases run through.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver/driver_test_support.h"
#include "support/unitary.h"

using drivertest::run_marovin_in;

namespace {

const std::string kHeader = "# test\n.qubit 2\nqubit a\nqubit b\n.begin\n";

struct BadInput {
    const char* name;
    std::string netlist;
    const char* message;  // expected in the last output line ("" = any message)
};

void PrintTo(const BadInput& input, std::ostream* os) {
    *os << input.name;
}

std::string last_line(const std::string& output) {
    std::string text = output;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    const size_t pos = text.rfind('\n');
    return pos == std::string::npos ? text : text.substr(pos + 1);
}

std::string scratch(const std::string& name) {
    return testenv::make_scratch_dir(drivertest::unique_name("bad_" + name));
}

// On the fault-tolerant road the non-converted winner has already been written, completely, when
// a conversion file turns out to be bad; `winner_written` accepts that file.
void expect_clean_failure(const drivertest::Run& run, const std::string& dir,
                          const std::string& message, bool winner_written = false) {
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("terminate"), std::string::npos) << run.output;
    if (!message.empty()) {
        EXPECT_NE(last_line(run.output).find(message), std::string::npos) << run.output;
    }
    if (winner_written) {
        if (std::filesystem::exists(dir + "/out.txt")) {
            EXPECT_NE(testenv::read_file(dir + "/out.txt").find(".end"), std::string::npos);
        }
    } else {
        EXPECT_FALSE(std::filesystem::exists(dir + "/out.txt")) << "output left behind";
    }
}

class BadNetlist : public testing::TestWithParam<BadInput> {};

TEST_P(BadNetlist, EndsWithOneMessageAndNoOutput) {
    const BadInput& input = GetParam();
    const std::string dir = scratch(input.name);
    testenv::write_file(dir + "/in.txt", input.netlist);
    drivertest::Run run = run_marovin_in(dir, "in.txt out.txt SC");
    expect_clean_failure(run, dir, input.message);
}

std::string long_line() {
    return kHeader + "H a" + std::string(10000, ' ') + "\n.end\n";
}

std::string garbage() {
    std::string text;
    for (int i = 0; i < 3000; ++i) text.push_back(static_cast<char>((i * 7919 + 13) % 256));
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, BadNetlist,
    testing::Values(
        BadInput{"empty", "", ""}, BadInput{"garbage", garbage(), ""},
        BadInput{"only_comments", "# one\n# two\n", ""},
        BadInput{"no_begin", "# t\n.qubit 1\nqubit a\nH a\n.end\n", ""},
        BadInput{"no_qubit_count", "# t\nqubit a\n.begin\nH a\n.end\n",
                 "Number of qubits is not set!"},
        BadInput{"negative_count", "# t\n.qubit -2\nqubit a\n.begin\nH a\n.end\n", ""},
        BadInput{"zero_count", "# t\n.qubit 0\n.begin\n.end\n", ""},
        BadInput{"non_numeric_count", "# t\n.qubit two\nqubit a\n.begin\nH a\n.end\n", ""},
        BadInput{"huge_count", "# t\n.qubit 1000000000\nqubit a\n.begin\nH a\n.end\n",
                 "The qubit declared is not the same a total qubit!"},
        BadInput{"declared_twice", "# t\n.qubit 2\nqubit a\nqubit a\n.begin\nH a\n.end\n", ""},
        BadInput{"undeclared", kHeader + "H c\n.end\n", ""},
        BadInput{"missing_operand", kHeader + "CNOT a\n.end\n", ""},
        BadInput{"missing_angle", kHeader + "RZ a\n.end\n", ""},
        BadInput{"non_numeric_angle", kHeader + "RZ a half\n.end\n", ""},
        BadInput{"nan_angle", kHeader + "RZ a nan\n.end\n", ""},
        BadInput{"inf_angle", kHeader + "CP a b inf\n.end\n", ""},
        BadInput{"long_line", long_line(), ""},
        BadInput{"cnot_on_itself", kHeader + "CNOT a a\n.end\n", ""},
        BadInput{"mct_one_qubit", kHeader + "MCT b\n.end\n", "MCT needs at least 2 qubits"},
        BadInput{"unknown_gate", kHeader + "FOO a\n.end\n", "Unknown gate: FOO"},
        BadInput{"hash_glued_comment", kHeader + "#glued\n.end\n", "Unknown gate: #glued"}),
    [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// An MCT with 12 controls on 13 lines, as a benchmark file might hold.
std::string wide_mct() {
    std::string text = "# wide\n.qubit 13\n";
    std::string operands;
    for (int i = 0; i < 13; ++i) {
        text += "qubit q" + std::to_string(i) + "\n";
        operands += " q" + std::to_string(i);
    }
    return text + ".begin\nMCT" + operands + "\nH q0\n.end\n";
}

struct GoodInput {
    const char* name;
    std::string netlist;
};

void PrintTo(const GoodInput& input, std::ostream* os) {
    *os << input.name;
}

class UnusualButValid : public testing::TestWithParam<GoodInput> {};

// Inputs at the edge of the format that must run through and keep the circuit's meaning.
TEST_P(UnusualButValid, RunsAndKeepsTheUnitary) {
    const GoodInput& input = GetParam();
    const std::string dir = scratch(input.name);
    testenv::write_file(dir + "/in.txt", input.netlist);
    drivertest::Run run = run_marovin_in(dir, "in.txt out.txt CTL");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string out = testenv::read_file(dir + "/out.txt");
    sim::Unitary before = sim::netlist_unitary(input.netlist, sim::Order::Operator);
    sim::Unitary after = sim::netlist_unitary(out, sim::Order::Operator);
    EXPECT_TRUE(sim::equal_up_to_phase(before, after, 1e-7)) << out;
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, UnusualButValid,
    testing::Values(GoodInput{"crlf",
                              "# crlf\r\n.qubit 2\r\nqubit a\r\nqubit b\r\n.begin\r\nH a\r\n"
                              "CNOT a b\r\nRZ b 0.5\r\n\r\n.end\r\n"},
                    GoodInput{"one_qubit",
                              "# one\n.qubit 1\nqubit a\n.begin\nH a\nT a\nRX a 1.5\n.end\n"},
                    GoodInput{"no_gates", "# none\n.qubit 2\nqubit a\nqubit b\n.begin\n.end\n"}),
    [](const testing::TestParamInfo<GoodInput>& info) { return std::string(info.param.name); });

// Twelve controls make 4095 controlled-V gates; the run must finish quickly. (Its meaning is
// checked on fewer qubits by the mapping tests: a 13-qubit unitary is too big to compare here.)
TEST(UnusualButValidWide, MctWithTwelveControlsRuns) {
    const std::string dir = scratch("mct_twelve");
    testenv::write_file(dir + "/in.txt", wide_mct());
    drivertest::Run run = run_marovin_in(dir, "in.txt out.txt CTL");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(testenv::read_file(dir + "/out.txt").find("CNOT"), std::string::npos);
}

TEST(BadFiles, UnwritableOutputPathLeavesNothing) {
    const std::string dir = scratch("unwritable");
    testenv::write_file(dir + "/in.txt", kHeader + "H a\n.end\n");
    drivertest::Run run = run_marovin_in(dir, "in.txt no_such_dir/out.txt SC");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir + "/no_such_dir"));
}

TEST(BadFiles, OutputNamingTheInputIsRefusedAndInputKept) {
    const std::string dir = scratch("same_file");
    const std::string text = kHeader + "H a\nH a\n.end\n";
    testenv::write_file(dir + "/in.txt", text);
    drivertest::Run run = run_marovin_in(dir, "in.txt ./in.txt SC");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(testenv::read_file(dir + "/in.txt"), text);
}

TEST(BadFiles, MissingOrMalformedCostTable) {
    for (const char* content :
         {static_cast<const char*>(nullptr), "H 1 2 x\n", "BOGUS 1 1 1 1 1 1 1 1 1\n"}) {
        const std::string dir =
            scratch(std::string("cost_") +
                    (content ? std::to_string(std::string(content).size()) : "none"));
        std::filesystem::remove(dir + "/CostGateCount.txt");
        if (content != nullptr) testenv::write_file(dir + "/CostGateCount.txt", content);
        testenv::write_file(dir + "/in.txt", kHeader + "H a\n.end\n");
        drivertest::Run run = run_marovin_in(dir, "in.txt out.txt SC");
        expect_clean_failure(run, dir, "");
    }
}

TEST(BadFiles, MissingOrMalformedSequenceCache) {
    const std::string netlist = kHeader + "RZ a 0.3\nCNOT a b\n.end\n";
    {
        const std::string dir = scratch("ft_missing");
        std::filesystem::remove(dir + "/FT_table.txt");
        testenv::write_file(dir + "/in.txt", netlist);
        drivertest::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1");
        expect_clean_failure(run, dir, "Cannot open FT_table.txt!", true);
    }
    {
        const std::string dir = scratch("ft_malformed");
        testenv::write_file(dir + "/FT_table.txt", ".angle 0.3\nGATE HT\n.end\n");
        testenv::write_file(dir + "/in.txt", netlist);
        drivertest::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1");
        expect_clean_failure(run, dir, "", true);
    }
}

TEST(BadFiles, MissingOrMalformedLayout) {
    {
        const std::string dir = scratch("layout_missing");
        testenv::write_file(dir + "/in.txt", kHeader + "H a\n.end\n");
        // The layout is read by the circuits that carry the code, on the fault-tolerant road.
        drivertest::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1 0 1 1");
        expect_clean_failure(run, dir, "cannot find qubit layout information: in.txt.layout", true);
    }
    {
        const std::string dir = scratch("layout_unknown_name");
        testenv::write_file(dir + "/in.txt", kHeader + "H a\n.end\n");
        testenv::write_file(dir + "/in.txt.layout", "a zz\n");
        drivertest::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1 0 1 1");
        expect_clean_failure(run, dir, "#qubit readed does not match!", true);
    }
}

}  // namespace
