#include "driver/json_value.h"

#include <gtest/gtest.h>

namespace {

TEST(JsonValue, ReadsEveryKindOfValue) {
    JsonValue v;
    std::string error;
    ASSERT_TRUE(
        parse_json(" {\"a\": [1, -2.5e3, 0.125], \"b\": {\"c\": null, \"d\": true, \"e\": false},"
                   " \"s\": \"q\\\"\\\\\\/\\n\\u00e9\\u0041\"} ",
                   v, error))
        << error;
    EXPECT_EQ(v.find("a")->array.size(), 3u);
    EXPECT_EQ(v.find("a")->array[1].number, -2500);
    EXPECT_EQ(v.number_at({"b", "c"}, 7), 7);  // null is no number
    EXPECT_TRUE(v.find("b")->find("d")->boolean);
    EXPECT_EQ(v.find("s")->string,
              "q\"\\/\n\xc3\xa9"
              "A");
    EXPECT_EQ(v.find("missing"), nullptr);
}

class MalformedJson : public testing::TestWithParam<const char*> {};

TEST_P(MalformedJson, IsRefusedWithAPosition) {
    JsonValue v;
    std::string error;
    EXPECT_FALSE(parse_json(GetParam(), v, error));
    EXPECT_NE(error.find("at byte"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Texts, MalformedJson,
                         testing::Values("", "{", "{\"a\" 1}", "{\"a\": 1,}", "[1 2]", "01", "1.",
                                         "-", "1e", "nan", "\"tab\there\"", "\"\\x\"",
                                         "{\"a\": 1, \"a\": 2}", "{} {}", "tru", "[\"\\u12\"]"));

TEST(JsonValue, DeepNestingIsRefusedNotRecursedInto) {
    JsonValue v;
    std::string error;
    EXPECT_FALSE(parse_json(std::string(100000, '['), v, error));
}

}  // namespace
