#pragma once
// The physical operation count of a circuit kept per line, so that a count after a round
// re-prices only the lines the round edited (GraphCircuit::line_edits) instead of every vertex.
// Each gate vertex belongs to exactly one line's share: a one-qubit vertex to its line, a
// two-qubit vertex to its target line. Prices are whole numbers, so the shares add up to the
// same double in any order as long as the magnitudes stay below 2^53.

#include <cstdint>
#include <utility>
#include <vector>

#include "circuit/gate.h"

struct OpsTally {
    struct Share {
        bool valid = false;
        uint64_t edits = 0;      // the line's edit count when the share was priced
        double total = 0.0;      // sum of the prices of the line's vertices
        double magnitude = 0.0;  // sum of their absolute values
    };
    bool valid = false;
    PMD_type pmd = ND;
    std::vector<std::pair<int, int>> prices;  // (kind, price) of every table row, for `pmd`
    std::vector<Share> shares;                // per line
};
