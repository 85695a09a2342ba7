// The files of a run are compared by what they will name once written: the resolved folder, the
// name, the links that lead on from it and the inode of an existing file.

#include "driver/run_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/fatal_capture.h"
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

TEST(RunFiles, ClashNamesBothFilesAndTheWrittenPath) {
    const std::vector<RunFile> files{{"input file", "in.txt", FileUse::Read},
                                     {"data file FT_table.txt", "FT_table.txt", FileUse::Read},
                                     {"output file", "o.txt", FileUse::Written},
                                     {"JSON report", "./FT_table.txt", FileUse::Written}};
    EXPECT_EQ(testfatal::fatal_message([&] { refuse_clashing_files(files); }),
              "The JSON report would overwrite the data file FT_table.txt: ./FT_table.txt");
    // Two files read from one place are no clash.
    EXPECT_EQ(testfatal::fatal_message([&] {
                  refuse_clashing_files(
                      {{"input file", "FT_table.txt", FileUse::Read}, files[1], files[2]});
              }),
              "");
}

TEST(RunFiles, SideFilesAndLayoutOnlyWhenTheRunUsesThem) {
    Settings s;
    s.input_file = "in.txt";
    s.output_file = "o.txt";
    EXPECT_EQ(files_of_run(s).size(), 4u);  // input, two data files, output
    s.threshold = 0.1;
    s.code = qec_code1;
    s.json_file = "r.json";
    EXPECT_EQ(files_of_run(s).size(), 8u);
}

}  // namespace
