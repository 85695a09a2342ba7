#pragma once
// The synthesis loops of one run (reduce lines and two-qubit pairs while the operation count
// falls, decompose the named gates, reduce again, shorten the critical path while the cycle
// count falls) over a set of passes, so that the same loops can run on the program's passes and
// on the literal whole-line references below, and their results be compared text for text.

#include <string>

#include "circuit/graph_circuit.h"

namespace reference {

/// The passes and counts the loops use.
struct Passes {
    void (*reduce_lines)(GraphCircuit&);
    void (*reduce_pairs)(GraphCircuit&);
    void (*reduce_critical)(GraphCircuit&);
    double (*ops)(GraphCircuit&, PMD_type);
    double (*cycles)(GraphCircuit&, PMD_type);
};

/// \brief The program's own passes (GraphCircuit members).
Passes program_passes();

/// \brief The literal references: every line copied, reduced as a whole and written back on
/// every call; the two-qubit sweep over every vertex; the operation count summed over every
/// gate vertex in time order. The critical
/// path reduction is the program's.
/// NOTE: its window-by-window reference (reduce_critical_windows_literal) gives the same lines
/// and phase (tests/optimise/critical_reduction_test.cpp checks that) but creates the rebuilt
/// vertices in another order, which changes the order in which independent gates are written;
/// so it cannot serve in a text-for-text comparison of whole runs.
Passes literal_passes();

/// \brief Operation count by its definition: every gate vertex priced in time order.
double literal_num_ops(GraphCircuit& c, PMD_type pmd);

struct RunResult {
    double ops = 0, cycles = 0;
    std::string text;  // output_circuit_in_string() after the run
};

/// \brief One synthesis run as the driver makes it (named gates decomposed between the two
/// reduction loops), on a circuit already read.
RunResult synthesis_run(GraphCircuit& g, PMD_type pmd, const Passes& passes);

}  // namespace reference
