// What users actually feed the program: hand-edited netlists, files from other tools, truncated
// downloads, CR-LF files. Every bad input ends with one clear message line and exit status 1,
// never a crash, and never leaves an output file behind; the documented cases run through.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/program_run.h"
#include "support/unitary.h"

using testrun::run_marovin_in;

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
    return testenv::make_scratch_dir(testnames::unique_name("bad_" + name));
}

// On the fault-tolerant road the non-converted winner has already been written, completely, when
// a conversion file turns out to be bad; `winner_written` accepts that file.
void expect_clean_failure(const testrun::Run& run, const std::string& dir,
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
    testrun::Run run = run_marovin_in(dir, "in.txt out.txt SC");
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
    testrun::Run run = run_marovin_in(dir, "in.txt out.txt CTL");
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
    testrun::Run run = run_marovin_in(dir, "in.txt out.txt CTL");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(testenv::read_file(dir + "/out.txt").find("CNOT"), std::string::npos);
}

TEST(BadFiles, UnwritableOutputPathLeavesNothing) {
    const std::string dir = scratch("unwritable");
    testenv::write_file(dir + "/in.txt", kHeader + "H a\n.end\n");
    testrun::Run run = run_marovin_in(dir, "in.txt no_such_dir/out.txt SC");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir + "/no_such_dir"));
}

TEST(BadFiles, OutputNamingTheInputIsRefusedAndInputKept) {
    const std::string dir = scratch("same_file");
    const std::string text = kHeader + "H a\nH a\n.end\n";
    testenv::write_file(dir + "/in.txt", text);
    testrun::Run run = run_marovin_in(dir, "in.txt ./in.txt SC");
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
        testrun::Run run = run_marovin_in(dir, "in.txt out.txt SC");
        expect_clean_failure(run, dir, "");
    }
}

TEST(BadFiles, MissingOrMalformedSequenceCache) {
    const std::string netlist = kHeader + "RZ a 0.3\nCNOT a b\n.end\n";
    {
        const std::string dir = scratch("ft_missing");
        std::filesystem::remove(dir + "/FT_table.txt");
        testenv::write_file(dir + "/in.txt", netlist);
        testrun::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1");
        expect_clean_failure(run, dir, "Cannot open FT_table.txt!", true);
    }
    {
        const std::string dir = scratch("ft_malformed");
        testenv::write_file(dir + "/FT_table.txt", ".angle 0.3\nGATE HT\n.end\n");
        testenv::write_file(dir + "/in.txt", netlist);
        testrun::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1");
        expect_clean_failure(run, dir, "", true);
    }
}

TEST(BadFiles, MissingOrMalformedLayout) {
    {
        const std::string dir = scratch("layout_missing");
        testenv::write_file(dir + "/in.txt", kHeader + "H a\n.end\n");
        // The layout is read by the circuits that carry the code, on the fault-tolerant road.
        testrun::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1 0 1 1");
        expect_clean_failure(run, dir, "cannot find qubit layout information: in.txt.layout", true);
    }
    {
        const std::string dir = scratch("layout_unknown_name");
        testenv::write_file(dir + "/in.txt", kHeader + "H a\n.end\n");
        testenv::write_file(dir + "/in.txt.layout", "a zz\n");
        testrun::Run run = run_marovin_in(dir, "in.txt out.txt SC 0.1 0 1 1");
        expect_clean_failure(run, dir, "#qubit readed does not match!", true);
    }
}

}  // namespace

// ---- Refusals, failures and interruptions leave the previous output as it was ---------------

namespace {

const std::string kPrevious = "# the previous result\n.qubit 1\nqubit a\n.begin\nH a\n.end\n";
const std::string kRotations = kHeader + "RZ a 0.3\nCNOT a b\nRX b 1.7\nH a\n.end\n";

// A circuit whose mapping takes seconds: an MCT with `controls` controls.
std::string wide_mct(int controls) {
    std::string text = "# wide\n.qubit " + std::to_string(controls + 1) + "\n";
    std::string operands;
    for (int i = 0; i <= controls; ++i) {
        text += "qubit q" + std::to_string(i) + "\n";
        operands += " q" + std::to_string(i);
    }
    return text + ".begin\nMCT" + operands + "\n.end\n";
}

// Names in `dir` that a temporary of out.txt would have.
std::vector<std::string> temporaries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("out.txt.", 0) == 0) names.push_back(name);
    }
    return names;
}

void expect_previous_output_kept(const std::string& dir) {
    EXPECT_EQ(testenv::read_file(dir + "/out.txt"), kPrevious) << "previous output changed";
    EXPECT_TRUE(temporaries(dir).empty()) << temporaries(dir)[0];
}

// A scratch folder with `netlist` as in.txt and kPrevious as out.txt.
std::string scratch_with_previous(const std::string& name, const std::string& netlist) {
    const std::string dir = scratch(name);
    testenv::write_file(dir + "/in.txt", netlist);
    testenv::write_file(dir + "/out.txt", kPrevious);
    return dir;
}

struct Refusal {
    const char* name;
    std::string netlist;
    const char* arguments;
    const char* cache;    // FT_table.txt content, nullptr: the shipped one
    const char* message;  // the last output line
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class Refused : public testing::TestWithParam<Refusal> {};

TEST_P(Refused, OneMessageStatusOneAndThePreviousOutputKept) {
    const Refusal& r = GetParam();
    const std::string dir = scratch_with_previous(r.name, r.netlist);
    if (r.cache != nullptr) testenv::write_file(dir + "/FT_table.txt", r.cache);
    testrun::Run run = run_marovin_in(dir, r.arguments);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(last_line(run.output), r.message) << run.output;
    expect_previous_output_kept(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refused,
    testing::Values(
        // Depths and levels beyond the meaningful range, and numbers that do not fit.
        Refusal{"sk_depth_10000", kRotations, "in.txt out.txt SC 0.01 10000", nullptr,
                "The FT mode must be 0 (exhaustive search) or a Solovay-Kitaev depth from 1 to "
                "6: 10000"},
        Refusal{"ft_mode_2_32", kRotations, "in.txt out.txt SC 0.01 4294967296", nullptr,
                "The FT mode is not a number the program can use: 4294967296"},
        Refusal{"level_50000", kRotations, "in.txt out.txt SC 0.01 0 1 50000", nullptr,
                "The level of a code must be from 0 to 100: 50000"},
        Refusal{"level_negative", kRotations, "in.txt out.txt SC 0 0 2 -1", nullptr,
                "The level of a code must be from 0 to 100: -1"},
        Refusal{"level_2_32_plus_1", kRotations, "in.txt out.txt SC 0 0 1 4294967297", nullptr,
                "The level is not a number the program can use: 4294967297"},
        // Searches that cannot end.
        Refusal{"threshold_1e-300", kRotations, "in.txt out.txt SC 1e-300", nullptr,
                "The threshold must be at least 1e-07 for the exhaustive search (double "
                "precision cannot verify less): 1e-300"},
        Refusal{"threshold_negative", kRotations, "in.txt out.txt SC -0.1 0", nullptr,
                "FT threshold must be a positive number for the exhaustive search"},
        // Expansions that cannot fit, and the option that moves the limit.
        Refusal{"mct_20_controls", wide_mct(20), "--max-gates 1000000 in.txt out.txt CTL", nullptr,
                "Netlist line 25 (\"MCT q0 q1 q2 q3 q4 q5 q6 q7 q8 q9 q10 q11 q12 q13 q14 q15 "
                "q1...\"): the circuit would grow to about 6.29e+06 gates once mapped, more than "
                "the limit of 1000000 (raise it with --max-gates N)"},
        Refusal{"max_gates_lowered", kRotations, "--max-gates 3 in.txt out.txt", nullptr,
                "Netlist line 9 (\"H a\"): the circuit would grow to about 4 gates once mapped, "
                "more than the limit of 3 (raise it with --max-gates N)"},
        Refusal{"max_gates_not_a_number", kRotations, "--max-gates 1e6 in.txt out.txt", nullptr,
                "--max-gates needs a positive whole number of gates: 1e6"},
        Refusal{"unknown_option", kRotations, "--fast in.txt out.txt", nullptr,
                "Unknown option: --fast"},
        // Cache files that do not say what they seem to.
        Refusal{"cache_angle_junk", kRotations, "in.txt out.txt SC 0.1",
                ".angle 0.5junk\nDIST 0.1 GATE HT\n.end\n",
                "FT_table.txt: line 1: angle \"0.5junk\" is not a finite number"},
        Refusal{"cache_foreign_letter", kRotations, "in.txt out.txt SC 0.1",
                "# c\n.angle 0.3\nDIST 0.1 GATE HTxT\n.end\n",
                "FT_table.txt: line 3: letter 'x' of sequence HTxT is not one of H T t S s X Z I "
                "( )"},
        Refusal{"cache_negative_distance", kRotations, "in.txt out.txt SC 0.1",
                ".angle 0.3\nDIST -1 GATE H\n.end\n",
                "FT_table.txt: line 2: distance -1 is negative"},
        // A conversion that fails after the synthesis.
        Refusal{"cache_syntax", kRotations, "in.txt out.txt SC 0.1", ".angle 0.3\nGATE HT\n.end\n",
                "token= GATE"}),
    [](const testing::TestParamInfo<Refusal>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == '-') ch = '_';
        return name;
    });

// Inputs without an end (devices, as a netlist and, through links named .qasm, as QASM) stop at
// the first over-long line or at the byte bound of the gate limit, within seconds.
TEST(BadFiles, EndlessInputIsRefusedWithoutReadingItAll) {
    const std::string dir = scratch_with_previous("endless", kRotations);
    ASSERT_EQ(symlink("/dev/zero", (dir + "/zero.qasm").c_str()), 0);
    ASSERT_EQ(symlink("/dev/urandom", (dir + "/random.QASM").c_str()), 0);
    const std::string too_large =
        "The input file holds more than 1176576 bytes, more than "
        "--max-gates 1000 allows: ";
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/zero out.txt", "Netlist line 1 is longer than 99 characters"},
        {"--max-gates 1000 /dev/urandom out.txt", "is longer than 99 characters"},
        {"--max-gates 1000 zero.qasm out.txt", too_large + "zero.qasm"},
        {"--max-gates 1000 random.QASM out.txt", too_large + "random.QASM"},
    };
    for (const auto& [arguments, message] : cases) {
        const auto start = std::chrono::steady_clock::now();
        const testrun::Run run = run_marovin_in(dir, arguments);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(run.status, 1) << arguments << "\n" << run.output;
        EXPECT_NE(last_line(run.output).find(message), std::string::npos) << arguments << "\n"
                                                                          << run.output;
        EXPECT_LT(seconds, 30) << arguments;
        expect_previous_output_kept(dir);
    }
}

struct SettingsCase {
    const char* name;
    const char* arguments;
    const char* folder;  // made in the working folder ("" for none)
    bool remove_cache;   // FT_table.txt removed first
    const char* message;
};

void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsRefused : public testing::TestWithParam<SettingsCase> {};

// Settings a run cannot complete are refused before any work: one message, status 1, no
// synthesis begun, FT_before_converted.txt not written, the previous output kept.
TEST_P(SettingsRefused, BeforeAnyWorkOrSideFile) {
    const SettingsCase& c = GetParam();
    const std::string dir = scratch_with_previous(std::string("settings_") + c.name, kRotations);
    if (c.remove_cache) std::filesystem::remove(dir + "/FT_table.txt");
    if (*c.folder != '\0') std::filesystem::create_directory(dir + "/" + c.folder);
    testrun::Run run = run_marovin_in(dir, c.arguments);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(last_line(run.output), c.message);
    EXPECT_EQ(run.output.find("read input file="), std::string::npos) << run.output;
    if (std::string(c.folder) != "FT_before_converted.txt") {
        EXPECT_FALSE(std::filesystem::exists(dir + "/FT_before_converted.txt"));
    }
    expect_previous_output_kept(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsRefused,
    testing::Values(
        SettingsCase{"side_file_folder", "in.txt out.txt SC 0.1", "FT_before_converted.txt", false,
                     "Cannot write FT_before_converted.txt in the working folder (a folder, or no "
                     "write permission)"},
        SettingsCase{"angle_log_folder", "in.txt out.txt SC 0.1", "ft_angle_analysis.txt", false,
                     "Cannot write ft_angle_analysis.txt in the working folder (a folder, or no "
                     "write permission)"},
        SettingsCase{"cache_missing", "in.txt out.txt SC 0.1", "", true,
                     "Cannot open FT_table.txt!"},
        SettingsCase{"cache_folder", "in.txt out.txt SC 0.1", "FT_table.txt", true,
                     "Cannot open FT_table.txt! (it is a folder)"},
        SettingsCase{"grid_below_floor", "in.txt out.txt SC 1e-22 grid", "", false,
                     "The threshold must be at least 1e-20 for the number-theoretic synthesis "
                     "(its searches find no sequence for some rotations below it): 1e-22"},
        SettingsCase{"grid_negative", "in.txt out.txt SC -1e-3 grid", "", false,
                     "FT threshold must be a positive number for the number-theoretic synthesis"},
        SettingsCase{"sk_below_floor", "in.txt out.txt SC 1e-300 2", "", false,
                     "The threshold must be at least 3e-06 for the Solovay-Kitaev algorithm (no "
                     "depth gets closer): 1e-300"},
        SettingsCase{"sk_negative", "in.txt out.txt SC -0.5 2", "", false,
                     "FT threshold must be a positive number for the Solovay-Kitaev algorithm"}));

// ---- A running child ended by a signal or by its memory limit ---------------------------------

struct ChildEnd {
    bool signalled = false;
    int code = -1;  // exit status, or the signal
    std::string output;
};

// Runs marovin with `arguments` in `dir`; sends `signal` after `delay_ms` (0: none); limits
// the address space to `memory_mb` (0: no limit).
ChildEnd run_child(const std::string& dir, std::vector<std::string> arguments, int signal,
                   int delay_ms, long memory_mb) {
    const std::string log = dir + "/child_output.txt";
    arguments.insert(arguments.begin(), MAROVIN_BINARY);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(127);
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        if (memory_mb > 0) {
            const rlimit limit{static_cast<rlim_t>(memory_mb) << 20, static_cast<rlim_t>(memory_mb)
                                                                         << 20};
            setrlimit(RLIMIT_AS, &limit);
        }
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (signal != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
        kill(pid, signal);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ChildEnd end;
    end.signalled = WIFSIGNALED(status);
    end.code = end.signalled ? WTERMSIG(status) : WEXITSTATUS(status);
    end.output = testenv::read_file(log);
    std::filesystem::remove(log);
    return end;
}

class Interrupted : public testing::TestWithParam<int> {};

TEST_P(Interrupted, ByASignalKeepsThePreviousOutput) {
    const int signal = GetParam();
    const std::string dir = scratch_with_previous("signal_" + std::to_string(signal), wide_mct(14));
    const ChildEnd end = run_child(dir, {"in.txt", "out.txt", "CTL"}, signal, 400, 0);
    ASSERT_TRUE(end.signalled) << "the run ended before the signal: " << end.output;
    EXPECT_EQ(end.code, signal);
    expect_previous_output_kept(dir);
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted, testing::Values(SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? std::string("SIGINT")
                                                         : std::string("SIGTERM");
                         });

// AddressSanitizer reserves terabytes of shadow address space at start, so a child under an
// address-space limit cannot even start; the sanitizer build skips this case.
#if defined(__SANITIZE_ADDRESS__)
#define MAROVIN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAROVIN_ADDRESS_SANITIZER 1
#endif
#endif

TEST(Failures, RunningOutOfMemoryIsOneMessageAndKeepsThePreviousOutput) {
#ifdef MAROVIN_ADDRESS_SANITIZER
    GTEST_SKIP() << "an address-space limit cannot be combined with AddressSanitizer";
#endif
    const std::string dir = scratch_with_previous("out_of_memory", wide_mct(16));
    const ChildEnd end =
        run_child(dir, {"--max-gates", "100000000", "in.txt", "out.txt", "CTL"}, 0, 0, 160);
    EXPECT_FALSE(end.signalled) << end.output;
    EXPECT_EQ(end.code, 1) << end.output;
    EXPECT_EQ(last_line(end.output),
              "Error: out of memory; the circuit is too large to synthesise on this machine");
    expect_previous_output_kept(dir);
}

}  // namespace

// ---- Runs that must succeed with a correct result ---------------------------------------------

namespace {

// The identity on two qubits written with rotations by huge multiples of a full turn: each
// RZ(1.7e308) is RZ(16 k), the identity, and each pair of CNOTs cancels. The phases they carry
// (k π each) once summed to infinity.
std::string huge_rotations(const char* header_phase) {
    std::string text = "# huge\n.qubit 2\nqubit q0\nqubit q1\n";
    text += header_phase;
    text += ".begin\n";
    for (int i = 0; i < 10; ++i) text += "RZ q0 1.7e308\nCNOT q0 q1\nRZ q1 -1.7e308\n";
    return text + "H q1\n.end\n";
}

class HugePhases : public testing::TestWithParam<std::string> {};

TEST_P(HugePhases, StayFiniteAndTheResultIsRight) {
    const std::string header = GetParam() == "header" ? ".global_phase 1.7e308\n" : "";
    const std::string dir = scratch("huge_phase_" + GetParam());
    testenv::write_file(dir + "/in.txt", huge_rotations(header.c_str()));
    for (const char* arguments : {"in.txt out.txt SC 0.1", "in.txt out.txt QD 0.1 0 1 2"}) {
        testenv::write_file(dir + "/in.txt.layout", "q0 q1\n");
        testrun::Run run = run_marovin_in(dir, arguments);
        ASSERT_EQ(run.status, 0) << arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("inf"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("nan"), std::string::npos) << run.output;
        // The rotations are identities and the ten CNOTs cancel: H alone, up to phase.
        const std::string expected = kHeader + "H b\n.end\n";
        EXPECT_TRUE(sim::equal_up_to_phase(
            sim::netlist_unitary(expected, sim::Order::Operator),
            sim::netlist_unitary(testenv::read_file(dir + "/out.txt"), sim::Order::Operator), 1e-7))
            << testenv::read_file(dir + "/out.txt");
    }
}

INSTANTIATE_TEST_SUITE_P(Phases, HugePhases, testing::Values("gates", "header"));

// An angle that needs 17 digits keeps its fraction from stage to stage: RZ(10^15 + 0.5) is
// RZ(0.5), the π/8 rotation, written as such, and approximated as such by grid.
TEST(HugeAngles, KeepTheirFractionThroughTheRoad) {
    const std::string dir = scratch("huge_angle");
    testenv::write_file(dir + "/in.txt", kHeader + "RZ a 1000000000000000.5\nCNOT a b\n.end\n");
    const sim::Unitary expected =
        sim::netlist_unitary(kHeader + "RZ a 0.5\nCNOT a b\n.end\n", sim::Order::Operator);
    for (const char* arguments : {"in.txt out.txt CTL", "in.txt out.txt SC 1e-3 grid"}) {
        testrun::Run run = run_marovin_in(dir, arguments);
        ASSERT_EQ(run.status, 0) << arguments << "\n" << run.output;
        const std::string out = testenv::read_file(dir + "/out.txt");
        EXPECT_LE(sim::operator_distance_up_to_phase(
                      expected, sim::netlist_unitary(out, sim::Order::Operator)),
                  std::sqrt(2.0) * 1e-3 + 1e-9)
            << arguments << "\n"
            << out;
    }
}

TEST(CacheCheck, EntryThatDeletesTheRotationIsReportedAndNotUsed) {
    const std::string dir = scratch("cache_empty_sequence");
    const std::string input = kHeader + "RZ a 0.3\nCNOT a b\n.end\n";
    testenv::write_file(dir + "/in.txt", input);
    testenv::write_file(dir + "/FT_table.txt", ".angle 0.3\nDIST 0.001 GATE ()\n.end\n");
    testrun::Run run = run_marovin_in(dir, "in.txt out.txt CTL 0.05");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Error: FT_table.txt: the sequence () of angle 0.3"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Cache hit rate: 100 %"), std::string::npos) << run.output;
    // The searched sequence replaces the rotation: within the threshold of the input.
    const double distance = sim::operator_distance_up_to_phase(
        sim::netlist_unitary(input, sim::Order::Operator),
        sim::netlist_unitary(testenv::read_file(dir + "/out.txt"), sim::Order::Operator));
    EXPECT_LE(distance, std::sqrt(2.0) * 0.05 + 1e-9);
    EXPECT_GT(distance, 0.0) << "the rotation was deleted, not approximated";
}

// A full disk under the angle log (/dev/full takes no byte): one "Error:" line with the system's
// reason, the run completes and writes its output, and exits with status 1.
TEST(SideFiles, AngleLogOnAFullDiskIsOneErrorLineAndStatusOne) {
    const std::string dir = scratch("angle_log_full");
    std::filesystem::create_symlink("/dev/full", dir + "/ft_angle_analysis.txt");
    // Two fractional rotations in one window make a mixed window, which is logged.
    testenv::write_file(dir + "/in.txt", kHeader + "RZ a 0.3\nRX a 0.7\nRZ a 0.2\n.end\n");
    testrun::Run run = run_marovin_in(dir, "in.txt out.txt CTL 1e-3 grid");
    EXPECT_EQ(run.status, 1) << run.output;
    size_t errors = 0;
    for (size_t at = run.output.find("Error: "); at != std::string::npos;
         at = run.output.find("Error: ", at + 1))
        ++errors;
    EXPECT_EQ(errors, 1u) << run.output;
    EXPECT_TRUE(testrun::has_line(run.output,
                                  "Error: writing ft_angle_analysis.txt failed (No space left on "
                                  "device); the log of mixed rotation windows is incomplete"))
        << run.output;
    EXPECT_NE(run.output.find(" ***Synthesis Time="), std::string::npos) << run.output;
    EXPECT_TRUE(std::filesystem::exists(dir + "/out.txt"));
}

// ---- What the output path is ----------------------------------------------------------------

TEST(OutputPath, DeviceIsWrittenStraightInto) {
    const std::string dir = scratch("output_device");
    testenv::write_file(dir + "/in.txt", kHeader + "H a\nCNOT a b\n.end\n");
    testrun::Run run = run_marovin_in(dir, "in.txt /dev/stdout SC");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("# Created by Marovin\n.qubit 2\n"), std::string::npos) << run.output;
    // Standard output sent to a file: the result stands between the progress lines and the
    // report, as it was written, and the file stays the one the shell opened.
    testenv::write_file(dir + "/both.txt", "");
    run = run_marovin_in(dir, "in.txt /dev/stdout SC > both.txt");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string both = testenv::read_file(dir + "/both.txt");
    const size_t netlist = both.find("# Created by Marovin\n");
    ASSERT_NE(netlist, std::string::npos) << both;
    EXPECT_LT(both.find("Backward Synthesis...\n"), netlist) << both;
    EXPECT_GT(both.find("Cache hit: 0\n"), netlist) << both;
    run = run_marovin_in(dir, "in.txt /dev/null SC");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST(OutputPath, FullDeviceNamesTheCause) {
    const std::string dir = scratch("output_full");
    testenv::write_file(dir + "/in.txt", kHeader + "H a\nCNOT a b\n.end\n");
    const testrun::Run run = run_marovin_in(dir, "in.txt /dev/full SC");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(last_line(run.output),
              "Writing the result file failed: /dev/full (No space left on device)");
}

TEST(OutputPath, FifoIsWrittenStraightInto) {
    const std::string dir = scratch("output_fifo");
    testenv::write_file(dir + "/in.txt", kHeader + "H a\nCNOT a b\n.end\n");
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0644), 0);
    std::string received;
    std::thread reader([&] { received = testenv::read_file(dir + "/pipe"); });
    testrun::Run run = run_marovin_in(dir, "in.txt pipe SC");
    reader.join();
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(std::filesystem::is_fifo(dir + "/pipe"));
    EXPECT_NE(received.find("# Created by Marovin\n"), std::string::npos) << received;
}

TEST(OutputPath, ReplacedFileKeepsItsModeAndALinkIsFollowed) {
    namespace fs = std::filesystem;
    const std::string dir = scratch("output_mode");
    testenv::write_file(dir + "/in.txt", kHeader + "H a\nCNOT a b\n.end\n");
    for (fs::perms mode : {fs::perms(0600), fs::perms(0444), fs::perms(0640)}) {
        testenv::write_file(dir + "/out.txt", kPrevious);
        fs::permissions(dir + "/out.txt", mode);
        testrun::Run run = run_marovin_in(dir, "in.txt out.txt SC");
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(fs::status(dir + "/out.txt").permissions() & fs::perms::all, mode);
        EXPECT_NE(testenv::read_file(dir + "/out.txt"), kPrevious);
        fs::permissions(dir + "/out.txt", fs::perms(0644));
    }
    fs::create_directory(dir + "/elsewhere");
    testenv::write_file(dir + "/elsewhere/real.txt", kPrevious);
    fs::create_symlink("elsewhere/real.txt", dir + "/link.txt");
    testrun::Run run = run_marovin_in(dir, "in.txt link.txt SC");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::is_symlink(dir + "/link.txt"));
    EXPECT_NE(testenv::read_file(dir + "/elsewhere/real.txt").find("# Created by Marovin\n"),
              std::string::npos);
    EXPECT_TRUE(temporaries(dir).empty());
}

}  // namespace
