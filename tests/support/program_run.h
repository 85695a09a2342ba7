#pragma once
// Running the marovin executable in a scratch folder.

#include <gtest/gtest.h>

#include <string>

#include "support/test_env.h"

namespace drivertest {

struct Run {
    int status = -1;
    std::string output;  // standard output and error
};

/// A scratch folder name unique to the running test (ctest runs tests in parallel).
inline std::string unique_name(const std::string& base) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = base + "_" + info->test_suite_name() + "_" + info->name();
    for (char& ch : name)
        if (ch == '/' || ch == ' ') ch = '_';
    return name;
}

/// Copies the shipped example `example` (a file name under examples/) into a fresh scratch
/// folder as `as`, and returns the folder.
inline std::string scratch_with_example(const std::string& scratch, const std::string& example,
                                        const std::string& as = "in.txt") {
    const std::string dir = testenv::make_scratch_dir(unique_name(scratch));
    testenv::write_file(dir + "/" + as,
                        testenv::read_file(testenv::source_path("examples/" + example)));
    return dir;
}

/// Runs marovin with `arguments` in `dir`.
inline Run run_marovin_in(const std::string& dir, const std::string& arguments) {
    Run run;
    run.status =
        testenv::run_command(dir, std::string("'") + MAROVIN_BINARY + "' " + arguments, run.output);
    return run;
}

/// True when `text` holds `line` as a whole line.
inline bool has_line(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace drivertest
