// Physical cycle prices: the fixed tables and their interval bounds.
#include "cost/cost_cycle_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct CycleCase {
    Gate_type kind;
    PMD_type pmd;
    double angle;
    int cycles;
};

std::ostream& operator<<(std::ostream& out, const CycleCase& c) {
    return out << "kind " << c.kind << " pmd " << c.pmd << " angle " << c.angle;
}

class CycleTable : public testing::TestWithParam<CycleCase> {};

}  // namespace

TEST_P(CycleTable, Price) {
    const CycleCase& c = GetParam();
    EXPECT_EQ(CostCycleCount::get_cycle_cost(c.kind, c.pmd, c.angle), c.cycles);
}

// QD: (0,2] and [6,8) short pulse, (2,6) long pulse; 2 and 4 lower, 6 upper.
INSTANTIATE_TEST_SUITE_P(QD, CycleTable,
                         testing::Values(CycleCase{RZ, QD, 2.0, 1}, CycleCase{RZ, QD, 2.0001, 2},
                                         CycleCase{RZ, QD, 0.0, 0}, CycleCase{RZ, QD, 8.0, 0},
                                         CycleCase{RZ, QD, -1.0, 1}, CycleCase{RX, QD, 6.0, 10},
                                         CycleCase{RX, QD, 5.999, 18}, CycleCase{RX, QD, 4.0, 18},
                                         CycleCase{RX, QD, 0.5, 10}, CycleCase{RY, QD, 2.0, 12},
                                         CycleCase{RY, QD, 3.0, 20}, CycleCase{RY, QD, 7.5, 12},
                                         CycleCase{H, QD, 0, 12}, CycleCase{S, QD, 0, 1},
                                         CycleCase{T_dag, QD, 0, 1}, CycleCase{CZ, QD, 0, 3},
                                         CycleCase{CNOT, QD, 0, 25}, CycleCase{SWAP, QD, 0, 51},
                                         CycleCase{ZENO, QD, 0, 53}, CycleCase{I, QD, 3.0, 0},
                                         CycleCase{OUT, QD, 0, 0}));

// SC: (0,1] 5, (1,2] 6, (2,3] 8, (3,4] 10, (4,5) 10, [5,6) 8, [6,7) 6, [7,8) 5.
INSTANTIATE_TEST_SUITE_P(SC, CycleTable,
                         testing::Values(CycleCase{CP, SC, -1.0, 5}, CycleCase{CP, SC, 16.0, 0},
                                         CycleCase{RX, SC, 1.0, 5}, CycleCase{RX, SC, 1.5, 6},
                                         CycleCase{RY, SC, 2.0, 6}, CycleCase{RY, SC, 3.0, 8},
                                         CycleCase{ISWAP, SC, 3.5, 10}, CycleCase{CP, SC, 4.0, 10},
                                         CycleCase{CP, SC, 4.5, 10}, CycleCase{RX, SC, 5.0, 8},
                                         CycleCase{RX, SC, 6.0, 6}, CycleCase{RX, SC, 7.0, 5},
                                         CycleCase{RZ, SC, 3.0, 1}, CycleCase{H, SC, 0, 7},
                                         CycleCase{CZ, SC, 0, 10}, CycleCase{CNOT, SC, 0, 22},
                                         CycleCase{SWAP, SC, 0, 17}, CycleCase{ZENO, SC, 0, 6},
                                         CycleCase{ZENO_dag, SC, 0, 6}));

INSTANTIATE_TEST_SUITE_P(Others, CycleTable,
                         testing::Values(CycleCase{H, IT, 0, 1}, CycleCase{GEO, IT, 3.0, 1},
                                         CycleCase{RZ, NA, 0, 1}, CycleCase{CNOT, CTL, 0, 1},
                                         CycleCase{T, CTL, 0, 1}, CycleCase{I, CTL, 0, 0},
                                         CycleCase{SINK, CTL, 0, 0}, CycleCase{RXY, LP, 1.0, 1},
                                         CycleCase{SWAP, LP, 0, 10}, CycleCase{ZENO, LP, 0, 10},
                                         CycleCase{ASQU, NP, 0, 1}, CycleCase{CNOT, NP, 0, 12},
                                         CycleCase{CZ, NP, 0, 14}, CycleCase{SWAP, NP, 0, 36},
                                         CycleCase{ZENO, NP, 0, 51}, CycleCase{H, ND, 0, 1},
                                         CycleCase{CNOT, FTS, 0, 1}));

// NOTE-backed mend: named X, Y and Z are rotations by π, not free.
INSTANTIATE_TEST_SUITE_P(NamedPauli, CycleTable,
                         testing::Values(CycleCase{X, QD, 0, 18}, CycleCase{Y, QD, 0, 20},
                                         CycleCase{Z, QD, 0, 2}, CycleCase{X, SC, 0, 10},
                                         CycleCase{Y, SC, 0, 10}, CycleCase{Z, SC, 0, 1}));

TEST(CycleTableMessages, UnsupportedKindsReportAndGetAFixedPrice) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(CostCycleCount::get_cycle_cost(ISWAP, NP, 1.0), 14);
    EXPECT_EQ(CostCycleCount::get_cycle_cost(GEO, QD, 1.0), 53);
    EXPECT_EQ(CostCycleCount::get_cycle_cost(GEO, SC, 1.0), 22);
    EXPECT_EQ(CostCycleCount::get_cycle_cost(CP, LP, 1.0), 10);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "Error! PMD=NP, Execution cycle, not supported gate: 27\n"
              "Error! PMD=QD, Execution cycle, not supported gate: 26\n"
              "Error! PMD=SC, Execution cycle, not supported gate: 26\n"
              "Error! PMD=LP, Execution cycle, not supported gate: 25\n");
}

TEST(CycleTableMessages, NotANumberAngle) {
    testing::internal::CaptureStdout();
    CostCycleCount::get_cycle_cost(RX, QD, std::nan(""));
    CostCycleCount::get_cycle_cost(RZ, QD, std::nan(""));
    CostCycleCount::get_cycle_cost(CP, SC, std::nan(""));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "Error! Execution cycle Rx, angle= nan\n"
              "Error! Execution cycle Rz, angle= nan\n"
              "Error! Execution cycle RX, RY, CP, ISWAP\n");
}
