// Differential test of the synthesis loops: the program's passes, which skip work on lines and
// windows that did not change, against the literal whole-line references, on random circuits of
// every netlist keyword on every description and on the shared benchmark circuits when they are
// beside the source tree. Output text, counts and global phase must agree byte for byte.

#include "support/reference_flow.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "circuit/fatal.h"
#include "support/random_netlist.h"
#include "support/test_env.h"

namespace {

const PMD_type kAllPmds[] = {QD, SC, IT, NA, LP, NP, CTL, FTS, ND};

// NOTE: what the passes print is not compared: the cost model reports gates it cannot price
// each time it is asked, and the literal references ask more often.
struct Outcome {
    reference::RunResult result;
};

Outcome run(const std::string& text, PMD_type pmd, const reference::Passes& passes) {
    GraphCircuit g("in.txt", pmd, qec_none, 0);
    std::string copy = text;
    testing::internal::CaptureStdout();
    g.read_netlist(copy);
    Outcome o;
    o.result = reference::synthesis_run(g, pmd, passes);
    testing::internal::GetCapturedStdout();
    return o;
}

// Compares the two runs of `text`; on a difference writes the input beside the test for replay.
void expect_same_as_reference(const std::string& text, PMD_type pmd, const std::string& label) {
    const Outcome program = run(text, pmd, reference::program_passes());
    const Outcome literal = run(text, pmd, reference::literal_passes());
    const bool same = program.result.text == literal.result.text &&
                      program.result.ops == literal.result.ops &&
                      program.result.cycles == literal.result.cycles;
    if (!same) testenv::write_file("failed_reference_" + label + ".txt", text);
    EXPECT_EQ(program.result.text, literal.result.text) << label;
    EXPECT_EQ(program.result.ops, literal.result.ops) << label;
    EXPECT_EQ(program.result.cycles, literal.result.cycles) << label;
}

class AgainstReference : public testing::TestWithParam<PMD_type> {};

TEST_P(AgainstReference, RandomCircuitsOfEveryKeyword) {
    const PMD_type pmd = GetParam();
    for (unsigned seed = 0; seed < 40; ++seed) {
        std::mt19937 rng(7000 + seed);
        const int qubits = 1 + static_cast<int>(seed % 6);
        const testrandom::RandomNetlist netlist =
            testrandom::random_netlist(rng, qubits, 12 + 3 * (seed % 8));
        // Read in time order, as the forward synthesis reads the input file.
        expect_same_as_reference(testrandom::netlist_text(netlist, /*reversed=*/true), pmd,
                                 std::string(pmd_keyword(pmd)) + "_" + std::to_string(seed));
    }
}

// Long lines, so that a line keeps changing in some places and not in others for many rounds.
TEST_P(AgainstReference, LongRandomCircuits) {
    const PMD_type pmd = GetParam();
    for (unsigned seed = 0; seed < 3; ++seed) {
        std::mt19937 rng(8100 + seed);
        const testrandom::RandomNetlist netlist =
            testrandom::random_netlist(rng, 3 + static_cast<int>(seed), 150);
        expect_same_as_reference(
            testrandom::netlist_text(netlist, true), pmd,
            std::string("long_") + pmd_keyword(pmd) + "_" + std::to_string(seed));
    }
}

// Published circuits small enough for a unit test (the comparison script covers all of them).
const char* const kSharedCircuits[] = {
    "qc/tof_3.txt",        "qc/barenco_tof_3.txt", "qc/mod5_4.txt",
    "qc/qft_4.txt",        "real/ham3_103.txt",    "real/4mod5-v0_19.txt",
    "real/rd32-v0_67.txt", "qasm/qaoa_n3.txt",     "qasm/vqe_n4.txt"};

TEST_P(AgainstReference, SharedBenchmarkCircuits) {
    const std::string folder = testenv::shared_bench_folder();
    if (folder.empty()) GTEST_SKIP() << "no shared benchmark circuits beside the source tree";
    for (const char* name : kSharedCircuits) {
        const std::string text = testenv::read_file(folder + name);
        ASSERT_FALSE(text.empty()) << name;
        std::string label = std::string(pmd_keyword(GetParam())) + "_" + name;
        for (char& ch : label)
            if (ch == '/') ch = '_';
        expect_same_as_reference(text, GetParam(), label);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, AgainstReference, testing::ValuesIn(kAllPmds),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });

}  // namespace
