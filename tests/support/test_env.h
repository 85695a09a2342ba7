#pragma once
// Test environment: every test executable runs in a scratch folder of the build tree
// (build/testrun) into which the shipped data files are copied before the first test, since the
// program reads "CostGateCount.txt" and "FT_table.txt" from the working directory. The folder is
// entered before the first test wherever the executable was started, so that no test writes
// into the source tree.

#include <string>

namespace testenv {

/// Absolute path of a file of the source tree, e.g. source_path("examples/adder.txt").
std::string source_path(const std::string& relative);

/// Writes `text` to `path` (replacing it).
void write_file(const std::string& path, const std::string& text);

/// Whole contents of a file ("" if it cannot be read).
std::string read_file(const std::string& path);

/// Creates a fresh empty folder under the working directory, holding copies of the shipped data
/// files when `with_data` is true; returns its path.
std::string make_scratch_dir(const std::string& name, bool with_data = true);

/// The shared benchmark folder (".../shared/bench/", ending in a slash) when it lies beside the
/// source tree or beside the folder holding it (a work tree); "" when it is absent.
std::string shared_bench_folder();

/// \brief Enters a folder for its lifetime and returns to the previous working directory on
/// destruction (also when an assertion leaves the test early). Fails the test if either change
/// of folder fails.
class ScopedDirectory {
  public:
    explicit ScopedDirectory(const std::string& dir);
    ~ScopedDirectory() { leave(); }
    /// Returns to the previous folder now (once; the destructor then does nothing).
    void leave();
    ScopedDirectory(const ScopedDirectory&) = delete;
    ScopedDirectory& operator=(const ScopedDirectory&) = delete;

  private:
    std::string previous_;
    bool inside_ = true;
};

/// Runs a shell command in `dir`; returns the exit status and fills `output` with stdout+stderr.
int run_command(const std::string& dir, const std::string& command, std::string& output);

}  // namespace testenv
