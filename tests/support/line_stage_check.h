#pragma once
// A property check shared by the tests of the one-qubit line stages: on random lines, a stage
// keeps the unitary (with the phase it records) and the incremental strategy gives the line the
// literal reference strategy gives.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "optimise/line_reduction.h"
#include "support/circuit_views.h"
#include "support/gate_lists.h"
#include "support/random_circuits.h"
#include "support/unitary.h"

namespace testline {

/// A one-line circuit priced by kind (testgates::price_by_kind), so that rewrites raise or lower
/// the cost and the best copy matters.
struct PricedLine {
    GraphCircuit c;
    explicit PricedLine(PMD_type pmd = CTL) : c("line", pmd, qec_none, 0) {
        c.set_dummy_node(1);
        testgates::price_by_kind(c);
    }
};

/// A stage over a whole line copy with a cost mode and a strategy.
using Stage = std::function<void(GraphCircuit&, LineOfGates&, int mode, line::Strategy)>;

struct StageCase {
    const char* name;
    int seed;  // added to the random seed, so that every stage sees its own lines
    Stage run;
};

/// \brief Runs `stage` on 300 random lines (lengths 0 to 39) of a one-line circuit priced by
/// kind on `pmd`; fails at the first line whose unitary changes or that the two strategies
/// leave differently.
inline void check_stage_on_random_lines(const StageCase& stage, int mode, PMD_type pmd) {
    PricedLine priced(pmd);
    GraphCircuit& c = priced.c;
    std::mt19937 rng(1234 + stage.seed * 7 + mode);
    for (int trial = 0; trial < 300; ++trial) {
        LineOfGates before = testrandom::random_line(rng, trial % 40);
        LineOfGates fast = before, literal = before;
        stage.run(c, fast, mode, line::Strategy::Incremental);
        stage.run(c, literal, mode, line::Strategy::Literal);
        ASSERT_TRUE(sim::equal_exact(sim::line_unitary(before), sim::line_unitary(fast)))
            << stage.name << " changed the unitary of\n  " << testview::dump(before) << "\ninto\n  "
            << testview::dump(fast);
        ASSERT_EQ(fast, literal) << stage.name << " differs from the reference on\n  "
                                 << testview::dump(before) << "\nincremental "
                                 << testview::dump(fast) << "\nliteral     "
                                 << testview::dump(literal);
    }
}

}  // namespace testline
