#include "circuit/two_qubit_index.h"

#include <gtest/gtest.h>

namespace {

TEST(TwoQubitIndex, PositionsGrowPerLineAndHolesKeepTheirPlace) {
    TwoQubitIndex<int> index;
    index.reset(2);
    EXPECT_EQ(index.append(0, 10), 0);
    EXPECT_EQ(index.append(1, 10), 0);
    EXPECT_EQ(index.append(0, 11), 1);
    EXPECT_EQ(index.append(0, 12), 2);
    index.mark(0, 1);
    index.erase(0, 1, -1);
    EXPECT_EQ(index.at(0, 1), -1);
    EXPECT_FALSE(index.marked(0, 1));
    EXPECT_EQ(index.append(0, 13), 3);  // a hole is never reused
    EXPECT_EQ(index.size(0), 4);
    EXPECT_EQ(index.size(1), 1);
}

TEST(TwoQubitIndex, NextMarkedFindsMarksAcrossWordsAndOnlyOnItsLine) {
    TwoQubitIndex<int> index;
    index.reset(2);
    for (int i = 0; i < 200; ++i) index.append(0, i);
    index.append(1, 0);
    EXPECT_EQ(index.next_marked(0, 0), -1);
    for (int p : {0, 63, 64, 130, 199}) index.mark(0, p);
    index.mark(1, 0);
    EXPECT_EQ(index.next_marked(0, -5), 0);
    EXPECT_EQ(index.next_marked(0, 1), 63);
    EXPECT_EQ(index.next_marked(0, 64), 64);
    EXPECT_EQ(index.next_marked(0, 65), 130);
    EXPECT_EQ(index.next_marked(0, 131), 199);
    EXPECT_EQ(index.next_marked(0, 200), -1);
    EXPECT_EQ(index.next_marked(0, 1000), -1);
    index.unmark(0, 130);
    EXPECT_EQ(index.next_marked(0, 65), 199);
    EXPECT_EQ(index.next_marked(1, 0), 0);
    EXPECT_EQ(index.next_marked(1, 1), -1);
}

}  // namespace
