#include "optimise/phase_optimisation.h"

#include "optimise/commuting_cancellation.h"
#include "optimise/phase_folding.h"

namespace phases {

int optimise_phases(CircuitGraph& circuit) {
    int total = cancel_commuting_gates(circuit);
    for (;;) {
        const int removed = fold_phases(circuit) + cancel_commuting_gates(circuit);
        total += removed;
        if (removed == 0) return total;
    }
}

}  // namespace phases
