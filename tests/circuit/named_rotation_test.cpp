#include "circuit/named_rotation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "support/unitary.h"

// Every named kind equals e^{iπ·phase}·rotation(angle) exactly, global phase included: a sign
// slip in one row (Y is the easy one to get wrong) would flip the sign of every circuit using it.
TEST(NamedRotation, EachRowEqualsItsGateWithThePhase) {
    for (Gate_type kind : {X, Y, Z, S, S_dag, T, T_dag}) {
        const NamedRotation* row = named_rotation(kind);
        ASSERT_NE(row, nullptr) << kind;
        EXPECT_EQ(row->kind, kind);
        const sim::Mat2 named = sim::one_qubit_matrix(kind, 0);
        const sim::Mat2 rotation = sim::one_qubit_matrix(row->rotation, row->angle);
        const sim::Complex phase = std::polar(1.0, M_PI * row->phase);
        for (int k = 0; k < 4; ++k)
            EXPECT_LT(std::abs(phase * rotation[k] - named[k]), 1e-12) << kind << " entry " << k;
    }
}

TEST(NamedRotation, OtherKindsHaveNoRow) {
    for (Gate_type kind : {I, H, RX, RY, RZ, RXY, ASQU, CNOT, ISWAP, IN, OUT})
        EXPECT_EQ(named_rotation(kind), nullptr) << kind;
}
