// The command line on its own: options ahead of the positional arguments, the echo, and the
// range checks that keep numbers within what the program can use.

#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/fatal_capture.h"

namespace {

struct Parsed {
    ParseStatus status = ParseStatus::Usage;
    Settings settings;
    std::string echo;
    std::string refusal;  // the fatal message, "" when accepted
};

Parsed parse(const std::vector<std::string>& words) {
    std::vector<std::string> storage = {"marovin"};
    storage.insert(storage.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& w : storage) argv.push_back(w.data());
    argv.push_back(nullptr);
    Parsed p;
    std::ostringstream echo;
    testing::internal::CaptureStdout();
    p.refusal = testfatal::fatal_message([&] {
        p.status =
            parse_command_line(static_cast<int>(storage.size()), argv.data(), p.settings, echo);
    });
    testing::internal::GetCapturedStdout();
    p.echo = echo.str();
    return p;
}

TEST(CommandLineOptions, ComeBeforeThePositionalArgumentsAndChangeNothingElse) {
    const Parsed plain = parse({"in.txt", "out.txt", "SC", "0.01", "2", "1", "3"});
    const Parsed with =
        parse({"--max-gates", "5000", "in.txt", "out.txt", "SC", "0.01", "2", "1", "3"});
    ASSERT_EQ(with.refusal, "");
    EXPECT_EQ(with.status, ParseStatus::Ok);
    EXPECT_EQ(with.settings.max_gates, 5000);
    EXPECT_EQ(plain.settings.max_gates, default_max_gates());
    EXPECT_EQ(with.echo, plain.echo);
    EXPECT_EQ(with.settings.input_file, "in.txt");
    EXPECT_EQ(with.settings.pmd, SC);
    EXPECT_EQ(with.settings.ft_method, FtMethod::ByMode);
    EXPECT_EQ(with.settings.ft_mode, 2);
    EXPECT_EQ(with.settings.code, qec_code1);
    EXPECT_EQ(with.settings.level, 3);
    // "--" ends the options: a file name may then begin with "--".
    const Parsed dashed = parse({"--", "--in.txt", "out.txt"});
    EXPECT_EQ(dashed.settings.input_file, "--in.txt");
    // Options alone are not a command line.
    EXPECT_EQ(parse({"--max-gates", "10", "in.txt"}).status, ParseStatus::Usage);
}

TEST(CommandLineOptions, OptimiseLevelTwoIsEchoedAndOtherLevelsRefused) {
    const Parsed plain = parse({"in.txt", "out.txt", "SC"});
    const Parsed one = parse({"--optimise", "1", "in.txt", "out.txt", "SC"});
    const Parsed two = parse({"--optimise", "2", "--max-gates", "9", "in.txt", "out.txt", "SC"});
    EXPECT_EQ(plain.settings.optimise, OptimiseLevel::Standard);
    EXPECT_EQ(one.settings.optimise, OptimiseLevel::Standard);
    EXPECT_EQ(one.echo, plain.echo);
    ASSERT_EQ(two.refusal, "");
    EXPECT_EQ(two.settings.optimise, OptimiseLevel::Phases);
    EXPECT_EQ(two.settings.max_gates, 9);
    EXPECT_EQ(two.echo,
              plain.echo + "Optimisation level 2: phase folding and commuting cancellation\n");
    EXPECT_EQ(parse({"--optimise", "3", "in.txt", "out.txt"}).refusal,
              "The option --optimise needs the level 1 or 2: 3");
    EXPECT_EQ(parse({"--optimise"}).refusal, "The option --optimise needs the level 1 or 2: ");
}

struct RangeCase {
    std::vector<std::string> words;
    bool accepted;
};

class CommandLineRanges : public testing::TestWithParam<RangeCase> {};

// Each limit accepted at its bound and refused one past it; numbers that only matter with a
// conversion (the depth) or a code (the level) are not bounded without one, unless they do not
// fit an int.
TEST_P(CommandLineRanges, AcceptsTheBoundAndRefusesBeyond) {
    const RangeCase& c = GetParam();
    std::vector<std::string> words = {"in.txt", "out.txt"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    const Parsed p = parse(words);
    EXPECT_EQ(p.refusal.empty(), c.accepted) << p.refusal;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CommandLineRanges,
    testing::Values(RangeCase{{"SC", "0.01", "6"}, true}, RangeCase{{"SC", "0.01", "7"}, false},
                    RangeCase{{"SC", "0.01", "-1"}, false}, RangeCase{{"SC", "0", "10000"}, true},
                    RangeCase{{"SC", "0", "4294967296"}, false},
                    RangeCase{{"SC", "0", "99999999999999999999"}, false},
                    RangeCase{{"SC", "0", "0", "1", "100"}, true},
                    RangeCase{{"SC", "0", "0", "1", "101"}, false},
                    RangeCase{{"SC", "0", "0", "2", "0"}, true},
                    RangeCase{{"SC", "0", "0", "3", "5000"}, true},
                    RangeCase{{"SC", "0", "0", "3", "4294967297"}, false},
                    RangeCase{{"SC", "1e-7"}, true}, RangeCase{{"SC", "9e-8"}, false},
                    RangeCase{{"SC", "3e-6", "2"}, true}, RangeCase{{"SC", "2e-6", "2"}, false},
                    RangeCase{{"SC", "-0.5", "2"}, false}, RangeCase{{"SC", "1e-20", "grid"}, true},
                    RangeCase{{"SC", "9e-21", "grid"}, false},
                    RangeCase{{"SC", "-1e-3", "grid"}, false}, RangeCase{{"SC", "-0.5"}, false},
                    RangeCase{{"SC", "junk"}, true}));

TEST(CommandLineEcho, RefusedNumbersAreEchoedAsTypedBeforeTheRefusal) {
    const Parsed p = parse({"in.txt", "out.txt", "SC", "0.1", "4294967296"});
    EXPECT_EQ(p.echo,
              "FT threshold is set to: 0.1\nUse S-K algorithm, # iterations= 4294967296\nPMD=SC\n");
    EXPECT_EQ(p.refusal, "The FT mode is not a number the program can use: 4294967296");
}

}  // namespace
