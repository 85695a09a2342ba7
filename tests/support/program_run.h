#pragma once
// Running the marovin executable in a scratch folder (MAROVIN_BINARY is its path, defined for
// every test executable).

#include <string>

#include "support/test_env.h"
#include "support/test_names.h"

namespace testrun {

struct Run {
    int status = -1;
    std::string output;  // standard output and error
};

/// \brief Copies the shipped example `example` (a file name under examples/) into a fresh
/// scratch folder named after `scratch` and the running test, as `as`; returns the folder.
inline std::string scratch_with_example(const std::string& scratch, const std::string& example,
                                        const std::string& as = "in.txt") {
    const std::string dir = testenv::make_scratch_dir(testnames::unique_name(scratch));
    testenv::write_file(dir + "/" + as,
                        testenv::read_file(testenv::source_path("examples/" + example)));
    return dir;
}

/// \brief Runs marovin with `arguments` in `dir`.
inline Run run_marovin_in(const std::string& dir, const std::string& arguments) {
    Run run;
    run.status =
        testenv::run_command(dir, std::string("'") + MAROVIN_BINARY + "' " + arguments, run.output);
    return run;
}

/// \brief True when `text` holds `line` as a whole line.
inline bool has_line(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace testrun
