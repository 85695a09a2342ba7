#include "optimise/phase_optimisation.h"

#include "optimise/commuting_cancellation.h"
#include "optimise/phase_folding.h"

namespace phases {

// A fold leaves one rotation per term, so folding again finds something only after the
// cancellation has changed the circuit.
int optimise_phases(CircuitGraph& circuit) {
    int total = cancel_commuting_gates(circuit);
    for (;;) {
        const int folded = fold_phases(circuit);
        total += folded;
        if (folded == 0) return total;
        const int cancelled = cancel_commuting_gates(circuit);
        total += cancelled;
        if (cancelled == 0) return total;
    }
}

}  // namespace phases
