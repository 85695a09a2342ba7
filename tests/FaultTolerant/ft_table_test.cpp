// The sequence cache: file format, lookup rules, wrapping by axis, and the shipped cache file.

#include "FaultTolerant/ft_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <sstream>
#include <utility>
#include <vector>

#include "circuit/fatal.h"
#include "support/fatal_capture.h"
#include "support/gate_sequences.h"
#include "support/test_env.h"

namespace {

FT_table read_text(const std::string& text) {
    FT_table cache;
    std::istringstream in(text);
    ft_table_read(in, cache);
    return cache;
}

std::string captured_lookup(FT_table& cache, Gate_type kind, double angle, double dist,
                            std::string& printed) {
    testing::internal::CaptureStdout();
    std::string seq = cache.get_FT_seq(kind, angle, dist);
    printed = testing::internal::GetCapturedStdout();
    return seq;
}

TEST(FtTableRead, BlocksCommentsBlankLinesAndCrLf) {
    FT_table cache = read_text(
        "# header comment\n"
        "\n"
        "\r\n"
        ".angle 0.5 extra tokens ignored\r\n"
        "DIST 0.1 GATE HT trailing\r\n"
        "\r\n"
        "  DIST\t0.01 GATE HTHT\n"
        ".end\n"
        ".angle -0.25\n"
        ".end\n");
    ASSERT_EQ(cache.table.size(), 2u);
    const auto& entries = cache.table.at(0.5);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].dist, 0.1);
    EXPECT_EQ(entries[0].seq, "HT");
    EXPECT_EQ(entries[1].dist, 0.01);
    EXPECT_EQ(entries[1].seq, "HTHT");
    EXPECT_TRUE(cache.table.at(-0.25).empty());
}

TEST(FtTableRead, FirstBlockOfAnAngleWinsAndOpenBlockIsDropped) {
    FT_table cache = read_text(
        ".angle 0.3\nDIST 0.1 GATE H\n.end\n"
        ".angle 0.3\nDIST 0.0001 GATE T\n.end\n"
        ".angle 0.7\nDIST 0.1 GATE S\n");
    ASSERT_EQ(cache.table.size(), 1u);
    ASSERT_EQ(cache.table.at(0.3).size(), 1u);
    EXPECT_EQ(cache.table.at(0.3)[0].seq, "H");
    // Rereading never replaces a key, so run-time entries survive.
    cache.insert_FT_table(0.3, 0.001, "HTH");
    std::istringstream again(".angle 0.3\nDIST 0.5 GATE Z\n.end\n");
    ft_table_read(again, cache);
    ASSERT_EQ(cache.table.at(0.3).size(), 2u);
    EXPECT_EQ(cache.table.at(0.3)[1].seq, "HTH");
}

TEST(FtTableReadDeath, SyntaxErrorsEndTheProgram) {
    EXPECT_EXIT(read_text(".angle 0.3\n  FOO 0.1 GATE H\n.end\n"), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(read_text(".angle 0.3\n# no comments in a block\n.end\n"),
                testing::ExitedWithCode(1), "");
    EXPECT_EXIT(read_text(".angle 0.3\n DIST 0.1 GATES H\n.end\n"), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(read_text(".angle 0.3\nDIST 0.1 GATE\n.end\n"), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(read_text(".angle\n.end\n"), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(read_text(".angle 0.3\nDIST 0.1 GATE " + std::string(1100, 'H') + "\n.end\n"),
                testing::ExitedWithCode(1), "");
}

std::string fatal_output(const std::string& text) {
    FatalHandler previous = set_fatal_handler(throwing_fatal_handler);
    testing::internal::CaptureStdout();
    try {
        read_text(text);
    } catch (const FatalError&) {
    }
    set_fatal_handler(previous);
    return testing::internal::GetCapturedStdout();
}

TEST(FtTableRead, SyntaxMessagesNameBufferAndToken) {
    EXPECT_EQ(fatal_output(".angle 0.3\n  FOO 0.1 GATE H\n.end\n"),
              "Syntax Error, should be 'DIST':\nbuffer=   FOO\ntoken= FOO\n");
    EXPECT_EQ(fatal_output(".angle 0.3\n DIST 0.1 GATES H\n.end\n"),
              "Syntax Error, should be 'GATE':\nbuffer=  DIST\ntoken= GATES\n");
}

TEST(FtTableLookup, AbsentAngleIsSilentAndExactKeysMatchExactly) {
    FT_table cache = read_text(".angle 0.3\nDIST 0.01 GATE HTH\n.end\n");
    std::string printed;
    EXPECT_EQ(captured_lookup(cache, RZ, 0.31, 0.1, printed), "");
    EXPECT_EQ(printed, "");
    // 2.3 - 2 is not the double 0.3: no match.
    EXPECT_EQ(captured_lookup(cache, RZ, 2.3 - 2, 0.1, printed), "");
    EXPECT_EQ(printed, "");
    EXPECT_EQ(captured_lookup(cache, RZ, std::nan(""), 0.1, printed), "");
    // Every sequence is within distance 1 of every rotation: the check lets it through.
    EXPECT_EQ(captured_lookup(cache, RZ, 0.3, 1.0, printed), "HTH");
}

TEST(FtTableLookup, TooCoarseEntriesThenRunTimeEntryIsFound) {
    // "HH" and "XX" are the identity, within 3e-4 of RZ(0.001): they pass the check.
    FT_table cache = read_text(".angle 0.001\nDIST 0.1 GATE HH\nDIST 0.01 GATE XX\n.end\n");
    std::string printed;
    EXPECT_EQ(captured_lookup(cache, RZ, 0.001, 0.001, printed), "");
    EXPECT_EQ(printed, "Required dist is smaller than cached table!\n");
    cache.insert_FT_table(0.001, 0.001, "HTHT");
    EXPECT_EQ(captured_lookup(cache, RZ, 0.001, 0.001, printed), "HTHT");
    // Coarse-to-fine order: the first entry that is fine enough wins.
    EXPECT_EQ(captured_lookup(cache, RZ, 0.001, 0.5, printed), "HH");
    EXPECT_EQ(captured_lookup(cache, RZ, 0.001, 0.01, printed), "XX");
    // A new angle gets a key of its own.
    cache.insert_FT_table(-0.2, 0.01, "T");
    EXPECT_EQ(captured_lookup(cache, RZ, -0.2, 0.01, printed), "T");
}

TEST(FtTableLookup, WrappingByAxis) {
    FT_table cache = read_text(".angle 0.5\nDIST 0.01 GATE (HS)T\n.end\n");
    std::string printed;
    EXPECT_EQ(captured_lookup(cache, RZ, 0.5, 1.0, printed), "(HS)T");
    EXPECT_EQ(captured_lookup(cache, RX, 0.5, 1.0, printed), "H(HS)TH");
    EXPECT_EQ(captured_lookup(cache, RY, 0.5, 1.0, printed), "SH(HS)THs");
    EXPECT_EQ(captured_lookup(cache, H, 0.5, 1.0, printed), "");
    EXPECT_EQ(printed, "get_FT_seq:None supported gate: 7\n");
    // Without a qualifying entry the unsupported kind is not reported.
    EXPECT_EQ(captured_lookup(cache, H, 0.75, 1.0, printed), "");
    EXPECT_EQ(printed, "");
}

TEST(FtTableLookup, WrappedSequencesApproximateTheirAxis) {
    // The wrapping of a Z sequence for RX and RY yields the rotation about that axis, checked on
    // an exact sequence: "T" is RZ(1) up to phase.
    FT_table cache = read_text(".angle 1\nDIST 0 GATE T\n.end\n");
    for (Gate_type kind : {RX, RY, RZ}) {
        const std::string seq = cache.get_FT_seq(kind, 1, 0);
        EXPECT_LT(fttest::distance_to_rotation(seq, kind, 1), 1e-12) << seq;
    }
}

TEST(FtTableFile, MissingFileEndsTheProgram) {
    const std::string dir = testenv::make_scratch_dir("ft_table_missing", false);
    testenv::ScopedDirectory inside(dir);
    EXPECT_EXIT(
        {
            FT_table cache;
            cache.set_FT_table();
        },
        testing::ExitedWithCode(1), "");
    inside.leave();
}

TEST(FtTableFile, ShippedCacheIsOrderedAndWithinItsDistances) {
    std::istringstream in(testenv::read_file(testenv::source_path("data/FT_table.txt")));
    FT_table cache;
    ft_table_read(in, cache);
    ASSERT_FALSE(cache.table.empty());
    for (const auto& [angle, entries] : cache.table) {
        ASSERT_FALSE(entries.empty()) << angle;
        for (size_t i = 0; i < entries.size(); ++i) {
            const FT_entry& e = entries[i];
            if (i > 0) {
                EXPECT_LE(e.dist, entries[i - 1].dist) << "coarse to fine, angle " << angle;
            }
            EXPECT_LE(fttest::md_tri_to_rotation(e.seq, RZ, angle), e.dist)
                << "angle " << angle << " seq " << e.seq;
            EXPECT_LE(fttest::distance_to_rotation(e.seq, RZ, angle), std::sqrt(2.0) * e.dist)
                << "angle " << angle << " seq " << e.seq;
        }
    }
}

}  // namespace

namespace {

// Malformed cache files: each is refused with one line naming the file line at fault.
struct MalformedCache {
    const char* name;
    const char* text;
    const char* message;
};

class FtTableMalformed : public testing::TestWithParam<MalformedCache> {};

TEST_P(FtTableMalformed, IsRefusedNamingTheLine) {
    const MalformedCache& c = GetParam();
    EXPECT_EQ(fatal_output(c.text), std::string(c.message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtTableMalformed,
    testing::Values(
        MalformedCache{"AngleWithJunk", "# c\n.angle 0.5junk\nDIST 0.1 GATE HT\n.end\n",
                       "FT_table.txt: line 2: angle \"0.5junk\" is not a finite number"},
        MalformedCache{"NanAngle", ".angle nan\n.end\n",
                       "FT_table.txt: line 1: angle \"nan\" is not a finite number"},
        MalformedCache{"DistanceWithJunk", ".angle 0.5\nDIST 0.1x GATE HT\n.end\n",
                       "FT_table.txt: line 2: distance \"0.1x\" is not a finite number"},
        MalformedCache{"NegativeDistance", ".angle 0.5\n\nDIST -1 GATE HT\n.end\n",
                       "FT_table.txt: line 3: distance -1 is negative"},
        MalformedCache{"LetterOutsideTheAlphabet", ".angle 0.5\nDIST 0.1 GATE HTQT\n.end\n",
                       "FT_table.txt: line 2: letter 'Q' of sequence HTQT is not one of H T t S s "
                       "X Z I ( )"},
        MalformedCache{"HashGluedToText", "#not-a-comment\n.angle 1.5\nDIST 1 GATE H\n.end\n",
                       "FT_table.txt: line 1: neither a comment nor an '.angle' line: "
                       "#not-a-comment"}),
    [](const testing::TestParamInfo<MalformedCache>& info) { return info.param.name; });

TEST(FtSequenceDistance, AgreesWithTheSimulatorOnExactAndApproximateSequences) {
    // Exact: T is RZ(1), S is RZ(2), Z is RZ(4), HH is the identity; all up to phase. The
    // distance of equal matrices is rounding noise below the resolution.
    for (const auto& [seq, angle] : std::vector<std::pair<const char*, double>>{
             {"T", 1}, {"(TT)", 2}, {"S", 2}, {"Z", -4}, {"HH", 0}, {"", 16}})
        EXPECT_LT(ft_sequence_distance(seq, angle), kFtDistanceResolution) << seq;
    EXPECT_GT(ft_sequence_distance("()", 0.3), 0.05);
    EXPECT_TRUE(std::isnan(ft_sequence_distance("HQ", 0.3)));
    for (const char* seq : {"HTHTHT(SH)T", "(HS)T(SH)t", "HTH", "X"})
        for (double angle : {0.3, -1.25, 2.9})
            EXPECT_NEAR(ft_sequence_distance(seq, angle),
                        fttest::md_tri_to_rotation(seq, RZ, angle), kFtDistanceResolution)
                << seq << " " << angle;
}

TEST(FtTableLookup, FileEntryMissingTheThresholdIsReportedOnceAndSkipped) {
    // "()" claims 0.001 for RZ(0.3) but is the identity; "T" is exact for RZ(1).
    FT_table cache = read_text(
        ".angle 0.3\nDIST 0.001 GATE ()\n.end\n"
        ".angle 1\nDIST 0.001 GATE ()\nDIST 0.001 GATE T\n.end\n");
    std::string printed;
    EXPECT_EQ(captured_lookup(cache, RZ, 0.3, 0.01, printed), "");
    EXPECT_NE(printed.find("Error: FT_table.txt: the sequence () of angle 0.3 (DIST 0.001)"),
              std::string::npos)
        << printed;
    EXPECT_EQ(printed.find("Required dist"), std::string::npos) << printed;
    EXPECT_EQ(captured_lookup(cache, RZ, 0.3, 0.01, printed), "");
    EXPECT_EQ(printed, "") << "reported once";
    // The next entry of the angle that meets the threshold is used.
    EXPECT_EQ(captured_lookup(cache, RX, 1, 0.01, printed), "HTH");
    // Sequences found at run time are the search's answer and are not second-guessed.
    cache.insert_FT_table(0.3, 0.01, "H");
    EXPECT_EQ(captured_lookup(cache, RZ, 0.3, 0.01, printed), "H");
}

TEST(FtTableFile, FolderInPlaceOfTheFileEndsTheProgram) {
    const std::string dir = testenv::make_scratch_dir("ft_table_folder", false);
    ASSERT_EQ(mkdir((dir + "/FT_table.txt").c_str(), 0755), 0);
    testenv::ScopedDirectory inside(dir);
    FT_table cache;
    testing::internal::CaptureStdout();
    const std::string message = testfatal::fatal_message([&] { cache.set_FT_table(); });
    testing::internal::GetCapturedStdout();
    inside.leave();
    EXPECT_EQ(message, "Cannot open FT_table.txt! (it is a folder)");
}

}  // namespace
