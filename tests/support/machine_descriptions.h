#pragma once
// The machine descriptions, for tests that run on every one of them, and their names for test
// names.

#include <string>
#include <vector>

#include "circuit/gate.h"

namespace testpmd {

/// Every machine description, in the order of the price-table columns.
inline const std::vector<PMD_type> kAllPmds = {QD, SC, IT, NA, LP, NP, ND, CTL, FTS};

/// \brief The description's keyword, as a test-name fragment.
inline std::string pmd_name(PMD_type pmd) {
    return pmd_keyword(pmd);
}

}  // namespace testpmd
