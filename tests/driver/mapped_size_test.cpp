// The mapped-size estimate: the count of each line is what the mapping really appends, on every
// description, never below it on random circuits of every keyword; the refusal names the line
// (or the QASM line), the estimate and the limit; the default limit follows the memory.

#include "driver/mapped_size.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/graph_circuit.h"
#include "circuit/netlist_text.h"
#include "circuit/netlist_writer.h"
#include "support/fatal_capture.h"
#include "support/netlist_builder.h"

namespace {

using testfatal::fatal_message;
using testnet::make_netlist;

constexpr PMD_type kAllPmds[] = {QD, SC, IT, NA, LP, NP, CTL, FTS, ND};

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

// The estimate of the gate lines of `text` on `pmd` alone.
double estimated_gates(const std::string& text, PMD_type pmd) {
    MappedGateCounts counts(pmd);
    netlist::LineReader lines(text);
    std::vector<std::string_view> tokens;
    std::string_view line;
    bool inside = false;
    double total = 0;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (tokens.empty() || tokens[0] == ".end") continue;
        if (inside) total += counts.line(tokens);
        if (tokens[0] == ".begin") inside = true;
    }
    return total;
}

// The smallest limit check_mapped_size accepts for `text` on `pmd`.
long smallest_accepted_limit(const std::string& text, PMD_type pmd) {
    long low = 1, high = 1L << 40;
    while (low < high) {
        const long mid = low + (high - low) / 2;
        testing::internal::CaptureStdout();
        const bool accepted = fatal_message([&] { check_mapped_size(text, mid, pmd); }).empty();
        testing::internal::GetCapturedStdout();
        if (accepted)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

std::string qubit_list(int first, int count) {
    std::string list;
    for (int q = first; q < first + count; ++q) list += " q" + std::to_string(q);
    return list;
}

struct LineCase {
    std::string line;
    bool special_angle;  // a row the mapping keeps for this angle: fewer gates than the estimate
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.line;
}

class MappedSizeLineTest : public testing::TestWithParam<LineCase> {};

// Exact per line and description, the three-qubit Toffoli and its list forms, and
// multi-controlled gates past the sampled controls (carried on by the doubling of their
// decomposition); at the special angles of CP and GEO, never below.
TEST_P(MappedSizeLineTest, IsWhatTheMappingAppends) {
    const std::string text = make_netlist(13, GetParam().line + "\n");
    for (PMD_type pmd : kAllPmds) {
        const double estimate = estimated_gates(text, pmd);
        const long mapped = mapped_gates(text, pmd);
        if (GetParam().special_angle)
            EXPECT_GE(estimate, mapped) << pmd_keyword(pmd) << ": " << GetParam().line;
        else
            EXPECT_EQ(estimate, mapped) << pmd_keyword(pmd) << ": " << GetParam().line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gates, MappedSizeLineTest,
    testing::Values(
        LineCase{"H q0", false}, LineCase{"T_dag q0", false}, LineCase{"RZ q0 0.3", false},
        LineCase{"ASQU q0 1 2 3", false}, LineCase{"CNOT q0 q1", false},
        LineCase{"CP q0 q1 0.7", false}, LineCase{"CP q0 q1 4", true},
        LineCase{"CP q0 q1 16", true}, LineCase{"GEO q0 q1 2", true},
        LineCase{"GEO q0 q1 -6", true}, LineCase{"ISWAP q0 q1 0.3", false},
        LineCase{"SWAP q0 q1", false}, LineCase{"ZENO_dag q0 q1", false},
        LineCase{"Toffoli q0 q1 q2", false}, LineCase{"PERES_dag q0 q1 q2", false},
        LineCase{"Fredkin q0 q1 q2", false}, LineCase{"MCT q0 q1", false},
        LineCase{"MCT q0 q1 q2 q3", false}, LineCase{"Toffoli q0 q1 q2 q3 q4", false},
        LineCase{"CkZ q0 q1 q2 q3 q4 q5", false}, LineCase{"MCT" + qubit_list(0, 10), false},
        LineCase{"CkZ" + qubit_list(0, 11), false}, LineCase{"Toffoli" + qubit_list(0, 12), false},
        LineCase{"MCT" + qubit_list(0, 13), false}));

// Random circuits of every keyword and random angles (special ones among them): the estimate
// is never below the circuit mapped, on every description.
TEST(MappedSize, IsNeverBelowTheMappedCircuitOnRandomCircuits) {
    const std::vector<std::string> fixed = {"I q0",
                                            "X q0",
                                            "Y q0",
                                            "Z q0",
                                            "H q0",
                                            "S q0",
                                            "S_dag q0",
                                            "T q0",
                                            "T_dag q0",
                                            "RX q0 @",
                                            "RY q0 @",
                                            "RZ q0 @",
                                            "RXY q0 @ @",
                                            "ASQU q0 @ @ @",
                                            "CNOT q0 q1",
                                            "CZ q0 q1",
                                            "SWAP q0 q1",
                                            "ZENO q0 q1",
                                            "ZENO_dag q0 q1",
                                            "CP q0 q1 @",
                                            "GEO q0 q1 @",
                                            "ISWAP q0 q1 @",
                                            "PERES q0 q1 q2",
                                            "PERES_dag q0 q1 q2",
                                            "Fredkin q0 q1 q2"};
    const double angles[] = {0.3, -1.25, 2, 4, 6, 8, -6, 3.75, 1e-9};
    std::mt19937 rng(23);
    for (int round = 0; round < 4; ++round) {
        std::string gates;
        for (int i = 0; i < 40; ++i) {
            std::string line;
            if (rng() % 5 == 0) {
                const char* lists[] = {"Toffoli", "MCT", "CkZ"};
                line =
                    std::string(lists[rng() % 3]) + qubit_list(0, 2 + static_cast<int>(rng() % 10));
            } else {
                line = fixed[rng() % fixed.size()];
            }
            std::string out;
            for (char ch : line) {
                if (ch == '@')
                    out += netlist::format_exact(angles[rng() % (sizeof angles / sizeof *angles)]);
                else
                    out += ch;
            }
            gates += out + "\n";
        }
        const std::string text = make_netlist(12, gates);
        for (PMD_type pmd : kAllPmds) {
            const long mapped = mapped_gates(text, pmd);
            EXPECT_GE(estimated_gates(text, pmd), mapped) << pmd_keyword(pmd) << "\n" << text;
        }
    }
}

TEST(MappedSize, CountsOnlyTheGateSectionAndNamesTheLinePassingTheLimit) {
    // Ten CNOT lines; header lines and comments count nothing. On CTL a CNOT is one gate, and the
    // pre-synthesis (ND) maps it to one as well.
    std::string gates;
    for (int i = 0; i < 10; ++i) gates += "# note\nCNOT q0 q1\n";
    const std::string text = make_netlist(2, gates) + "H q0\nH q0\n";  // after ".end": not read
    EXPECT_EQ(smallest_accepted_limit(text, CTL), 10);
    testing::internal::CaptureStdout();
    const std::string message = fatal_message([&] { check_mapped_size(text, 4, CTL); });
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(message,
              "Netlist line 14 (\"CNOT q0 q1\"): the circuit would grow to about 5 gates once "
              "mapped, more than the limit of 4 (raise it with --max-gates N)");
}

TEST(MappedSize, NamesTheQasmLineOfATranslatedCircuit) {
    const std::string text = make_netlist(2, "CNOT q0 q1\nCNOT q0 q1\nCNOT q0 q1\n");
    // Netlist lines 1..7: header (4 lines), then the gates from QASM lines 5, 9 and 12.
    const std::vector<int> qasm_lines = {1, 2, 3, 3, 5, 9, 12, 12};
    testing::internal::CaptureStdout();
    const std::string message = fatal_message([&] { check_mapped_size(text, 2, CTL, qasm_lines); });
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(message,
              "QASM line 12: the circuit would grow to about 3 gates once mapped, more than the "
              "limit of 2 (raise it with --max-gates N)");
}

TEST(MappedSize, PricesThePreSynthesisWhenItMapsToMore) {
    // A Toffoli is 9 gates on SC and 15 under ND, which the pre-synthesis maps the input to.
    const std::string text = make_netlist(3, "Toffoli q0 q1 q2\n");
    EXPECT_LT(estimated_gates(text, SC), estimated_gates(text, ND));
    EXPECT_EQ(smallest_accepted_limit(text, SC), static_cast<long>(estimated_gates(text, ND)));
}

TEST(MappedSize, DefaultLimitIsAShareOfPhysicalMemory) {
    const double memory =
        static_cast<double>(sysconf(_SC_PHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGE_SIZE));
    const double expected =
        memory * MappedSizeLimits::kMemoryShare / MappedSizeLimits::kBytesPerGate;
    EXPECT_NEAR(static_cast<double>(default_max_gates()), expected, 1.0);
}

}  // namespace
