// The files of a run are compared by what they will name once written: the resolved folder, the
// name, the links that lead on from it and the inode of an existing file.

#include "driver/run_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_env.h"
#include "support/test_names.h"

namespace fs = std::filesystem;

namespace {

struct SamePlace {
    const char* name;
    const char* written;
    const char* other;
    bool same;
};
void PrintTo(const SamePlace& c, std::ostream* os) {
    *os << c.name;
}

class NamesSameFile : public testing::TestWithParam<SamePlace> {};

TEST_P(NamesSameFile, AsTheSystemWouldWrite) {
    const std::string dir =
        testenv::make_scratch_dir(testnames::unique_name("run_files"), false) + "/";
    fs::create_directory(dir + "sub");
    fs::create_directory_symlink("sub", dir + "linked");
    fs::create_symlink("o.txt", dir + "dangling");
    fs::create_symlink("dangling", dir + "chain");
    testenv::write_file(dir + "f.txt", "x");
    fs::create_hard_link(dir + "f.txt", dir + "hard.txt");
    const auto at = [&](const std::string& p) { return p[0] == '/' ? p : dir + p; };
    EXPECT_EQ(names_same_file(at(GetParam().written), at(GetParam().other)), GetParam().same);
    EXPECT_EQ(names_same_file(at(GetParam().other), at(GetParam().written)), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, NamesSameFile,
    testing::Values(SamePlace{"Dotted", "./o.txt", "o.txt", true},
                    SamePlace{"ThroughParent", "sub/../o.txt", "o.txt", true},
                    SamePlace{"LinkedFolder", "linked/o.txt", "sub/o.txt", true},
                    SamePlace{"ParentOfLinkedFolder", "linked/../o.txt", "o.txt", true},
                    SamePlace{"DanglingLink", "dangling", "o.txt", true},
                    SamePlace{"ChainOfLinks", "chain", "sub/../o.txt", true},
                    SamePlace{"HardLink", "hard.txt", "f.txt", true},
                    SamePlace{"OtherName", "o.txt", "f.txt", false},
                    SamePlace{"OtherFolder", "sub/o.txt", "o.txt", false},
                    SamePlace{"DeviceWrittenTwice", "/dev/null", "/dev/null", false}),
    [](const testing::TestParamInfo<SamePlace>& info) { return std::string(info.param.name); });

}  // namespace
