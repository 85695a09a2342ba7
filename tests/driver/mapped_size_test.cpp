// The mapped-size bound: never below what the mapping really appends, on every description, and
// the refusal names the line that passes the limit.

#include "driver/mapped_size.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "circuit/graph_circuit.h"
#include "circuit/netlist_writer.h"
#include "support/fatal_capture.h"
#include "support/netlist_builder.h"

namespace {

using testfatal::fatal_message;
using testnet::make_netlist;

// Gate lines of the circuit once mapped to `pmd`.
long mapped_gates(const std::string& text, PMD_type pmd) {
    GraphCircuit c("in.txt", pmd, qec_none, 0);
    std::string copy = text;
    c.read_netlist(copy);
    std::istringstream written(netlist_file_text(c));
    long gates = 0;
    bool inside = false;
    for (std::string line; std::getline(written, line);) {
        if (line == ".end") break;
        if (inside) ++gates;
        if (line == ".begin") inside = true;
    }
    return gates;
}

// The smallest limit check_mapped_size accepts for `text`.
long smallest_accepted_limit(const std::string& text) {
    long low = 1, high = 1L << 40;
    while (low < high) {
        const long mid = low + (high - low) / 2;
        testing::internal::CaptureStdout();
        const bool accepted = fatal_message([&] { check_mapped_size(text, mid); }).empty();
        testing::internal::GetCapturedStdout();
        if (accepted)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

class MappedSizeBoundTest : public testing::TestWithParam<std::string> {};

TEST_P(MappedSizeBoundTest, IsNeverBelowTheMappedCircuit) {
    const std::string text = make_netlist(9, GetParam() + "\n");
    const long bound = smallest_accepted_limit(text);
    for (PMD_type pmd : {QD, SC, IT, NA, LP, NP, CTL, FTS, ND})
        EXPECT_GE(bound, mapped_gates(text, pmd)) << pmd_keyword(pmd) << ": " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Gates, MappedSizeBoundTest,
                         testing::Values("H q0", "CNOT q0 q1", "ISWAP q0 q1 0.3", "SWAP q0 q1",
                                         "ZENO_dag q0 q1", "Toffoli q0 q1 q2", "PERES_dag q0 q1 q2",
                                         "Fredkin q0 q1 q2", "MCT q0 q1", "MCT q0 q1 q2 q3",
                                         "Toffoli q0 q1 q2 q3 q4", "CkZ q0 q1 q2 q3 q4 q5",
                                         "MCT q0 q1 q2 q3 q4 q5 q6 q7 q8",
                                         "CkZ q0 q1 q2 q3 q4 q5 q6 q7 q8"));

TEST(MappedSize, CountsOnlyTheGateSectionAndNamesTheLinePassingTheLimit) {
    // Ten gate lines of at most 25 gates; header lines and comments count nothing.
    std::string gates;
    for (int i = 0; i < 10; ++i) gates += "# note\nCNOT q0 q1\n";
    const std::string text = make_netlist(2, gates) + "H q0\nH q0\n";  // after ".end": not read
    EXPECT_EQ(smallest_accepted_limit(text), 250);
    testing::internal::CaptureStdout();
    const std::string message = fatal_message([&] { check_mapped_size(text, 100); });
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(message,
              "Netlist line 14 (\"CNOT q0 q1\"): the circuit would grow to about 125 gates once "
              "mapped, more than the limit of 100 (raise it with --max-gates N)");
}

}  // namespace
