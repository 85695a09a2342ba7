#pragma once
// Shared helpers of the mapping tests: the nine machine descriptions, fresh circuits, the gates
// a mapping appended (in appending order), and unitary comparisons with readable failures.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "circuit/graph_circuit.h"
#include "support/unitary.h"

namespace maptest {

inline const std::vector<PMD_type> kAllPmds = {QD, SC, IT, NA, LP, NP, ND, CTL, FTS};

inline std::unique_ptr<GraphCircuit> fresh_circuit(PMD_type pmd, int qubits) {
    auto c = std::make_unique<GraphCircuit>("mapping", pmd, qec_none, 0);
    c->set_dummy_node(qubits);
    return c;
}

/// Gate records of a circuit in the order they were appended (by vertex index), markers left out.
inline std::vector<Gate> appended_gates(GraphCircuit& c) {
    std::vector<Gate> gates;
    for (auto [it, end] = boost::vertices(c.graph); it != end; ++it) {
        Gate g = vertex_gate_record(c.graph, *it);
        if (g.index >= 2 * c.num_qubits) gates.push_back(g);
    }
    std::sort(gates.begin(), gates.end(),
              [](const Gate& a, const Gate& b) { return a.index < b.index; });
    return gates;
}

inline std::vector<Gate_type> appended_kinds(GraphCircuit& c) {
    std::vector<Gate_type> kinds;
    for (const Gate& g : appended_gates(c)) kinds.push_back(g.type);
    return kinds;
}

/// A record for sim::gates_unitary.
inline Gate one_q(Gate_type kind, int q, double angle = 0) {
    return Gate(kind, angle, 0, 0, -1, q, 0);
}
inline Gate two_q(Gate_type kind, int c, int t, double angle = 0) {
    return Gate(kind, angle, 0, 0, c, t, 0);
}

inline testing::AssertionResult exactly_equal(const sim::Unitary& got, const sim::Unitary& want) {
    if (sim::equal_exact(got, want)) return testing::AssertionSuccess();
    testing::AssertionResult r = testing::AssertionFailure();
    r << "max difference " << sim::max_difference(got, want) << " (up to phase "
      << sim::max_difference_up_to_phase(got, want) << ")";
    if (got.dim <= 8) r << "\ngot:\n" << sim::to_string(got) << "want:\n" << sim::to_string(want);
    return r;
}

inline std::string pmd_name(PMD_type pmd) {
    return pmd_keyword(pmd);
}

/// Test-name fragment for a double: 0.37 -> "0p37", -6 -> "m6".
inline std::string number_name(double x) {
    std::string s = std::to_string(x);
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.') s.pop_back();
    for (char& ch : s) {
        if (ch == '-') ch = 'm';
        if (ch == '.') ch = 'p';
    }
    return s;
}

}  // namespace maptest
