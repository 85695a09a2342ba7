#include "optimise/phase_folding.h"

#include <gtest/gtest.h>

#include <random>

#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/unitary.h"
#include "support/unitary_assertions.h"

using testgates::build;
using testgates::parse_gates;

namespace {

struct FoldCase {
    const char* name;
    int qubits;
    const char* gates;
    const char* left;  // testview::line_walk_text after the pass
    double phase;      // global phase after the pass, in π
};

void PrintTo(const FoldCase& c, std::ostream* out) {
    *out << c.gates;
}

class Folding : public testing::TestWithParam<FoldCase> {};

TEST_P(Folding, MergesEachParityTermExactly) {
    const FoldCase& fold = GetParam();
    GraphCircuit c("fold", CTL, qec_none, 0);
    build(c, fold.qubits, parse_gates(fold.gates));
    const sim::Unitary before = sim::circuit_unitary(c);
    phases::fold_phases(c);
    EXPECT_EQ(testview::line_walk_text(c), fold.left);
    EXPECT_DOUBLE_EQ(c.global_phase, fold.phase);
    EXPECT_TRUE(sim::exactly_equal(sim::circuit_unitary(c), before));
}

const FoldCase kFolds[] = {
    // x0⊕x1 is on line 1 before and after a CNOT pair that the cancellation cannot see through.
    {"ParityAcrossCnots", 2, "CNOT 0 1; T 1; CNOT 0 1; CNOT 0 1; T 1",
     "0: CNOT[0,1] CNOT[0,1] CNOT[0,1] | 1: CNOT[0,1] S CNOT[0,1] CNOT[0,1]", 0},
    // T on the complement of x0 is e^{iπ/4}·T_dag on x0.
    {"ComplementedParity", 1, "T 0; X 0; T 0", "0: X", 0.25},
    {"OddHalfTurnOfRxComplements", 1, "S 0; RX 0 4; S 0", "0: RX(4)", 0.5},
    {"ParityFollowsASwap", 2, "T 0; SWAP 0 1; T 1", "0: S SWAP[0,1] | 1: SWAP[0,1]", 0},
    {"DiagonalTwoQubitGatesStayAndPass", 2, "T 1; CZ 0 1; CP 0 1 1; T 1",
     "0: CZ[0,1] CP[0,1](1) | 1: S CZ[0,1] CP[0,1](1)", 0},
    {"FractionalAnglesAdd", 2, "RZ 1 0.25; CNOT 0 1; CNOT 1 0; CNOT 0 1; RZ 0 0.5",
     "0: CNOT[0,1] CNOT[1,0] CNOT[0,1] | 1: RZ(0.75) CNOT[0,1] CNOT[1,0] CNOT[0,1]", 0},
    {"HadamardStartsAVariable", 1, "T 0; H 0; T 0", "0: T H T", 0},
    {"UnmodelledGateStartsAVariable", 1, "T 0; RY 0 1; T 0", "0: T RY(1) T", 0},
    {"TermsSummingToNothingGo", 2, "T 0; CNOT 0 1; T_dag 0", "0: CNOT[0,1] | 1: CNOT[0,1]", 0},
};

INSTANTIATE_TEST_SUITE_P(Terms, Folding, testing::ValuesIn(kFolds),
                         [](const testing::TestParamInfo<FoldCase>& info) {
                             return std::string(info.param.name);
                         });

// Random circuits of the gates the pass models and a few it does not, with more than 128 path
// variables in some (where the keys are pseudo-random).
std::vector<Gate> random_phase_circuit(std::mt19937& rng, int qubits, int n) {
    static const char* const kinds[] = {"CNOT", "T", "T_dag", "S",  "Z",  "RZ", "X",
                                        "RX4",  "H", "SWAP",  "CZ", "CP", "RY", "T"};
    std::vector<Gate> gates;
    std::uniform_int_distribution<int> line(0, qubits - 1);
    for (int i = 0; i < n; ++i) {
        const std::string kind = kinds[rng() % (sizeof kinds / sizeof *kinds)];
        if (qubits == 1 && (kind == "CNOT" || kind == "SWAP" || kind == "CZ" || kind == "CP"))
            continue;
        const int a = line(rng);
        int b = (a + 1 + static_cast<int>(rng() % 3)) % qubits;
        if (b == a) b = (a + 1) % qubits;
        const double angle = static_cast<double>(rng() % 17) / 4 - 2;
        if (kind == "CNOT") gates.push_back(testgates::two_q(CNOT, a, b));
        if (kind == "SWAP") gates.push_back(testgates::two_q(SWAP, a, b));
        if (kind == "CZ") gates.push_back(testgates::two_q(CZ, a, b));
        if (kind == "CP") gates.push_back(testgates::two_q(CP, a, b, angle));
        if (kind == "T") gates.push_back(testgates::one_q(T, a));
        if (kind == "T_dag") gates.push_back(testgates::one_q(T_dag, a));
        if (kind == "S") gates.push_back(testgates::one_q(S, a));
        if (kind == "Z") gates.push_back(testgates::one_q(Z, a));
        if (kind == "RZ") gates.push_back(testgates::one_q(RZ, a, angle));
        if (kind == "X") gates.push_back(testgates::one_q(X, a));
        if (kind == "RX4") gates.push_back(testgates::one_q(RX, a, 4.0 * (1 + rng() % 3)));
        if (kind == "H") gates.push_back(testgates::one_q(H, a));
        if (kind == "RY") gates.push_back(testgates::one_q(RY, a, angle));
    }
    return gates;
}

TEST(Folding, RandomCircuitsKeepTheirUnitaryExactlyAndNeverGrow) {
    for (int seed = 0; seed < 200; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed));
        const int qubits = 1 + seed % 4;
        const std::vector<Gate> gates = random_phase_circuit(rng, qubits, 5 + seed % 7 * 60);
        GraphCircuit c("random", CTL, qec_none, 0);
        build(c, qubits, gates);
        const sim::Unitary before = sim::circuit_unitary(c);
        const int removed = phases::fold_phases(c);
        EXPECT_EQ(testview::gate_count(c), static_cast<int>(gates.size()) - removed);
        if (!sim::equal_exact(sim::circuit_unitary(c), before)) {
            ADD_FAILURE() << testgates::dump_failure("failed_fold_" + std::to_string(seed) + ".txt",
                                                     qubits, gates);
            break;
        }
        EXPECT_EQ(phases::fold_phases(c), 0) << "a second fold finds nothing, seed " << seed;
    }
}

// Far more than 128 path variables: the later ones have pseudo-random keys.
TEST(Folding, ManyPathVariablesStayExact) {
    std::mt19937 rng(11);
    std::vector<Gate> gates;
    const Gate_type kinds[] = {H, H, T, T_dag, S, CNOT, X};
    for (int i = 0; i < 2000; ++i) {
        const Gate_type kind = kinds[rng() % 7];
        const int a = static_cast<int>(rng() % 3);
        if (kind == CNOT)
            gates.push_back(testgates::two_q(CNOT, a, (a + 1) % 3));
        else
            gates.push_back(testgates::one_q(kind, a));
    }
    GraphCircuit c("variables", CTL, qec_none, 0);
    build(c, 3, gates);
    const sim::Unitary before = sim::circuit_unitary(c);
    EXPECT_GT(phases::fold_phases(c), 0);
    EXPECT_TRUE(sim::exactly_equal(sim::circuit_unitary(c), before));
}

}  // namespace
