// Golden console reports of the marovin executable on shipped examples. The run time line is
// masked. The figures change whenever a pass or a price changes: refresh the files with
//   MAROVIN_UPDATE_GOLDEN=1 ctest -R GoldenReport      (from the build folder)
// and review the diff before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "support/program_run.h"
#include "support/test_env.h"

namespace {

struct GoldenCase {
    const char* name;  // golden file tests/golden/<name>.txt
    const char* example;
    const char* arguments;
};

std::string mask_time(const std::string& report) {
    std::istringstream in(report);
    std::string masked;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(" ***Synthesis Time=", 0) == 0) line = " ***Synthesis Time=<masked>***";
        masked += line + "\n";
    }
    return masked;
}

class GoldenReport : public testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenReport, ConsoleReportMatches) {
    const GoldenCase& c = GetParam();
    const std::string dir = testrun::scratch_with_example("golden", c.example, c.example);
    auto run = testrun::run_marovin_in(dir, c.arguments);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string report = mask_time(run.output);
    const std::string golden = testenv::source_path(std::string("tests/golden/") + c.name + ".txt");
    if (std::getenv("MAROVIN_UPDATE_GOLDEN") != nullptr) testenv::write_file(golden, report);
    EXPECT_EQ(report, testenv::read_file(golden))
        << "refresh with MAROVIN_UPDATE_GOLDEN=1 if the change is intended";
}

INSTANTIATE_TEST_SUITE_P(
    Examples, GoldenReport,
    testing::Values(GoldenCase{"ghz5_default", "ghz5.txt", "ghz5.txt out.txt"},
                    GoldenCase{"qft4_SC", "qft4.txt", "qft4.txt out.txt SC"},
                    GoldenCase{"adder2_NA_code3", "adder2.txt", "adder2.txt out.txt NA 0 0 3"}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

}  // namespace
