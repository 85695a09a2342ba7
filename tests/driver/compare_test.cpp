// marovin compare: the eight rows are the figures of eight separate runs, the side files of the
// runs stay apart, and the CSV, SVG and output files are written where asked and nowhere else.

#include "driver/compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/gate.h"
#include "driver/json_value.h"
#include "support/program_run.h"
#include "support/xml_check.h"

namespace fs = std::filesystem;
using testrun::run_marovin_in;

namespace {

constexpr PMD_type kDescriptions[] = {QD, SC, IT, NA, LP, NP, CTL, FTS};

// A scratch folder holding the example (and its layout) as in.txt.
std::string scratch_with(const std::string& name, const std::string& example) {
    const std::string dir = testrun::scratch_with_example(name, example);
    testenv::write_file(
        dir + "/in.txt.layout",
        testenv::read_file(testenv::source_path("examples/" + example + ".layout")));
    return dir;
}

std::vector<std::vector<std::string>> csv_rows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream f(line);
        for (std::string field; std::getline(f, field, ',');) fields.push_back(field);
        if (!line.empty() && line.back() == ',') fields.push_back("");
        rows.push_back(fields);
    }
    return rows;
}

bool python_parses_xml(const std::string& dir, const std::string& file) {
    std::string output;
    if (testenv::run_command(dir, "command -v python3", output) != 0) return true;
    return testenv::run_command(
               dir, "python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' " + file,
               output) == 0;
}

TEST(Compare, RowsEqualSeparateRunsAndSideFilesStayApart) {
    const std::string dir = scratch_with("compare", "adder2.txt");
    const std::string numbers = " 0.01 0 1 1";
    const testrun::Run run =
        run_marovin_in(dir, "compare --csv t.csv in.txt" + numbers + " --svg t.svg --out runs");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(fs::exists(dir + "/FT_before_converted.txt"));
    EXPECT_FALSE(fs::exists(dir + "/ft_angle_analysis.txt"));

    const auto rows = csv_rows(testenv::read_file(dir + "/t.csv"));
    ASSERT_EQ(rows.size(), 9u);
    const std::vector<std::string>& header = rows[0];
    ASSERT_EQ(header.front(), "description");

    for (size_t i = 0; i < std::size(kDescriptions); ++i) {
        const std::string pmd = pmd_keyword(kDescriptions[i]);
        SCOPED_TRACE(pmd);
        const std::vector<std::string>& row = rows[i + 1];
        ASSERT_EQ(row.size(), header.size());
        EXPECT_EQ(row[0], pmd);
        EXPECT_EQ(row[header.size() - 2], "ok");

        // The same run on its own, in a folder of its own.
        const std::string alone = scratch_with("compare_alone_" + pmd, "adder2.txt");
        ASSERT_EQ(run_marovin_in(alone, "--json r.json in.txt out.txt " + pmd + numbers).status, 0);
        JsonValue report;
        std::string error;
        ASSERT_TRUE(parse_json(testenv::read_file(alone + "/r.json"), report, error)) << error;
        for (size_t c = 1; c + 3 < header.size(); ++c) {
            const std::string& column = header[c];
            std::string stage = "non_ft", key = column;
            for (const char* prefix : {"ft_", "logical_"}) {
                if (column.rfind(prefix, 0) != 0) continue;
                stage = prefix == std::string("ft_") ? "post_ft" : "logical";
                key = column.substr(std::string(prefix).size());
            }
            EXPECT_EQ(std::stod(row[c]), report.number_at({stage, key}, -1)) << column;
        }
        const std::string folder = dir + "/runs/" + pmd;
        EXPECT_EQ(testenv::read_file(folder + "/in.txt"), testenv::read_file(alone + "/out.txt"));
        for (const char* side : {"FT_before_converted.txt", "ft_angle_analysis.txt"}) {
            EXPECT_EQ(testenv::read_file(folder + "/" + side),
                      testenv::read_file(alone + "/" + side))
                << side;
        }
        EXPECT_FALSE(fs::exists(folder + "/CostGateCount.txt")) << "data link left behind";
    }

    // The table: a header and eight aligned rows.
    std::istringstream table(run.output.substr(run.output.find("\ndescription  ") + 1));
    std::vector<std::string> lines;
    for (std::string line; std::getline(table, line) && lines.size() < 9;) lines.push_back(line);
    ASSERT_EQ(lines.size(), 9u);
    for (const std::string& line : lines) EXPECT_EQ(line.size(), lines[0].size()) << line;
    // Each row shows the figures of its CSV row: description, then every before -> after pair.
    for (size_t i = 1; i < lines.size(); ++i) {
        std::istringstream cells(lines[i]);
        std::vector<std::string> shown;
        for (std::string cell; cells >> cell;)
            if (cell != "->") shown.push_back(cell);
        ASSERT_EQ(shown.size(), 14u) << lines[i];  // 13 fields and the seconds
        shown.pop_back();                          // seconds: rounded in the table
        EXPECT_EQ(shown, std::vector<std::string>(rows[i].begin(), rows[i].begin() + 13))
            << lines[i];
    }

    const std::string svg = testenv::read_file(dir + "/t.svg");
    EXPECT_EQ(testxml::well_formedness_problem(svg), "") << svg;
    EXPECT_TRUE(python_parses_xml(dir, "t.svg"));
    for (const PMD_type pmd : kDescriptions)
        EXPECT_NE(svg.find(std::string(">") + pmd_keyword(pmd) + "<"), std::string::npos);
}

TEST(Compare, HandsTheOptimisationLevelToEveryRun) {
    const std::string dir = scratch_with("compare_optimise", "adder2.txt");
    const testrun::Run run = run_marovin_in(dir, "compare --optimise 2 --out runs in.txt");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const PMD_type pmd : kDescriptions) {
        const std::string folder = dir + "/runs/" + pmd_keyword(pmd);
        JsonValue report;
        std::string error;
        ASSERT_TRUE(parse_json(testenv::read_file(folder + "/report.json"), report, error))
            << error;
        EXPECT_EQ(report.number_at({"settings", "optimise"}, 0), 2) << pmd_keyword(pmd);
    }
    const std::string alone = scratch_with("compare_optimise_alone", "adder2.txt");
    ASSERT_EQ(run_marovin_in(alone, "--optimise 2 in.txt out.txt CTL").status, 0);
    EXPECT_EQ(testenv::read_file(dir + "/runs/CTL/in.txt"), testenv::read_file(alone + "/out.txt"));
}

TEST(Compare, WithoutOutWritesNothingButTheTable) {
    const std::string dir = scratch_with("compare_plain", "ghz5.txt");
    fs::create_directories(dir + "/tmp");
    const std::vector<std::string> before = {"CostGateCount.txt", "FT_table.txt", "in.txt",
                                             "in.txt.layout", "tmp"};
    const testrun::Run run =
        run_marovin_in(dir, "TMPDIR=tmp; export TMPDIR; '" MAROVIN_BINARY "' compare in.txt 0.1");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> after;
    for (const auto& entry : fs::directory_iterator(dir)) after.push_back(entry.path().filename());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
    EXPECT_TRUE(fs::is_empty(dir + "/tmp"));
    EXPECT_NE(run.output.find("post-FT ops before -> after"), std::string::npos) << run.output;
}

TEST(Compare, FailedRunsShowTheirMessageAndEndWithStatusOne) {
    // A code without a layout file fails on every description.
    const std::string dir = testrun::scratch_with_example("compare_failed", "ghz5.txt");
    const testrun::Run run = run_marovin_in(dir, "compare --csv t.csv in.txt 0.1 0 1 1");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("FTS          failed: cannot find qubit layout information"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Error: 8 of 8 descriptions failed"), std::string::npos);
    const auto rows = csv_rows(testenv::read_file(dir + "/t.csv"));
    ASSERT_EQ(rows.size(), 9u);
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i][rows[0].size() - 2], "failed");
}

TEST(Compare, InterruptedCompareRemovesItsTemporaryFolder) {
    const std::string dir = scratch_with("compare_interrupted", "qft4.txt");
    fs::create_directories(dir + "/tmp");
    // A precision that keeps the first run searching for a long time; the signal is sent once
    // that run has started.
    const std::string script =
        "TMPDIR=tmp; export TMPDIR; '" MAROVIN_BINARY
        "' compare in.txt 0.00001 >log.txt 2>&1 & "
        "p=$!; for i in $(seq 100); do ls tmp/*/QD/console.txt >/dev/null 2>&1 && break; "
        "sleep 0.1; done; kill -TERM $p; wait $p; echo status=$?";
    std::string output;
    testenv::run_command(dir, script, output);
    EXPECT_NE(output.find("status=143"), std::string::npos) << output;
    EXPECT_TRUE(fs::is_empty(dir + "/tmp")) << "temporary folder left behind";
}

// A second compare into the same --out folder replaces the files the first one wrote and
// nothing else; a file compare did not write there stops it before any run.
TEST(Compare, RerunReplacesOnlyItsOwnFiles) {
    const std::string dir = scratch_with("compare_rerun", "ghz5.txt");
    ASSERT_EQ(run_marovin_in(dir, "compare --out runs in.txt 0.1").status, 0);
    ASSERT_TRUE(fs::exists(dir + "/runs/QD/FT_before_converted.txt"));
    const testrun::Run again = run_marovin_in(dir, "compare --out runs in.txt");
    ASSERT_EQ(again.status, 0) << again.output;
    for (const PMD_type pmd : kDescriptions) {
        const std::string folder = dir + "/runs/" + pmd_keyword(pmd);
        EXPECT_FALSE(fs::exists(folder + "/FT_before_converted.txt")) << "an earlier side file";
        EXPECT_FALSE(fs::exists(folder + "/ft_angle_analysis.txt"));
        EXPECT_EQ(testenv::read_file(folder + "/console.txt").find("FT threshold"),
                  std::string::npos);
    }
    testenv::write_file(dir + "/runs/SC/notes.txt", "mine");
    const testrun::Run refused = run_marovin_in(dir, "compare --out runs in.txt");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("runs/SC holds notes.txt, which compare did not write there"),
              std::string::npos)
        << refused.output;
    EXPECT_EQ(testenv::read_file(dir + "/runs/SC/notes.txt"), "mine");
    EXPECT_TRUE(fs::exists(dir + "/runs/QD/console.txt")) << "nothing removed before refusing";
}

// While one compare works in a folder, another is refused; a killed compare takes its running
// description with it.
TEST(Compare, BusyFolderIsRefusedAndChildrenDieWithTheirParent) {
    const std::string dir = scratch_with("compare_busy", "qft4.txt");
    const std::string script =
        "true; '" MAROVIN_BINARY
        "' compare --out runs in.txt 0.00001 >a.log 2>&1 & p=$!; "
        "for i in $(seq 100); do test -e runs/QD/console.txt && break; sleep 0.1; done; "
        "'" MAROVIN_BINARY
        "' compare --out runs in.txt; echo second=$?; "
        "c=$(cat /proc/$p/task/$p/children); kill -KILL $p; "
        "for i in $(seq 50); do test -e /proc/$c || break; "
        "grep -q zombie /proc/$c/status 2>/dev/null && break; sleep 0.1; done; "
        "if test -e /proc/$c && ! grep -q zombie /proc/$c/status; then echo orphan; "
        "kill -KILL $c; fi";
    std::string output;
    testenv::run_command(dir, script, output);
    EXPECT_NE(output.find("runs is in use by another compare"), std::string::npos) << output;
    EXPECT_NE(output.find("second=1"), std::string::npos) << output;
    EXPECT_EQ(output.find("orphan"), std::string::npos) << output;
}

// Signals the program was started to ignore (nohup, a background job of a script) stay ignored:
// the comparison runs to its end.
TEST(Compare, IgnoredSignalsDoNotCutTheTableShort) {
    const std::string dir = scratch_with("compare_ignored", "qft4.txt");
    const std::string script =
        "true; trap '' HUP INT QUIT; '" MAROVIN_BINARY
        "' compare --csv t.csv in.txt 0.01 >log.txt 2>&1 & p=$!; "
        "while kill -0 $p 2>/dev/null; do kill -HUP $p; kill -INT $p; kill -QUIT $p; "
        "sleep 0.02; done 2>/dev/null; wait $p; echo status=$?";
    std::string output;
    testenv::run_command(dir, script, output);
    EXPECT_NE(output.find("status=0"), std::string::npos) << output;
    EXPECT_EQ(csv_rows(testenv::read_file(dir + "/t.csv")).size(), 9u);
}

// With no room for the runs' files (a file size limit stands in for a full disk) every row
// names the cause, and compare fails.
TEST(Compare, FullDiskNamesTheCause) {
    const std::string dir = scratch_with("compare_full", "ghz5.txt");
    fs::create_directories(dir + "/tmp");
    std::string output;
    testenv::run_command(
        dir,
        "((trap '' XFSZ; ulimit -f 0; TMPDIR=tmp; export TMPDIR; exec '" MAROVIN_BINARY
        "' compare in.txt); echo status=$?) | cat",
        output);
    EXPECT_NE(output.find("status=1"), std::string::npos) << output;
    EXPECT_TRUE(testrun::has_line(
        output,
        "QD           failed: Writing the JSON report failed: report.json (File too large) "
        "(console.txt: File too large)"))
        << output;
    EXPECT_TRUE(fs::is_empty(dir + "/tmp"));
}

struct BadCompare {
    const char* name;
    const char* arguments;
    const char* message;
};
void PrintTo(const BadCompare& c, std::ostream* os) {
    *os << c.name;
}

class CompareRefused : public testing::TestWithParam<BadCompare> {};

// Refused with one message; the input, the data files and every file it did not write are as
// they were.
TEST_P(CompareRefused, OneMessageAndExitOne) {
    const std::string dir = scratch_with("compare_bad", "ghz5.txt");
    fs::create_symlink("in.txt", dir + "/link.txt");
    fs::create_directory(dir + "/here");
    fs::create_directory_symlink("..", dir + "/here/QD");
    fs::create_directories(dir + "/held/SC");
    testenv::write_file(dir + "/held/SC/FT_table.txt", "mine");
    fs::create_directories(dir + "/foreign/NA");
    testenv::write_file(dir + "/foreign/NA/notes.txt", "mine");
    const std::string input = testenv::read_file(dir + "/in.txt");
    const std::string table = testenv::read_file(dir + "/FT_table.txt");
    const testrun::Run run = run_marovin_in(dir, GetParam().arguments);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(GetParam().message), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir + "/t.csv"));
    EXPECT_EQ(testenv::read_file(dir + "/in.txt"), input);
    EXPECT_EQ(testenv::read_file(dir + "/FT_table.txt"), table);
    EXPECT_TRUE(fs::is_symlink(dir + "/FT_table.txt") ||
                fs::is_regular_file(dir + "/FT_table.txt"));
    EXPECT_EQ(testenv::read_file(dir + "/held/SC/FT_table.txt"), "mine");
    EXPECT_EQ(testenv::read_file(dir + "/foreign/NA/notes.txt"), "mine");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CompareRefused,
    testing::Values(
        BadCompare{"NoInput", "compare --csv t.csv", "Format: compare"},
        BadCompare{"TooMany", "compare in.txt 0 0 0 1 2", "Format: compare"},
        BadCompare{"Missing", "compare --csv t.csv nothere.txt",
                   "Cannot read input file: nothere.txt"},
        BadCompare{"UnknownOption", "compare --pdf t.pdf in.txt",
                   "Unknown option of compare: --pdf"},
        BadCompare{"OptionWithoutValue", "compare in.txt --csv", "needs a value"},
        BadCompare{"BadThreshold", "compare --csv t.csv in.txt nan",
                   "The threshold must be a finite number"},
        BadCompare{"DescriptionForThreshold", "compare --csv t.csv in.txt CTL",
                   "compare: the threshold must be a number: CTL (compare runs every machine "
                   "description; name none)"},
        BadCompare{"WordForLevel", "compare --csv t.csv in.txt 0.1 0 1 one",
                   "compare: the level must be a number: one"},
        BadCompare{"UnwritableCsv", "compare --csv no/such/t.csv in.txt",
                   "Cannot write no/such/t.csv (No such file or directory)"},
        BadCompare{"FullCsv", "compare --csv /dev/full in.txt",
                   "Cannot write /dev/full (No space left on device)"},
        BadCompare{"SvgOverCsv", "compare --csv t.csv --svg ./t.csv in.txt",
                   "The SVG chart would overwrite the CSV table: ./t.csv"},
        BadCompare{"CsvOverInput", "compare --csv in.txt in.txt",
                   "The CSV table would overwrite the input file: in.txt"},
        BadCompare{"SvgThroughLinkToInput", "compare --svg link.txt in.txt",
                   "The SVG chart would overwrite the input file: link.txt"},
        BadCompare{"CsvOverDataFile", "compare --csv held/../FT_table.txt in.txt",
                   "would overwrite the data file FT_table.txt"},
        BadCompare{"CsvOverRunConsole", "compare --out runs --csv runs/QD/console.txt in.txt",
                   "The CSV table would overwrite the QD run's console.txt"},
        BadCompare{"RunFolderIsTheWorkingFolder", "compare --out here in.txt",
                   "here/QD is the working folder"},
        BadCompare{"RunFolderWithADataFile", "compare --out held in.txt",
                   "held/SC holds a data file of its own"},
        BadCompare{"RunFolderWithAForeignFile", "compare --out foreign in.txt",
                   "foreign/NA holds notes.txt, which compare did not write there"}),
    [](const testing::TestParamInfo<BadCompare>& info) { return std::string(info.param.name); });

}  // namespace
