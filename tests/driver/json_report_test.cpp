// --json FILE on the shipped examples: the file is valid JSON, its figures are the console's,
// and the console report and the output file are those of the same run without the option.

#include "driver/json_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "driver/json_value.h"
#include "support/program_run.h"

using testrun::run_marovin_in;

namespace {

// The two figures of a console line "<prefix>a --> b".
bool console_pair(const std::string& console, const std::string& prefix, double& a, double& b) {
    std::istringstream in(console);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0) continue;
        std::istringstream fields(line.substr(prefix.size()));
        std::string arrow;
        return static_cast<bool>(fields >> a >> arrow >> b) && arrow == "-->";
    }
    return false;
}

void expect_close(double console, double json, const std::string& what) {
    // The console rounds to its precision (six digits unless a pass raised it).
    EXPECT_NEAR(console, json, 1e-5 * std::max(1.0, std::abs(console))) << what;
}

JsonValue parsed(const std::string& text) {
    JsonValue v;
    std::string error;
    EXPECT_TRUE(parse_json(text, v, error)) << error << "\n" << text;
    return v;
}

bool python_accepts_json(const std::string& dir, const std::string& file) {
    std::string output;
    return testenv::run_command(
               dir, "python3 -c 'import json,sys; json.load(open(sys.argv[1]))' " + file, output) ==
           0;
}

bool have_python(const std::string& dir) {
    std::string output;
    return testenv::run_command(dir, "command -v python3", output) == 0;
}

std::string without_time(const std::string& console) {
    return console.substr(0, console.find(" ***Synthesis Time="));
}

std::map<std::string, long> gate_lines(const std::string& netlist) {
    std::map<std::string, long> counts;
    std::istringstream in(netlist);
    bool gates = false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream tokens(line);
        std::string key;
        if (!(tokens >> key) || key == "#") continue;
        if (key == ".begin")
            gates = true;
        else if (key == ".end")
            break;
        else if (gates)
            ++counts[key];
    }
    return counts;
}

void expect_counts(const JsonValue& counts, const std::map<std::string, long>& expected) {
    ASSERT_EQ(counts.kind, JsonValue::Kind::Object);
    EXPECT_EQ(counts.object.size(), expected.size());
    for (const auto& [kind, n] : expected) EXPECT_EQ(counts.number_at({kind}, -1), n) << kind;
}

struct ReportCase {
    const char* name;
    const char* example;
    const char* arguments;  // after the file names
};
void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.name;
}

class JsonReport : public testing::TestWithParam<ReportCase> {};

TEST_P(JsonReport, FiguresEqualTheConsoleAndTheRunIsUnchanged) {
    const ReportCase& c = GetParam();
    const std::string dir = testrun::scratch_with_example("json", c.example);
    if (std::filesystem::exists(
            testenv::source_path(std::string("examples/") + c.example + ".layout")))
        testenv::write_file(dir + "/in.txt.layout",
                            testenv::read_file(testenv::source_path(std::string("examples/") +
                                                                    c.example + ".layout")));
    const testrun::Run plain = run_marovin_in(dir, std::string("in.txt plain.txt ") + c.arguments);
    ASSERT_EQ(plain.status, 0) << plain.output;
    const testrun::Run run =
        run_marovin_in(dir, std::string("--json r.json in.txt out.txt ") + c.arguments);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(without_time(run.output), without_time(plain.output));
    EXPECT_EQ(testenv::read_file(dir + "/out.txt"), testenv::read_file(dir + "/plain.txt"));

    const std::string text = testenv::read_file(dir + "/r.json");
    if (have_python(dir)) {
        EXPECT_TRUE(python_accepts_json(dir, "r.json")) << text;
    }
    const JsonValue j = parsed(text);

    struct Stage {
        const char* console;
        const char* json;
    };
    for (const Stage& s : {Stage{"nonFT Syn: ", "non_ft"}, Stage{"Post FT Syn: ", "post_ft"},
                           Stage{"Logical ", "logical"}}) {
        double ops_before, ops_after, cyc_before, cyc_after;
        const bool shown =
            console_pair(run.output, std::string(s.console) + "#ops= ", ops_before, ops_after);
        const JsonValue* stage = j.find(s.json);
        ASSERT_NE(stage, nullptr) << s.json;
        EXPECT_EQ(shown, stage->kind == JsonValue::Kind::Object) << s.json;
        if (!shown) continue;
        ASSERT_TRUE(
            console_pair(run.output, std::string(s.console) + "#cyc= ", cyc_before, cyc_after));
        expect_close(ops_before, stage->number_at({"ops_before"}, NAN), s.json);
        expect_close(ops_after, stage->number_at({"ops_after"}, NAN), s.json);
        expect_close(cyc_before, stage->number_at({"cycles_before"}, NAN), s.json);
        expect_close(cyc_after, stage->number_at({"cycles_after"}, NAN), s.json);
    }
    const bool forward = run.output.find("Forward is better!") != std::string::npos;
    ASSERT_NE(j.find("winner"), nullptr);
    EXPECT_EQ(j.find("winner")->string, forward ? "forward" : "backward");
    std::istringstream hits(run.output.substr(run.output.find("Cache hit: ") + 11));
    int h = -1;
    hits >> h;
    EXPECT_EQ(j.number_at({"cache", "hits"}, -1), h);
    EXPECT_GE(j.number_at({"seconds"}, -1), 0);
    expect_counts(*j.find("gate_counts")->find("input"),
                  gate_lines(testenv::read_file(dir + "/in.txt")));
    expect_counts(*j.find("gate_counts")->find("output"),
                  gate_lines(testenv::read_file(dir + "/out.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, JsonReport,
    testing::Values(ReportCase{"Default", "ghz5.txt", ""}, ReportCase{"SC", "qft4.txt", "SC"},
                    ReportCase{"Converted", "qft4.txt", "IT 0.01"},
                    ReportCase{"ConvertedWithCode", "adder2.txt", "NA 0.01 0 1 1"},
                    ReportCase{"Adder4", "adder4.txt", "QD"}),
    [](const testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.name); });

TEST(JsonReport, SettingsAreRecorded) {
    const std::string dir = testrun::scratch_with_example("json_settings", "ghz5.txt");
    ASSERT_EQ(run_marovin_in(dir, "--json r.json in.txt out.txt LP 0").status, 0);
    const JsonValue j = parsed(testenv::read_file(dir + "/r.json"));
    EXPECT_EQ(j.number_at({"settings", "optimise"}, 0), 1);
    ASSERT_EQ(run_marovin_in(dir, "--optimise 2 --json r2.json in.txt out.txt LP 0").status, 0);
    EXPECT_EQ(parsed(testenv::read_file(dir + "/r2.json")).number_at({"settings", "optimise"}, 0),
              2);
    EXPECT_EQ(j.find("input")->string, "in.txt");
    EXPECT_EQ(j.find("output")->string, "out.txt");
    EXPECT_EQ(j.find("settings")->find("pmd")->string, "LP");
    EXPECT_EQ(j.find("settings")->find("code")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(j.find("post_ft")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(j.find("cache")->find("hit_rate_percent")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(j.find("settings")->find("ft_method")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(j.find("unconverted_rotations")->number, 0);
    EXPECT_TRUE(j.find("angle_log_complete")->boolean);
}

// The settings name the conversion method; ft_mode stays as given (0 for grid).
TEST(JsonReport, SettingsNameTheMethod) {
    const std::string dir = testrun::scratch_with_example("json_method", "ghz5.txt");
    const struct {
        const char* tail;
        const char* method;
        double mode;
    } cases[] = {
        {"0.01 grid", "grid", 0}, {"0.01 0", "exhaustive", 0}, {"0.01 2", "solovay-kitaev", 2}};
    for (const auto& c : cases) {
        ASSERT_EQ(
            run_marovin_in(dir, std::string("--json r.json in.txt out.txt CTL ") + c.tail).status,
            0);
        const JsonValue j = parsed(testenv::read_file(dir + "/r.json"));
        EXPECT_EQ(j.find("settings")->find("ft_method")->string, c.method) << c.tail;
        EXPECT_EQ(j.find("settings")->find("ft_mode")->number, c.mode) << c.tail;
    }
}

struct BadJson {
    const char* name;
    const char* arguments;
    const char* message;
};
void PrintTo(const BadJson& c, std::ostream* os) {
    *os << c.name;
}

class JsonReportRefused : public testing::TestWithParam<BadJson> {};

// A run whose files would meet is refused before any work: no output, the input and the data
// files as they were.
TEST_P(JsonReportRefused, NothingIsWritten) {
    const std::string dir = testrun::scratch_with_example("json_bad", "ghz5.txt");
    std::filesystem::create_directory(dir + "/sub");
    std::filesystem::create_symlink("out.txt", dir + "/dangling.txt");
    std::filesystem::create_symlink("FT_table.txt", dir + "/table_link.txt");
    const std::string table = testenv::read_file(dir + "/FT_table.txt");
    const testrun::Run run = run_marovin_in(dir, GetParam().arguments);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(GetParam().message), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("read input file="), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir + "/out.txt"));
    EXPECT_EQ(testenv::read_file(dir + "/in.txt"),
              testenv::read_file(testenv::source_path("examples/ghz5.txt")));
    EXPECT_EQ(testenv::read_file(dir + "/FT_table.txt"), table);
}

INSTANTIATE_TEST_SUITE_P(
    Options, JsonReportRefused,
    testing::Values(
        BadJson{"NoFile", "--json", "needs a file name"},
        BadJson{"MissingFolder", "--json no/such/r.json in.txt out.txt",
                "Cannot write the JSON report: no/such/r.json (No such file or directory)"},
        BadJson{"OverOutput", "--json out.txt in.txt out.txt",
                "The JSON report would overwrite the output file: out.txt"},
        BadJson{"OverOutputDotted", "--json ./out.txt in.txt out.txt",
                "would overwrite the output file"},
        BadJson{"OverOutputThroughParent", "--json sub/../out.txt in.txt out.txt",
                "would overwrite the output file"},
        BadJson{"DanglingLinkToOutput", "--json dangling.txt in.txt out.txt",
                "would overwrite the output file"},
        BadJson{"OutputThroughDanglingLink", "--json out.txt in.txt dangling.txt",
                "The JSON report would overwrite the output file: out.txt"},
        BadJson{"OverInput", "--json in.txt in.txt out.txt",
                "The JSON report would overwrite the input file: in.txt"},
        BadJson{"OverDataFile", "--json sub/../CostGateCount.txt in.txt out.txt",
                "would overwrite the data file CostGateCount.txt"},
        BadJson{"OutputThroughLinkToData", "in.txt table_link.txt",
                "The output file would overwrite the data file FT_table.txt: table_link.txt"},
        BadJson{"OutputOverSideFile", "in.txt ft_angle_analysis.txt CTL 0.1",
                "would overwrite the output file"},
        BadJson{"ReportOverLayout", "--json in.txt.layout in.txt out.txt CTL 0 0 0 1",
                "The JSON report would overwrite the layout file: in.txt.layout"}),
    [](const testing::TestParamInfo<BadJson>& info) { return std::string(info.param.name); });

// A report that cannot be written fails the run before the output is replaced; the cause is
// named.
TEST(JsonReport, UnwritableReportKeepsTheEarlierOutput) {
    const std::string dir = testrun::scratch_with_example("json_full", "ghz5.txt");
    testenv::write_file(dir + "/out.txt", "earlier\n");
    const auto entries = [&] {
        return std::distance(std::filesystem::directory_iterator(dir),
                             std::filesystem::directory_iterator());
    };
    const auto before = entries();
    const testrun::Run run = run_marovin_in(dir, "--json /dev/full in.txt out.txt");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(testrun::has_line(
        run.output, "Writing the JSON report failed: /dev/full (No space left on device)"))
        << run.output;
    EXPECT_EQ(testenv::read_file(dir + "/out.txt"), "earlier\n");
    EXPECT_EQ(entries(), before) << "a temporary was left behind";
}

}  // namespace
