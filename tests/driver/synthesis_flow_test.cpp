// The marovin executable: command line, echo, failures, output file safety and orientation.

#include "driver/synthesis_flow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/program_run.h"
#include "support/test_env.h"
#include "support/unitary.h"

using testrun::has_line;
using testrun::run_marovin_in;
using testrun::scratch_with_example;

namespace {

const char* const kUsage =
    "Format: <input_file> <output_file> <PMD> <threshold> <ft_mode> <code> <level>";

TEST(CommandLine, FewerThanTwoArgumentsPrintUsage) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("driver_usage"));
    for (const char* arguments : {"", "in.txt"}) {
        auto run = run_marovin_in(dir, arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output, std::string(kUsage) + "\n");
    }
}

struct EchoCase {
    const char* name;
    const char* arguments;            // after "in.txt out.txt"
    std::vector<std::string> lines;   // printed, in this order, before "read input file= "
    std::vector<std::string> absent;  // never printed
};

class CommandLineEcho : public testing::TestWithParam<EchoCase> {};

TEST_P(CommandLineEcho, EchoesSettingsAndRuns) {
    const EchoCase& c = GetParam();
    const std::string dir = scratch_with_example("driver_echo", "ghz5.txt");
    auto run = run_marovin_in(dir, std::string("in.txt out.txt ") + c.arguments);
    ASSERT_EQ(run.status, 0) << run.output;
    std::string expected;
    for (const std::string& line : c.lines) expected += line + "\n";
    expected += "read input file= in.txt\n";
    EXPECT_EQ(run.output.substr(0, expected.size()), expected) << run.output;
    for (const std::string& text : c.absent)
        EXPECT_EQ(run.output.find(text), std::string::npos) << text << "\n" << run.output;
    EXPECT_TRUE(has_line(run.output, "Forward is better!") ||
                has_line(run.output, "Backward is better!"))
        << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineEcho,
    testing::Values(
        EchoCase{
            "TwoArguments", "", {"Default PMD type: CTL", "No FT conversion"}, {"PMD=", "QECC"}},
        EchoCase{"Description", "SC", {"No FT conversion", "PMD=SC"}, {"QECC"}},
        EchoCase{"LowerCaseDescription",
                 "ct",
                 {"No FT conversion", "Not supported PMD type: ct"},
                 {"PMD="}},
        EchoCase{"ThresholdZero",
                 "NA 0",
                 {"FT threshold is set to: 0", "Use Brask FT search by default", "PMD=NA"},
                 {"Start FT conversion!", "Cache hit rate", "Post FT"}},
        EchoCase{"ThresholdZeroWithMode",
                 "QD 0.0 7",
                 {"FT threshold is set to: 0.0", "Use S-K algorithm, # iterations= 7", "PMD=QD"},
                 {"Start FT conversion!", "Cache hit rate"}},
        EchoCase{"SixArgumentsLevelOne",
                 "LP 0 0 3",
                 {"FT threshold is set to: 0", "Use Brask FT search by default", "QECC code is: 3",
                  "Level is: 1", "PMD=LP"},
                 {"QECC code: ", "QECC level"}},
        EchoCase{"CodeThreeIsNoCode",
                 "FTS 0 0 3 2",
                 {"FT threshold is set to: 0", "Use Brask FT search by default", "QECC code is: 3",
                  "Level is 2", "PMD=FTS"},
                 {"QECC code: ", "Logical #ops"}},
        EchoCase{"MoreThanSevenArguments",
                 "IT 0 0 4 1 extra",
                 {"PMD=IT"},
                 {"No FT conversion", "FT threshold", "QECC code is"}}),
    [](const testing::TestParamInfo<EchoCase>& info) { return std::string(info.param.name); });

TEST(Report, NoConversionReportsEmptyCacheAndTheTime) {
    const std::string dir = scratch_with_example("driver_report", "qft4.txt");
    auto run = run_marovin_in(dir, "in.txt out.txt SC 0 0");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(has_line(run.output, "Cache hit: 0"));
    EXPECT_TRUE(has_line(run.output, "Cache miss: 0"));
    EXPECT_EQ(run.output.find("Cache hit rate"), std::string::npos);
    const size_t forward = run.output.find("Forward Synthesis...\n");
    const size_t backward = run.output.find("Backward Synthesis...\n");
    EXPECT_LT(run.output.find("Pre Synthesis...\n"), forward);
    EXPECT_LT(forward, backward);
    EXPECT_NE(run.output.find("\nnonFT Syn: #ops= "), std::string::npos);
    EXPECT_NE(run.output.find("\nnonFT Syn: #cyc= "), std::string::npos);
    const size_t time = run.output.find("\n ***Synthesis Time=");
    ASSERT_NE(time, std::string::npos);
    EXPECT_EQ(run.output.substr(run.output.size() - 4), "***\n");
}

TEST(Failures, UnreadableInputIsReportedOnTheErrorStream) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("driver_missing"));
    std::string output;
    const int status = testenv::run_command(
        dir, std::string("('") + MAROVIN_BINARY + "' missing.txt out.txt 2>err.txt >/dev/null)",
        output);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(testenv::read_file(dir + "/err.txt"), "Cannot read input file: missing.txt\n");
    EXPECT_FALSE(std::filesystem::exists(dir + "/out.txt"));
}

TEST(Failures, OutputNamingTheInputIsRefusedAndTheInputKept) {
    const std::string dir = scratch_with_example("driver_same_file", "ghz5.txt");
    const std::string input = testenv::read_file(dir + "/in.txt");
    std::filesystem::create_hard_link(dir + "/in.txt", dir + "/link.txt");
    for (const char* arguments : {"in.txt in.txt SC", "in.txt ./in.txt", "in.txt link.txt NA"}) {
        auto run = run_marovin_in(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.output.find("The output file would overwrite the input file"),
                  std::string::npos)
            << run.output;
        EXPECT_EQ(run.output.find("Forward Synthesis"), std::string::npos);
        EXPECT_EQ(testenv::read_file(dir + "/in.txt"), input);
    }
}

TEST(Failures, UnwritableOutputEndsWithStatusOne) {
    const std::string dir = scratch_with_example("driver_unwritable", "ghz5.txt");
    auto run = run_marovin_in(dir, "in.txt no/such/dir/out.txt SC");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(has_line(run.output,
                         "File open failed when writing result! (No such file or "
                         "directory)"))
        << run.output;
}

TEST(Failures, NonFiniteThresholdIsRefused) {
    const std::string dir = scratch_with_example("driver_threshold", "ghz5.txt");
    for (const char* threshold : {"nan", "inf", "-inf"}) {
        auto run = run_marovin_in(dir, std::string("in.txt out.txt SC ") + threshold);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(has_line(run.output,
                             std::string("The threshold must be a finite number: ") + threshold))
            << run.output;
    }
}

TEST(Failures, OverlongInputLineIsReported) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("driver_long"));
    testenv::write_file(dir + "/in.txt", "# t\n.qubit 1\nqubit a\n.begin\nH a\n" +
                                             std::string(10000, 'x') + "\n.end\n");
    auto run = run_marovin_in(dir, "in.txt out.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(has_line(run.output, "Netlist line 6 is longer than 99 characters")) << run.output;
}

TEST(Failures, BadNetlistLeavesNoOutputFile) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("driver_bad_netlist"));
    testenv::write_file(dir + "/in.txt",
                        "# t\n.qubit 2\nqubit a\nqubit b\n.begin\nH a\nCNOT a a\n.end\n");
    auto run = run_marovin_in(dir, "in.txt out.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("qubit a is used twice"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir + "/out.txt"));
}

// The output file holds the input's circuit, up to phase, both read in operator order, on
// every description.
struct EquivalenceCase {
    std::string example;
    std::string pmd;
};

class OutputEquivalence : public testing::TestWithParam<EquivalenceCase> {};

TEST_P(OutputEquivalence, OutputFileHasTheInputUnitary) {
    const EquivalenceCase& c = GetParam();
    const std::string dir = scratch_with_example("driver_equivalence", c.example);
    auto run = run_marovin_in(dir, "in.txt out.txt " + c.pmd);
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_TRUE(has_line(run.output, "PMD=" + c.pmd)) << run.output;
    const std::string input = testenv::read_file(dir + "/in.txt");
    const std::string output = testenv::read_file(dir + "/out.txt");
    EXPECT_TRUE(sim::equal_up_to_phase(sim::netlist_unitary(input, sim::Order::Operator),
                                       sim::netlist_unitary(output, sim::Order::Operator), 1e-7))
        << output;
}

std::vector<EquivalenceCase> equivalence_cases() {
    std::vector<EquivalenceCase> cases;
    for (const char* example : {"ghz5.txt", "qft4.txt", "adder2.txt", "reversible5.txt"})
        for (const char* pmd : {"QD", "SC", "IT", "NA", "LP", "NP", "CTL", "FTS"})
            cases.push_back({example, pmd});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Examples, OutputEquivalence, testing::ValuesIn(equivalence_cases()),
                         [](const testing::TestParamInfo<EquivalenceCase>& info) {
                             std::string name =
                                 info.param.example.substr(0, info.param.example.find('.'));
                             return name + "_" + info.param.pmd;
                         });

// A line that meets no two-qubit gate is reduced like the others: H, H on it vanishes on every
// description, and the rest of the circuit keeps its meaning.
class LineWithoutTwoQubitGates : public testing::TestWithParam<std::string> {};

TEST_P(LineWithoutTwoQubitGates, IdentityRunVanishes) {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("driver_lone_line"));
    const std::string input =
        "# t\n.qubit 3\nqubit a\nqubit b\nqubit c\n.begin\nH a\nH a\n"
        "CNOT b c\nRZ c 1.5\n.end\n";
    testenv::write_file(dir + "/in.txt", input);
    auto run = run_marovin_in(dir, "in.txt out.txt " + GetParam());
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string output = testenv::read_file(dir + "/out.txt");
    const std::string gates = output.substr(output.find(".begin\n"));
    EXPECT_EQ(("\n" + gates).find(" a\n"), std::string::npos) << output;
    EXPECT_EQ(("\n" + gates).find(" a "), std::string::npos) << output;
    EXPECT_TRUE(sim::equal_up_to_phase(sim::netlist_unitary(input, sim::Order::Operator),
                                       sim::netlist_unitary(output, sim::Order::Operator), 1e-7))
        << output;
}

INSTANTIATE_TEST_SUITE_P(AllPmds, LineWithoutTwoQubitGates,
                         testing::Values("QD", "SC", "IT", "NA", "LP", "NP", "CTL", "FTS"));

TEST(Input, FirstLineDeclaringQubitsAndCrLfLinesWork) {
    // No title comment: the backward attempt keeps the ".qubit" line. CR-LF line ends.
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("driver_crlf"));
    const std::string input =
        ".qubit 2\r\nqubit a\r\nqubit b\r\n.begin\r\nRZ b 0.7\r\nCNOT a b\r\nH a\r\n.end\r\n";
    testenv::write_file(dir + "/in.txt", input);
    auto run = run_marovin_in(dir, "in.txt out.txt SC");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string output = testenv::read_file(dir + "/out.txt");
    EXPECT_TRUE(sim::equal_up_to_phase(sim::netlist_unitary(input, sim::Order::Operator),
                                       sim::netlist_unitary(output, sim::Order::Operator), 1e-7))
        << output;
}

}  // namespace

namespace {

TEST(FaultTolerantRoad, ConvertsReoptimisesAndReports) {
    // Angles that are multiples of π/4 need no search: the conversion is exact.
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name("driver_ft"));
    const std::string input =
        "# t\n.qubit 2\nqubit a\nqubit b\n.begin\nRZ b 2\nT a\nCNOT a b\nH a\nRX b 6\n.end\n";
    testenv::write_file(dir + "/in.txt", input);
    auto run = run_marovin_in(dir, "in.txt out.txt SC 0.001");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(has_line(run.output, "Start FT conversion!")) << run.output;
    EXPECT_LT(run.output.find("Start FT conversion!"), run.output.find("Last Synthesis..."));
    EXPECT_NE(run.output.find("\nPost FT Syn: #ops= "), std::string::npos);
    EXPECT_NE(run.output.find("\nPost FT Syn: #cyc= "), std::string::npos);
    const std::string before = testenv::read_file(dir + "/FT_before_converted.txt");
    EXPECT_NE(before.find("\n.pmd FTS\n"), std::string::npos) << before;
    const std::string output = testenv::read_file(dir + "/out.txt");
    EXPECT_TRUE(sim::equal_up_to_phase(sim::netlist_unitary(input, sim::Order::Operator),
                                       sim::netlist_unitary(output, sim::Order::Operator), 1e-7))
        << output;
}

TEST(CodeReport, LogicalCountsWithACode) {
    const std::string layout = testenv::source_path("examples/ghz5.txt.layout");
    const std::string dir = scratch_with_example("driver_code", "ghz5.txt", "ghz5.txt");
    testenv::write_file(dir + "/ghz5.txt.layout", testenv::read_file(layout));
    auto run = run_marovin_in(dir, "ghz5.txt out.txt CTL 0 0 1");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(has_line(run.output, "QECC code: 1")) << run.output;
    EXPECT_TRUE(has_line(run.output, "QECC level: 1")) << run.output;
    // Without a conversion the final text is empty: its counts are 0.
    EXPECT_NE(run.output.find("\nLogical #ops= "), std::string::npos);
    EXPECT_NE(run.output.find(" --> 0\nLogical #cyc= "), std::string::npos) << run.output;
}

// A run that left rotations unconverted, or whose angle log is incomplete, is not complete (the
// program exits with status 1); unconverted rotations are said in one "Error:" line before the
// run time, and only then.
TEST(Report, UnconvertedRotationsAreOneErrorLineAndTheRunIsIncomplete) {
    SynthesisResult r;
    std::ostringstream plain;
    print_report(r, plain);
    EXPECT_EQ(plain.str().find("Error"), std::string::npos);
    EXPECT_TRUE(run_complete(r));
    r.unconverted_rotations = 3;
    std::ostringstream counted;
    print_report(r, counted);
    EXPECT_NE(counted.str().find("\nError: 3 rotation(s) left unconverted (no sequence within the "
                                 "threshold); the output holds them as they were\n ***Synthesis "
                                 "Time="),
              std::string::npos)
        << counted.str();
    EXPECT_FALSE(run_complete(r));
    r.unconverted_rotations = 0;
    r.angle_log_failed = true;
    EXPECT_FALSE(run_complete(r));
}

}  // namespace
