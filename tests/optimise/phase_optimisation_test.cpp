#include "optimise/phase_optimisation.h"

#include <gtest/gtest.h>

#include <random>

#include "circuit/fatal.h"
#include "support/circuit_views.h"
#include "support/random_netlist.h"
#include "support/unitary.h"

namespace {

// Random netlists of every keyword, read (and so mapped) for each description, then optimised
// at level 2: the circuit keeps its unitary, global phase included.
class PhaseOptimisation : public testing::TestWithParam<PMD_type> {};

TEST_P(PhaseOptimisation, RandomNetlistsOfEveryKeywordKeepTheirUnitaryExactly) {
    const PMD_type pmd = GetParam();
    FatalHandler previous = set_fatal_handler(throwing_fatal_handler);
    for (int seed = 0; seed < 80; ++seed) {
        std::mt19937 rng(5000u + 1000u * static_cast<unsigned>(pmd) + static_cast<unsigned>(seed));
        const int qubits = 1 + seed % 5;
        const testrandom::RandomNetlist netlist =
            testrandom::random_netlist(rng, qubits, 4 + seed % 12);
        std::string text = testrandom::netlist_text(netlist);
        GraphCircuit c("random", pmd, qec_none, 0);
        testing::internal::CaptureStdout();
        c.read_netlist(text);
        const sim::Unitary before = sim::circuit_unitary(c);
        const int gates = testview::gate_count(c);
        const int removed = phases::optimise_phases(c);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(testview::gate_count(c), gates - removed);
        if (!sim::equal_exact(sim::circuit_unitary(c), before, 1e-8)) {
            ADD_FAILURE() << "seed " << seed << " on " << pmd_keyword(pmd) << ":\n" << text;
            break;
        }
    }
    set_fatal_handler(previous);
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, PhaseOptimisation,
                         testing::Values(QD, SC, IT, NA, LP, NP, CTL, FTS),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

}  // namespace
