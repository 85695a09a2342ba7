#pragma once
// Test environment: every test executable runs in a scratch folder (build/testrun) into which
// the shipped data files are copied before the first test, since the program reads
// "CostGateCount.txt" and "FT_table.txt" from the working directory.

#include <string>

namespace testenv {

/// Absolute path of a file of the source tree, e.g. source_path("examples/adder.txt").
std::string source_path(const std::string& relative);

/// The folder of the shared benchmark circuits beside the source tree (ending in '/'), found by
/// one circuit file it holds (e.g. "qc/tof_3.txt"); "" when there is none.
std::string shared_bench_folder(const std::string& probe);

/// Writes `text` to `path` (replacing it).
void write_file(const std::string& path, const std::string& text);

/// Whole contents of a file ("" if it cannot be read).
std::string read_file(const std::string& path);

/// Creates a fresh empty folder under the working directory, holding copies of the shipped data
/// files when `with_data` is true; returns its path.
std::string make_scratch_dir(const std::string& name, bool with_data = true);

/// Runs a shell command in `dir`; returns the exit status and fills `output` with stdout+stderr.
int run_command(const std::string& dir, const std::string& command, std::string& output);

}  // namespace testenv
