// Logical operation and cycle counts of error-corrected operations.
#include "cost/logical_cost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const PMD_type kMachines[] = {QD, SC, IT, NA, LP, NP, ND, CTL, FTS};
const qecCode kCodes[] = {qec_code0, qec_code1, qec_code2, qec_code3};
}  // namespace

// ---- Values the model is defined by ----------------------------------------------------------

TEST(LogicalOps, QdLevelOneCodeZero) {
    EXPECT_EQ(ops_FTEC(1, QD, qec_code0), 804);
    EXPECT_EQ(ops_Mz(1, QD, qec_code0), 811);
    EXPECT_EQ(ops_Rz(1, QD, qec_code0, 4.0), 811);
}

TEST(LogicalOps, LevelZeroRotations) {
    EXPECT_EQ(ops_Rz(0, NA, qec_code0, 1.0), 2);
    EXPECT_EQ(ops_Rz(0, QD, qec_code0, 1.0), 1);
    EXPECT_EQ(ops_Ry(0, QD, qec_code2, 3.0), 3);
    EXPECT_EQ(ops_H(0, CTL, qec_code1), 2);  // the "other" column
    EXPECT_EQ(ops_hCNOT(0, FTS, qec_code0), 0);
}

TEST(LogicalCycles, LevelZeroRotations) {
    EXPECT_EQ(cyc_Rz(0, SC, qec_code0, 3.5), 10);
    EXPECT_EQ(cyc_Rz(0, QD, qec_code0, -1.0), 12);  // -1 is 7
    EXPECT_EQ(cyc_Rx(0, QD, qec_code0, -1.0), 10);
    EXPECT_EQ(cyc_Ry(0, QD, qec_code0, 2.0), 12);
    EXPECT_EQ(cyc_Ry(0, QD, qec_code0, 2.5), 20);
    EXPECT_EQ(cyc_Rx(0, QD, qec_code0, 6.0), 10);
    EXPECT_EQ(cyc_Rz(0, SC, qec_code0, 16.0), 0);
    EXPECT_EQ(cyc_Rz(0, LP, qec_code0, 0.3), 1);
    EXPECT_EQ(cyc_Rz(0, CTL, qec_code0, 1.0), 0);  // machines beyond NP
    EXPECT_EQ(cyc_vGeo(0, LP, qec_code0), 21);
    EXPECT_EQ(cyc_hGeo(0, LP, qec_code0), 10);
}

TEST(LogicalCycles, NotANumberAngleReportsAndCostsZero) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(cyc_Rx(0, QD, qec_code0, std::nan("")), 0);
    EXPECT_EQ(cyc_Rz(0, SC, qec_code0, std::nan("")), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error! Execution cycle Rx, angle= nan\nError! Execution cycle RX, RY, CP, ISWAP\n");
}

class EveryMachine : public testing::TestWithParam<PMD_type> {};

TEST_P(EveryMachine, CodeTwoHasNoErrorCorrectionStep) {
    for (int l = 0; l <= 6; ++l) {
        EXPECT_EQ(ops_FTEC(l, GetParam(), qec_code2), 0);
        EXPECT_EQ(cyc_FTEC(l, GetParam(), qec_code2), 0);
    }
}

TEST_P(EveryMachine, CodeOneVerticalEqualsHorizontal) {
    for (int l = 1; l <= 6; ++l) {
        EXPECT_EQ(ops_vSWAP(l, GetParam(), qec_code1), ops_hSWAP(l, GetParam(), qec_code1));
        EXPECT_EQ(ops_vCNOT(l, GetParam(), qec_code1), ops_hCNOT(l, GetParam(), qec_code1));
        EXPECT_EQ(cyc_vSWAP(l, GetParam(), qec_code1), cyc_hSWAP(l, GetParam(), qec_code1));
        EXPECT_EQ(cyc_vCNOT(l, GetParam(), qec_code1), cyc_hCNOT(l, GetParam(), qec_code1));
    }
}

TEST_P(EveryMachine, ZeroAndOffClassAnglesCostNothingAboveLevelZero) {
    for (qecCode c : kCodes) {
        for (int l = 0; l <= 4; ++l) {
            EXPECT_EQ(ops_Rz(l, GetParam(), c, 0.0), 0);
            EXPECT_EQ(cyc_Ry(l, GetParam(), c, 0.0), 0);
            if (l == 0) continue;
            for (double a : {0.5, 8.0, -1.0, 1.0000001}) {
                EXPECT_EQ(ops_Rz(l, GetParam(), c, a), 0) << a;
                EXPECT_EQ(ops_Rx(l, GetParam(), c, a), 0) << a;
                EXPECT_EQ(ops_Ry(l, GetParam(), c, a), 0) << a;
                EXPECT_EQ(cyc_Rz(l, GetParam(), c, a), 0) << a;
                EXPECT_EQ(cyc_Rx(l, GetParam(), c, a), 0) << a;
                EXPECT_EQ(cyc_Ry(l, GetParam(), c, a), 0) << a;
            }
        }
    }
}

TEST_P(EveryMachine, DecoderAtLevelZeroAndCodesOutsideTheModel) {
    EXPECT_EQ(ops_decoder(0, GetParam()), 0);
    EXPECT_EQ(cyc_decoder(0, GetParam()), 0);
    EXPECT_EQ(ops_H(2, GetParam(), qec_none), 0);
    EXPECT_EQ(cyc_Rz(2, GetParam(), qec_none, 1.0), 0);
}

INSTANTIATE_TEST_SUITE_P(Machines, EveryMachine, testing::ValuesIn(kMachines));

// ---- Hand-computed values at level 2 --------------------------------------------------------
// Worked out on paper from the formulas, level by level, without the program.

TEST(LogicalHandComputed, QdCodeZeroOperations) {
    // Level 0 (QD): CNOT 5, SWAP 13, P0 2, Pp 5, Mz 1, Mx 4, H 3, Rz 1.
    // Level 1: FTEC 804, Mz 7+804 = 811, Mx 28+804 = 832, H 21+804 = 825,
    //   hSWAP 56*13+2*804 = 2336, vSWAP 42*13+1608 = 2154,
    //   hCNOT 7*5+112*13+14*13+1608 = 3281, vCNOT 7*5+12*13+70*13+1608 = 2709,
    //   P0 35+35+260+20+12+12+804 = 1178, Pp 35+35+21+260+20+12+12+804 = 1199.
    // Level 2: FTEC = 14*3281 + 28*2709 + 7*825 + 18*2336 + 15*2154 + 8*1199 + 12*1178 + 20*832
    //   = 45934 + 75852 + 5775 + 42048 + 32310 + 9592 + 14136 + 16640 = 242287;
    //   Mz = 7*811 + 242287 = 247964; Rz(4) = 7*811 + 242287 = 247964.
    EXPECT_EQ(ops_vCNOT(1, QD, qec_code0), 2709);
    EXPECT_EQ(ops_Pp(1, QD, qec_code0), 1199);
    EXPECT_EQ(ops_FTEC(2, QD, qec_code0), 242287);
    EXPECT_EQ(ops_Mz(2, QD, qec_code0), 247964);
    EXPECT_EQ(ops_Rz(2, QD, qec_code0, 4.0), 247964);
}

TEST(LogicalHandComputed, QdCodeTwoOperations) {
    // Level 1: FTED = 4*2 + 4*5 + 6*5 + 6*5 + 4*1 + 4*4 + 4*13 + 4*13 = 212; Mz 4+212 = 216,
    //   Mx 16+212 = 228, P0 = Pp = 4+10+10+52+212 = 288, hCNOT = vCNOT = 20+104+520+424 = 1068,
    //   hSWAP = vSWAP = 260+212 = 472.
    // Level 2: FTED = 4*288 + 4*288 + 6*1068 + 6*1068 + 4*216 + 4*228 + 4*472 + 4*472 = 20672;
    //   Mz = 4*216 + 20672 = 21536.
    EXPECT_EQ(ops_FTED(1, QD, qec_code2), 212);
    EXPECT_EQ(ops_FTED(2, QD, qec_code2), 20672);
    EXPECT_EQ(ops_Mz(2, QD, qec_code2), 21536);
}

TEST(LogicalHandComputed, LpCodeOneOperations) {
    // Level 0 (LP): CNOT 1, SWAP 1, P0 1, Pp 2, Mz 1, Mx 2, H 1, Rx = Rz = 1.
    // Level 1: FTEC = 9*2 + 9*1 + 29 + 9*2 + 9 + 12 + 1 + 1 = 97; hSWAP 144+97 = 241,
    //   H 9+40+97 = 146, Pp 24+24+51+97 = 196, P0 48+12+51+97 = 208, hCNOT 9+144+97 = 250,
    //   Mx 18+97 = 115, Mz 9+97 = 106, Rx(4) = Rz(4) = 3+97 = 100.
    // Level 2: FTEC = 9*196 + 9*208 + 29*250 + 9*115 + 9*106 + 12*241 + 100 + 100 = 15967;
    //   H = 9*146 + 40*241 + 15967 = 26921.
    EXPECT_EQ(ops_FTEC(1, LP, qec_code1), 97);
    EXPECT_EQ(ops_FTEC(2, LP, qec_code1), 15967);
    EXPECT_EQ(ops_H(2, LP, qec_code1), 26921);
}

TEST(LogicalHandComputed, LpCodeThreeOperations) {
    // Code 3 builds on code 2 one level down. Level 1, code 2 (LP): FTED = 4+8+6+6+4+8+4+4 = 44,
    //   P0 = Pp = 2+4+2+4+44 = 56, hCNOT = vCNOT = 4+8+40+88 = 140, hSWAP = vSWAP = 20+44 = 64,
    //   Mz 4+44 = 48, Mx 8+44 = 52, Rx(4) = Rz(4) = 2+44 = 46.
    // Level 2, code 3: P0 = 3*56 + 4*56 + 4*140 + 5*140 + 9*64 + 13*64 = 3060, Pp likewise 3060,
    //   FTEC = 3060 + 3060 + 14*140 + 7*48 + 7*52 + 14*64 + 7*46 + 7*46 = 10320,
    //   hSWAP = 112*64 + 14*64 + 2*10320 = 28704.
    EXPECT_EQ(ops_FTEC(1, LP, qec_code3), 146);  // 41 + 42 + 14 + 7 + 14 + 14 + 7 + 7
    EXPECT_EQ(ops_P0(2, LP, qec_code3), 3060);
    EXPECT_EQ(ops_FTEC(2, LP, qec_code3), 10320);
    EXPECT_EQ(ops_hSWAP(2, LP, qec_code3), 28704);
}

TEST(LogicalHandComputed, ItCodeZeroCycles) {
    // Level 0 (IT): every operation takes one cycle.
    // Level 1: FTEC = 1+1+1+1+1+1+1 = 7, Mx = 7, Mz = 7-1+1 = 7, H = 1+7 = 8,
    //   hCNOT = 6+3+2+1+1+1+1+1+2+2+2+2+2 = 26, P0 = Pp = 7+7 = 14, Rz(4) = 1+7 = 8.
    // Level 2: FTEC = 14 + 26 + 26 + 26 + 26 + 7 + 7 = 132; Mx = 132; Mz = 132-7+7 = 132;
    //   H = 8 + 132 = 140; Rz(4) = 8 + 132 = 140.
    EXPECT_EQ(cyc_hCNOT(1, IT, qec_code0), 26);
    EXPECT_EQ(cyc_vCNOT(1, IT, qec_code0), 25);
    EXPECT_EQ(cyc_FTEC(2, IT, qec_code0), 132);
    EXPECT_EQ(cyc_Mz(2, IT, qec_code0), 132);
    EXPECT_EQ(cyc_H(2, IT, qec_code0), 140);
    EXPECT_EQ(cyc_Rz(2, IT, qec_code0, 4.0), 140);
}

TEST(LogicalHandComputed, ItCodeTwoCycles) {
    // Level 1: FTED = 7, H = 1+7 = 8, P0 = Pp = 1+1 = 2, Mx = Mz = 1+7 = 8,
    //   hCNOT = vCNOT = 1+4+2+7 = 14, hSWAP = vSWAP = 5+7 = 12.
    // Level 2: FTED = 2 + 8 + 14 + 14 + 14 + 12 + 12 = 76; H = H(0) + 76 = 77.
    EXPECT_EQ(cyc_FTED(2, IT, qec_code2), 76);
    EXPECT_EQ(cyc_H(2, IT, qec_code2), 77);
}

TEST(LogicalHandComputed, CodeTwoOddRotationDropsTheDoubledAngleTermAboveSix) {
    // Rz(l,2,2θ) with θ = 5 is Rz by 10, which is no class: the term is 0, so θ = 5 costs
    // less than θ = 1 (whose doubled angle 2 is priced).
    const double odd1 = cyc_Rz(1, SC, qec_code2, 1.0), odd5 = cyc_Rz(1, SC, qec_code2, 5.0);
    EXPECT_EQ(odd1 - odd5, cyc_Rz(1, SC, qec_code2, 2.0));
}

TEST(LogicalMemo, DeepLevelsAreFinite) {
    for (PMD_type p : kMachines)
        for (qecCode c : kCodes) {
            EXPECT_TRUE(std::isfinite(ops_Rz(6, p, c, 1.0)));
            EXPECT_TRUE(std::isfinite(cyc_Ry(6, p, c, 3.0)));
        }
}

// ---- The level bound ---------------------------------------------------------------------------

#include "circuit/fatal.h"

namespace {

// Up to the highest level the model evaluates, every operation costs a finite amount with room
// for sums over a circuit; beyond it the model refuses instead of recursing.
TEST(LogicalLevel, FiniteUpToTheBoundAndRefusedBeyond) {
    for (qecCode code : kCodes)
        for (PMD_type pmd : {QD, SC, NP}) {
            for (double angle : {1.0, 2.0, 4.0}) {
                EXPECT_LT(ops_Rz(kMaxLogicalLevel, pmd, code, angle), 1e250);
                EXPECT_LT(cyc_Ry(kMaxLogicalLevel, pmd, code, angle), 1e250);
            }
            EXPECT_LT(ops_hSWAP(kMaxLogicalLevel, pmd, code), 1e250);
            EXPECT_LT(cyc_vCNOT(kMaxLogicalLevel, pmd, code), 1e250);
        }
    FatalHandler previous = set_fatal_handler(throwing_fatal_handler);
    testing::internal::CaptureStdout();
    EXPECT_THROW(ops_H(kMaxLogicalLevel + 1, QD, qec_code0), FatalError);
    EXPECT_THROW(cyc_Rz(50000, SC, qec_code1, 1.0), FatalError);
    testing::internal::GetCapturedStdout();
    set_fatal_handler(previous);
}

}  // namespace
