#include "driver/mapped_size.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "circuit/netlist_reader.h"
#include "circuit/netlist_text.h"

namespace {

// Angles (π/4) of the sample lines: a generic one, and one for each special row of the mapping.
constexpr double kSampleAngles[] = {0.3, 1, 2, 4, 6};

// Gates that `gate_line` appends on `pmd`, read into a scratch circuit of `qubits` lines named
// q0, q1, ...
double mapped_gates_of_line(PMD_type pmd, int qubits, const std::string& gate_line) {
    std::ostringstream text;
    text << ".qubit " << qubits << "\n";
    for (int q = 0; q < qubits; ++q) text << "qubit q" << q << "\n";
    text << ".begin\n" << gate_line << "\n.end\n";
    GraphCircuit scratch("", pmd, qec_none, 0);
    std::string copy = text.str();
    scratch.read_netlist(copy);
    // Every line has its IN and OUT markers, and the circuit one SOURCE and one SINK.
    return static_cast<double>(boost::num_vertices(scratch.graph)) - (2.0 * qubits + 2);
}

std::string estimate_problem(double estimate, long max_gates) {
    std::ostringstream problem;
    problem.precision(3);
    problem << "the circuit would grow to about " << estimate
            << " gates once mapped, more than the limit of " << max_gates
            << " (raise it with --max-gates N)";
    return problem.str();
}

}  // namespace

long default_max_gates() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0) return MappedSizeLimits::kFallbackMaxGates;
    const double bytes = static_cast<double>(pages) * static_cast<double>(page_size);
    const double gates = bytes * MappedSizeLimits::kMemoryShare / MappedSizeLimits::kBytesPerGate;
    return std::max(1L, static_cast<long>(gates));
}

double MappedGateCounts::sampled(std::string_view keyword, int qubits, int angles) {
    const auto key = std::make_pair(std::string(keyword), qubits + angles);
    const auto found = known_.find(key);
    if (found != known_.end()) return found->second;
    std::string operands;
    for (int q = 0; q < qubits; ++q) operands += " q" + std::to_string(q);
    double gates = 0;
    if (angles == 0) {
        gates = mapped_gates_of_line(pmd_, qubits, key.first + operands);
    } else {
        for (double angle : kSampleAngles) {
            std::string line = key.first + operands;
            for (int a = 0; a < angles; ++a) line += " " + netlist::format_exact(angle);
            gates = std::max(gates, mapped_gates_of_line(pmd_, qubits, line));
        }
    }
    known_.emplace(key, gates);
    return gates;
}

double MappedGateCounts::line(const std::vector<std::string_view>& tokens) {
    NetlistGateShape shape;
    if (!netlist_gate_shape(tokens[0], shape)) return 0;
    const int operands = static_cast<int>(tokens.size()) - 1;
    if (!shape.list) {
        if (operands < shape.qubits + shape.angles) return 0;
        return sampled(tokens[0], shape.qubits, shape.angles);
    }
    const int controls = operands - 1;
    if (operands < shape.qubits || controls > kMaxListGateControls) return 0;
    constexpr int kLast = MappedSizeLimits::kSampledControls;
    if (controls <= kLast) return sampled(tokens[0], operands, 0);
    // c(m) = A·2^m + B, so c(m) = c(k) + (c(k) − c(k − 1))·(2^(m − k + 1) − 2).
    const double last = sampled(tokens[0], kLast + 1, 0);
    const double before = sampled(tokens[0], kLast, 0);
    return last + (last - before) * (std::ldexp(1.0, controls - kLast + 1) - 2);
}

void check_mapped_size(const std::string& text, long max_gates, PMD_type pmd,
                       const std::vector<int>& qasm_lines) {
    MappedGateCounts chosen(pmd);
    MappedGateCounts pre_synthesis(ND);
    netlist::LineReader lines(text);
    std::vector<std::string_view> tokens;
    std::string_view line;
    bool in_gates = false;
    double on_chosen = 0, on_pre_synthesis = 0;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (tokens.empty() || netlist::is_comment(tokens)) continue;
        if (tokens[0] == ".end") return;
        if (tokens[0] == ".begin") {
            in_gates = true;
            continue;
        }
        if (!in_gates) continue;
        on_chosen += chosen.line(tokens);
        if (pmd != ND) on_pre_synthesis += pre_synthesis.line(tokens);
        const double estimate = std::max(on_chosen, on_pre_synthesis);
        if (estimate <= static_cast<double>(max_gates)) continue;
        const size_t k = static_cast<size_t>(lines.line_number()) - 1;
        if (k < qasm_lines.size())
            fatal_error("QASM line " + std::to_string(qasm_lines[k]) + ": " +
                        estimate_problem(estimate, max_gates));
        netlist::line_error(lines.line_number(), line, estimate_problem(estimate, max_gates));
    }
}
