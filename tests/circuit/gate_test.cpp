#include "circuit/gate.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(GateVocabulary, TwoQubitKindsAreTwentyToTwentyNine) {
    EXPECT_FALSE(is_2Q_gate(static_cast<Gate_type>(19)));
    EXPECT_TRUE(is_2Q_gate(CNOT));
    EXPECT_TRUE(is_2Q_gate(ISWAP));
    EXPECT_TRUE(is_2Q_gate(static_cast<Gate_type>(29)));
    EXPECT_FALSE(is_2Q_gate(Toffoli));
}

TEST(GateVocabulary, KeywordsRoundTripAndZenoDagHasOne) {
    for (Gate_type kind : {I,     RX,  RY,   RZ,   X,  Y,    Z,    H,        S,  S_dag, T,
                           T_dag, RXY, ASQU, CNOT, CZ, SWAP, ZENO, ZENO_dag, CP, GEO,   ISWAP}) {
        Gate_type back;
        ASSERT_TRUE(gate_from_keyword(gate_keyword(kind), back)) << kind;
        EXPECT_EQ(back, kind);
    }
    EXPECT_STREQ(gate_keyword(ZENO_dag), "ZENO_dag");
    EXPECT_STREQ(gate_keyword(IN), "???");
    EXPECT_STREQ(gate_keyword(Toffoli), "???");
}

// The price file shares the gate keywords and adds the composite rows, which no netlist line
// or graph vertex may carry.
TEST(GateVocabulary, PriceRowsAreTheGateKeywordsPlusTheComposites) {
    for (Gate_type kind : {I,     RX,  RY,   RZ,   X,  Y,    Z,    H,        S,  S_dag, T,
                           T_dag, RXY, ASQU, CNOT, CZ, SWAP, ZENO, ZENO_dag, CP, GEO,   ISWAP}) {
        ASSERT_NE(price_row_keyword(kind), nullptr) << kind;
        EXPECT_STREQ(price_row_keyword(kind), gate_keyword(kind));
    }
    for (Gate_type kind : {Toffoli, PERES, Fredkin}) {
        const char* keyword = price_row_keyword(kind);
        ASSERT_NE(keyword, nullptr) << kind;
        Gate_type back = I;
        ASSERT_TRUE(price_row_from_keyword(keyword, back)) << keyword;
        EXPECT_EQ(back, kind);
        EXPECT_FALSE(gate_from_keyword(keyword, back)) << keyword;
    }
    Gate_type kind = I;
    EXPECT_FALSE(price_row_from_keyword("PERES_dag", kind));
    EXPECT_FALSE(price_row_from_keyword("cnot", kind));
    EXPECT_EQ(price_row_keyword(IN), nullptr);
}

TEST(GateVocabulary, KindRangesHaveNamedPredicates) {
    EXPECT_TRUE(is_1Q_gate(ASQU));
    EXPECT_TRUE(is_1Q_gate(static_cast<Gate_type>(19)));
    EXPECT_FALSE(is_1Q_gate(CNOT));
    EXPECT_FALSE(is_1Q_gate(OUT));
    EXPECT_FALSE(is_marker(static_cast<Gate_type>(99)));
    for (Gate_type kind : {IN, OUT, SOURCE, SINK}) EXPECT_TRUE(is_marker(kind)) << kind;
    EXPECT_FALSE(is_marker(Fredkin));
    for (Gate_type kind : {RX, RY, RZ}) EXPECT_TRUE(is_rotation(Gate(kind, 0, 0, 0, -1, 0, 0)));
    for (Gate_type kind : {I, RXY, ASQU, T, CP})
        EXPECT_FALSE(is_rotation(Gate(kind, 1, 0, 0, -1, 0, 0))) << kind;
}

TEST(GateRecord, EqualityComparesEveryFieldExactly) {
    Gate a(RZ, 1.0, 0, 0, -1, 2, 7);
    Gate b = a;
    EXPECT_EQ(a, b);
    b.index = 8;
    EXPECT_NE(a, b);
    Gate n(RZ, std::nan(""), 0, 0, -1, 2, 7);
    EXPECT_NE(n, n);
}

TEST(LineRecord, EqualityNeedsSamePhaseAndRecords) {
    LineOfGates a, b;
    EXPECT_EQ(a, b);
    a.gates.push_back(Gate(H, 0, 0, 0, -1, 0, 4));
    b = a;
    EXPECT_EQ(a, b);
    b.phase = 0.250000001;
    a.phase = 0.25;
    EXPECT_NE(a, b);
    b.phase = 0.25;
    b.gates.push_back(Gate(H, 0, 0, 0, -1, 0, 5));
    EXPECT_NE(a, b);
    EXPECT_NE(b, a);
}

TEST(Directions, CycleThroughAxesAndReportOthers) {
    Gate x(RX, 0, 0, 0, -1, 0, 0), y(RY, 0, 0, 0, -1, 0, 0), z(RZ, 0, 0, 0, -1, 0, 0);
    Gate h(H, 0, 0, 0, -1, 0, 0);
    EXPECT_EQ(next_direction(x), RY);
    EXPECT_EQ(next_direction(z), RX);
    EXPECT_EQ(prev_direction(x), RZ);
    EXPECT_EQ(prev_direction(y), RX);
    testing::internal::CaptureStderr();
    EXPECT_EQ(next_direction(h), RY);
    EXPECT_EQ(prev_direction(h), RZ);
    EXPECT_TRUE(in_order(x, y));
    EXPECT_TRUE(in_order(z, x));
    EXPECT_FALSE(in_order(y, x));
    EXPECT_FALSE(in_order(z, z));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Error! next_direction: operation not supported!"), std::string::npos);
    EXPECT_NE(err.find("Error! in_order: comparision filed!"), std::string::npos);
}

TEST(RecordLists, CountTwoQubitRecordsBeforeOut) {
    std::list<Gate> gates = {Gate(IN, 0, 0, 0, -1, 0, 0),  Gate(H, 0, 0, 0, -1, 0, 4),
                             Gate(CNOT, 0, 0, 0, 0, 1, 5), Gate(CZ, 0, 0, 0, 0, 1, 6),
                             Gate(OUT, 0, 0, 0, -1, 0, 2), Gate(CNOT, 0, 0, 0, 0, 1, 7)};
    EXPECT_EQ(num_2Q_gate(gates), 2);
    std::list<Gate> only_out = {Gate(OUT, 0, 0, 0, -1, 0, 2)};
    EXPECT_EQ(num_2Q_gate(only_out), 0);
}
