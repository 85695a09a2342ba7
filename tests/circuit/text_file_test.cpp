// Whole-file output: complete or not at all, never leaving a temporary, and the target's kind
// and mode respected.

#include "circuit/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

std::string scratch(const std::string& name) {
    return testenv::make_scratch_dir("text_file_" + name, false);
}

size_t entries(const std::string& dir) {
    size_t n = 0;
    for (auto it = fs::directory_iterator(dir); it != fs::directory_iterator(); ++it) ++n;
    return n;
}

TEST(TextFileWrite, NewFileGetsTheUmaskModeAndNothingElseIsLeft) {
    const std::string dir = scratch("new");
    const mode_t mask = umask(022);
    EXPECT_EQ(write_text_file_atomically(dir + "/out.txt", "abc\n"), WriteStatus::Written);
    umask(mask);
    EXPECT_EQ(testenv::read_file(dir + "/out.txt"), "abc\n");
    EXPECT_EQ(fs::status(dir + "/out.txt").permissions() & fs::perms::all, fs::perms(0644));
    EXPECT_EQ(entries(dir), 1u);
}

TEST(TextFileWrite, FailuresLeaveTheTargetAndNoTemporary) {
    const std::string dir = scratch("fail");
    fs::create_directory(dir + "/folder");
    testenv::write_file(dir + "/folder/inside.txt", "kept");
    EXPECT_EQ(write_text_file_atomically(dir + "/folder", "x"), WriteStatus::OpenFailed);
    EXPECT_EQ(testenv::read_file(dir + "/folder/inside.txt"), "kept");
    EXPECT_EQ(write_text_file_atomically(dir + "/missing/out.txt", "x"), WriteStatus::OpenFailed);
    EXPECT_EQ(entries(dir), 1u);
    EXPECT_FALSE(output_path_writable(dir + "/folder"));
    EXPECT_FALSE(output_path_writable(dir + "/missing/out.txt"));
    EXPECT_TRUE(output_path_writable(dir + "/new.txt"));
    EXPECT_TRUE(output_path_writable("/dev/null"));
    EXPECT_EQ(entries(dir), 1u) << "the probe leaves nothing behind";
}

TEST(TextFileWrite, PendingTextReplacesNothingBeforeCommit) {
    const std::string dir = scratch("pending");
    testenv::write_file(dir + "/a.txt", "old a");
    {
        PendingTextFile a(dir + "/a.txt", "new a");
        PendingTextFile b(dir + "/b.txt", "new b");
        ASSERT_EQ(a.prepared(), WriteStatus::Written);
        ASSERT_EQ(b.prepared(), WriteStatus::Written);
        EXPECT_EQ(testenv::read_file(dir + "/a.txt"), "old a");
        EXPECT_EQ(a.commit(), WriteStatus::Written);
    }  // b is never committed
    EXPECT_EQ(testenv::read_file(dir + "/a.txt"), "new a");
    EXPECT_EQ(entries(dir), 1u) << "an uncommitted text leaves no temporary";
}

TEST(TextFileWrite, FailuresNameTheirCause) {
    const std::string dir = scratch("cause");
    EXPECT_EQ(write_text_file_atomically(dir + "/missing/out.txt", "x"), WriteStatus::OpenFailed);
    EXPECT_EQ(write_failure_cause(), "No such file or directory");
    EXPECT_EQ(write_text_file_atomically(dir, "x"), WriteStatus::OpenFailed);
    EXPECT_EQ(write_failure_cause(), "Is a directory");
    PendingTextFile full("/dev/full", "x");
    EXPECT_EQ(full.prepared(), WriteStatus::Written);  // a device is written by commit
    EXPECT_EQ(full.commit(), WriteStatus::WriteFailed);
    EXPECT_EQ(write_failure_cause(), "No space left on device");
}

TEST(TextFileAppend, FoldersAreNotAppendableFilesAndNothingIsCreated) {
    const std::string dir = scratch("append");
    fs::create_directory(dir + "/log.txt");
    testenv::write_file(dir + "/plain.txt", "");
    EXPECT_FALSE(appendable_file(dir + "/log.txt"));
    EXPECT_TRUE(appendable_file(dir + "/plain.txt"));
    EXPECT_TRUE(appendable_file(dir + "/absent.txt"));
    EXPECT_FALSE(appendable_file(dir + "/missing/absent.txt"));
    EXPECT_FALSE(fs::exists(dir + "/absent.txt"));
}

// Reading within bounds: a file of unknown size is never held whole when it passes them.
TEST(TextFileRead, BoundsStopAtTheFirstLongLineOrRefuseTooManyBytes) {
    const std::string dir = scratch("read");
    const std::string path = dir + "/in.txt";
    std::string text;
    ReadBounds lines;
    lines.line_length = 5;
    struct Case {
        std::string file;
        std::string text;  // read with lines of at most 5 characters
    };
    const Case cases[] = {
        {"ab\ncdefg\nh", "ab\ncdefg\nh\n"},
        {"ab\ncdefgh\nrest\n", "ab\ncdefgh\n"},      // 6 of 6 characters: still too long
        {"ab\ncdefghijk\nrest\n", "ab\ncdefghi\n"},  // cut to 7
        {"12345\r\n12345\r\r\n", "12345\r\n12345\r\r\n"},
        {"1234567\r\n", "1234567\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        testenv::write_file(path, c.file);
        EXPECT_EQ(read_text_file(path, text, lines), ReadStatus::Read) << c.file;
        EXPECT_EQ(text, c.text) << c.file;
    }
    ReadBounds bytes;
    bytes.bytes = 10;
    testenv::write_file(path, "0123456789");
    EXPECT_EQ(read_text_file(path, text, bytes), ReadStatus::Read);
    EXPECT_EQ(text, "0123456789\n");
    testenv::write_file(path, "0123456789\n");
    EXPECT_EQ(read_text_file(path, text, bytes), ReadStatus::TooLarge);
    EXPECT_EQ(read_text_file(dir + "/missing.txt", text, bytes), ReadStatus::Failed);
    EXPECT_EQ(read_text_file(dir, text, bytes), ReadStatus::Failed);
    // Devices without an end.
    EXPECT_EQ(read_text_file("/dev/zero", text, lines), ReadStatus::Read);
    EXPECT_EQ(text, std::string(7, '\0') + "\n");
    bytes.bytes = 1 << 20;
    EXPECT_EQ(read_text_file("/dev/zero", text, bytes), ReadStatus::TooLarge);
    EXPECT_EQ(read_text_file("/dev/urandom", text, bytes), ReadStatus::TooLarge);
}

}  // namespace
