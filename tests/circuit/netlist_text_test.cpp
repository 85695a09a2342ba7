#include "circuit/netlist_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/fatal_capture.h"
#include "support/netlist_builder.h"

namespace {

struct TokenCase {
    const char* name;
    std::string line;
    size_t max_length;
    std::string_view separators;
    bool fits;
    std::vector<std::string> tokens;
};

class TokenizeLine : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenizeLine, SplitsOrRefusesTheLine) {
    const TokenCase& c = GetParam();
    // Stale tokens from an earlier line must never survive a call.
    std::vector<std::string_view> tokens = {"stale"};
    EXPECT_EQ(netlist::tokenize_line(c.line, c.max_length, tokens, c.separators), c.fits);
    std::vector<std::string> got(tokens.begin(), tokens.end());
    EXPECT_EQ(got, c.tokens);
}

const std::string k99(99, 'a');

INSTANTIATE_TEST_SUITE_P(
    Lines, TokenizeLine,
    testing::Values(
        TokenCase{"Separators", " RX\tq0 \r", 99, netlist::kSeparators, true, {"RX", "q0"}},
        TokenCase{"SeparatorsOnly", " \t\r", 99, netlist::kSeparators, true, {}},
        TokenCase{"AtTheLimit", k99, 99, netlist::kSeparators, true, {k99}},
        TokenCase{"OverTheLimit", k99 + "a", 99, netlist::kSeparators, false, {}},
        // A CR-LF line read by getline keeps its carriage return, which counts.
        TokenCase{"CarriageReturnCounts", k99 + "\r", 99, netlist::kSeparators, false, {}},
        TokenCase{"NoLimit",
                  std::string(5000, 'b'),
                  netlist::kAnyLength,
                  netlist::kSeparators,
                  true,
                  {std::string(5000, 'b')}},
        // Vertical tab and form feed separate only in white-space mode.
        TokenCase{"VerticalTabIsTextByDefault", "a\vb", 99, netlist::kSeparators, true, {"a\vb"}},
        TokenCase{"WhiteSpaceSplitsAtVerticalTabAndFormFeed",
                  "a\vb\fc d",
                  netlist::kAnyLength,
                  netlist::kWhiteSpace,
                  true,
                  {"a", "b", "c", "d"}}),
    [](const testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

TEST(NetlistText, LinesOverNinetyNineCharactersAreReported) {
    const std::string comment = "# " + std::string(97, 'x');
    ASSERT_EQ(comment.size(), 99u);
    const std::string fits = testnet::make_netlist(1, comment + "\n" + comment + "\r\n");
    EXPECT_EQ(testfatal::fatal_message([&] { netlist::check_line_lengths(fits); }), "");
    EXPECT_EQ(
        testfatal::fatal_message([&] { netlist::check_line_lengths(fits + comment + "x\n"); }),
        "Netlist line 7 is longer than 99 characters");
}

}  // namespace
