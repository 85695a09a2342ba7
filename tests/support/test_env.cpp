#include "support/test_env.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace testenv {

std::string source_path(const std::string& relative) {
    return std::string(MAROVIN_SOURCE_DIR) + "/" + relative;
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

static void copy_data_files(const fs::path& dir) {
    for (const char* name : {"CostGateCount.txt", "FT_table.txt"}) {
        fs::path from = fs::path(MAROVIN_SOURCE_DIR) / "data" / name;
        if (!fs::exists(from)) continue;
        // Test processes run in parallel in the same folder: copy under a private name and
        // rename, so that no process ever reads a half-written data file.
        const fs::path temporary = dir / (std::string(name) + ".tmp" + std::to_string(getpid()));
        fs::copy_file(from, temporary, fs::copy_options::overwrite_existing);
        fs::rename(temporary, dir / name);
    }
}

std::string make_scratch_dir(const std::string& name, bool with_data) {
    fs::path dir = fs::current_path() / ("scratch_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (with_data) copy_data_files(dir);
    return dir.string();
}

std::string shared_bench_folder() {
    for (const char* up : {"../shared/bench/", "../../shared/bench/"}) {
        if (fs::exists(source_path(up) + "README.md")) return source_path(up);
    }
    return "";
}

ScopedDirectory::ScopedDirectory(const std::string& dir) : previous_(fs::current_path().string()) {
    std::error_code error;
    fs::current_path(dir, error);
    if (error) ADD_FAILURE() << "cannot enter " << dir << ": " << error.message();
}

void ScopedDirectory::leave() {
    if (!inside_) return;
    inside_ = false;
    std::error_code error;
    fs::current_path(previous_, error);
    if (error) ADD_FAILURE() << "cannot return to " << previous_ << ": " << error.message();
}

int run_command(const std::string& dir, const std::string& command, std::string& output) {
    std::string full = "cd '" + dir + "' && " + command + " 2>&1";
    output.clear();
    FILE* pipe = popen(full.c_str(), "r");
    if (pipe == nullptr) return -1;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {
class DataFilesEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        // The run folder of the build tree, whatever folder the executable was started in.
        const fs::path run_dir(MAROVIN_TEST_RUN_DIR);
        fs::create_directories(run_dir);
        fs::current_path(run_dir);
        copy_data_files(run_dir);
    }
};
const auto* const registered = ::testing::AddGlobalTestEnvironment(new DataFilesEnvironment);
}  // namespace

}  // namespace testenv
