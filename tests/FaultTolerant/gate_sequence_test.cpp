// The gate-sequence alphabet and the matrices with which gates enter a sequence or window
// product, checked against the test simulator's gate matrices.

#include "FaultTolerant/gate_sequence.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/unitary.h"

namespace {

struct LetterCase {
    char letter;
    Gate_type kind;
};

class GateSequenceLetter : public testing::TestWithParam<LetterCase> {};

// Every letter names its gate, and its factor is the gate's operator matrix transposed; the
// letter matrices are symmetric, which is what lets a string be inserted in time order.
TEST_P(GateSequenceLetter, NamesItsGateWithASymmetricFactor) {
    const LetterCase c = GetParam();
    Gate_type kind = RZ;
    ASSERT_TRUE(ft_letter_kind(c.letter, kind));
    EXPECT_EQ(kind, c.kind);
    EXPECT_FALSE(ft_is_grouping(c.letter));
    Gate gate;
    gate.type = kind;
    Matrix2 factor;
    ASSERT_TRUE(ft_window_factor(gate, factor));
    const sim::Mat2 op = sim::one_qubit_matrix(kind, 0);
    for (int r = 0; r < 2; ++r)
        for (int col = 0; col < 2; ++col) {
            EXPECT_LT(std::abs(factor(r, col) - op[2 * col + r]), 1e-15) << r << col;
            EXPECT_EQ(factor(r, col), factor(col, r));
        }
}

INSTANTIATE_TEST_SUITE_P(Alphabet, GateSequenceLetter,
                         testing::Values(LetterCase{'H', H}, LetterCase{'T', T},
                                         LetterCase{'t', T_dag}, LetterCase{'S', S},
                                         LetterCase{'s', S_dag}, LetterCase{'X', X},
                                         LetterCase{'Z', Z}, LetterCase{'I', I}));

TEST(GateSequence, GroupingAndUnknownLettersNameNoGate) {
    Gate_type kind = RZ;
    for (char c : {'(', ')', 'Y', 'h', 'x', ' ', '\0'}) {
        EXPECT_FALSE(ft_letter_kind(c, kind)) << c;
        EXPECT_EQ(kind, RZ);
    }
    EXPECT_TRUE(ft_is_grouping('('));
    EXPECT_TRUE(ft_is_grouping(')'));
}

// Rotations and the parametrised kinds enter transposed as well (angles in π/4); a kind without
// a one-qubit meaning gives false and the identity.
TEST(GateSequence, RotationFactorsAreTransposedOperators) {
    const Gate gates[] = {Gate(RX, 1.3, 0, 0, -1, 0, 0),    Gate(RY, 0.7, 0, 0, -1, 0, 0),
                          Gate(RZ, -0.6, 0, 0, -1, 0, 0),   Gate(Y, 0, 0, 0, -1, 0, 0),
                          Gate(RXY, 0.3, 1.1, 0, -1, 0, 0), Gate(ASQU, 0.4, 0.9, -1.3, -1, 0, 0)};
    for (const Gate& g : gates) {
        Matrix2 factor;
        ASSERT_TRUE(ft_window_factor(g, factor)) << g.type;
        const sim::Mat2 op = sim::one_qubit_matrix(g.type, g.angle, g.angle1, g.angle2);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                EXPECT_LT(std::abs(factor(r, c) - op[2 * c + r]), 1e-12) << g.type << r << c;
    }
    const sim::Mat2 rz = sim::one_qubit_matrix(RZ, 0.45);
    const Matrix2 m = ft_rz_matrix(0.45);
    for (int k = 0; k < 4; ++k) EXPECT_LT(std::abs(m.e[k] - rz[k]), 1e-15) << k;
    Matrix2 factor = matrix2_of(5, 5, 5, 5);
    EXPECT_FALSE(ft_window_factor(Gate(CNOT, 0, 0, 0, 0, 1, 0), factor));
    EXPECT_EQ(factor, matrix2_identity());
}

}  // namespace
