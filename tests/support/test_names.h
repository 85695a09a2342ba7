#pragma once
// Names derived for tests: fragments for parameterised test names, and names unique to the
// running test (for scratch folders, since ctest runs tests in parallel).

#include <gtest/gtest.h>

#include <string>

namespace testnames {

/// \brief Test-name fragment for a double: 0.37 -> "0p37", -6 -> "m6".
inline std::string number_name(double x) {
    std::string s = std::to_string(x);
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.') s.pop_back();
    for (char& ch : s) {
        if (ch == '-') ch = 'm';
        if (ch == '.') ch = 'p';
    }
    return s;
}

/// \brief `base` followed by the running test's suite and name, with '/' and ' ' replaced.
inline std::string unique_name(const std::string& base) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = base + "_" + info->test_suite_name() + "_" + info->name();
    for (char& ch : name)
        if (ch == '/' || ch == ' ') ch = '_';
    return name;
}

}  // namespace testnames
