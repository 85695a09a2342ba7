// The synthesis flow. Every attempt builds a fresh circuit from a netlist text; circuits hand
// results to each other only as texts. The input file lists gates in operator order (first line
// applied last): its reversed text, read in time order, is the circuit (forward); its inverted
// text, read in time order, is the inverse circuit (backward).

#include "driver/synthesis_flow.h"

#include <time.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "circuit/netlist_rewrite.h"
#include "circuit/netlist_text.h"
#include "circuit/netlist_writer.h"
#include "circuit/qasm_reader.h"
#include "circuit/text_file.h"
#include "driver/mapped_size.h"
#include "driver/progress.h"
#include "optimise/phase_optimisation.h"
#include "optimise/toffoli_form.h"

namespace {

enum class Direction { Forward, Backward };
enum class NamedGates { Decompose, Keep };

// Nanoseconds on the monotonic clock.
long long monotonic_nanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::unique_ptr<GraphCircuit> read_circuit(const Settings& s, const std::string& text, PMD_type pmd,
                                           qecCode code, int level) {
    auto circuit = std::make_unique<GraphCircuit>(s.input_file, pmd, code, level);
    std::string copy = text;
    circuit->read_netlist(copy);
    return circuit;
}

std::string reversed(std::string text) {
    std::string out;
    reverse_netlist(text, out);
    return out;
}

std::string inverted(std::string text) {
    std::string out;
    inverse_netlist(text, out);
    return out;
}

// Repeats reduce1Qgate and reduce2Qgate while the operation count strictly falls below `ops`
// (the body runs at least once); returns the last count measured.
double reduce_while_ops_fall(GraphCircuit& g, PMD_type pmd, double ops, ProgressMeter& progress) {
    for (;;) {
        g.reduce1Qgate();
        g.reduce2Qgate();
        const double m = g.num_ops(pmd);
        progress.round(m, "ops");
        if (!(m < ops)) return m;
        ops = m;
    }
}

// Repeats reduce1Qgate alone while the operation count strictly falls.
double reduce_lines_while_ops_fall(GraphCircuit& g, PMD_type pmd, double ops,
                                   ProgressMeter& progress) {
    for (;;) {
        g.reduce1Qgate();
        const double m = g.num_ops(pmd);
        progress.round(m, "ops");
        if (!(m < ops)) return m;
        ops = m;
    }
}

// One synthesis run on a circuit already read: reduce, decompose the named gates, reduce again,
// then shorten the critical path while the cycle count falls.
Counts synthesis_run(GraphCircuit& g, PMD_type pmd, NamedGates named, ProgressMeter& progress) {
    double ops = g.num_ops(pmd);
    double cycles = g.num_cycles(pmd);
    ops = reduce_while_ops_fall(g, pmd, ops, progress);
    if (named == NamedGates::Decompose) g.decompose_XYZSTH_gate();
    reduce_while_ops_fall(g, pmd, ops, progress);
    double last_cycles;
    for (;;) {
        g.reduce_critical();
        last_cycles = g.num_cycles(pmd);
        progress.round(last_cycles, "cycles");
        if (!(last_cycles < cycles)) break;
        cycles = last_cycles;
    }
    // The circuit is as the last count found it.
    return {g.num_ops(pmd), last_cycles};
}

// A netlist file text (gates in time order, as netlist_file_text gives it) in the input's
// orientation: the bytes that writing the netlist file and then reversing (forward) or inverting
// (backward) it in place would leave.
std::string oriented(const std::string& file_text, Direction direction) {
    std::string text = file_text;
    std::string out;
    if (direction == Direction::Forward)
        reverse_netlist(text, out);
    else
        inverse_netlist(text, out);
    return out;
}

// What an input file may hold: lines of a netlist's length (QASM statements may be longer), and
// kInputBytesPerGate bytes for each gate the limit allows (a netlist line is at most 100 bytes)
// beyond kInputBytesFloor for declarations and comments.
constexpr size_t kInputBytesPerGate = 128;
constexpr size_t kInputBytesFloor = 1 << 20;
ReadBounds input_read_bounds(long max_gates, bool qasm) {
    ReadBounds bounds;
    if (!qasm) bounds.line_length = netlist::kMaxLineLength;
    const size_t gates = static_cast<size_t>(std::max(0L, max_gates));
    const size_t most = static_cast<size_t>(-1);
    bounds.bytes = gates > (most - kInputBytesFloor) / kInputBytesPerGate
                       ? most
                       : kInputBytesFloor + kInputBytesPerGate * gates;
    return bounds;
}

void write_side_file(const std::string& file, const std::string& text) {
    if (write_text_file_atomically(file, text) != WriteStatus::Written)
        fatal_error("File open failed when writing " + file + "! (" + write_failure_cause() + ")");
}

// The pre-synthesis under ND. Nothing uses its circuit: it runs for what its passes report.
void pre_synthesis(const Settings& s, const std::string& forward_text, ProgressMeter& progress) {
    auto g = read_circuit(s, forward_text, ND, qec_none, 0);
    std::cout << "Pre Synthesis..." << std::endl;
    progress.phase("pre-synthesis");
    int previous = static_cast<int>(g->num_ops(ND));
    g->num_cycles(ND);
    for (;;) {
        g->reduce1Qgate();
        g->reduce2Qgate();
        const int m = static_cast<int>(g->num_ops(ND));
        progress.round(m, "ops");
        if (!(m < previous)) break;
        previous = m;
    }
    g->num_ops(ND);
    g->num_cycles(ND);
}

struct FaultTolerantResult {
    std::string best_text;    // converted circuit, winner's orientation
    std::string final_text;   // after the last synthesis
    std::string output_text;  // the output file's text
    Counts converted;         // before the last synthesis (with the code)
    Counts last;              // after it
    int cache_hits = 0;
    int cache_misses = 0;
    int unconverted = 0;
    bool angle_log_failed = false;
};

FaultTolerantResult fault_tolerant_conversion(const Settings& s, const std::string& best_text,
                                              Direction direction, ProgressMeter& progress) {
    FaultTolerantResult r;
    {
        auto gt = read_circuit(s, best_text, FTS, qec_none, 0);
        std::cout << "Start FT conversion!" << std::endl;
        progress.step("fault-tolerant conversion");
        write_side_file(kBeforeConversionFile, netlist_file_text(*gt));
        gt->convert_FT(s.threshold, s.ft_mode, s.ft_method);
        gt->convert_to_CTL();
        r.best_text = gt->output_circuit_in_string();
        r.cache_hits = gt->ft_cache_hits;
        r.cache_misses = gt->ft_cache_misses;
        r.unconverted = gt->ft_unconverted;
        r.angle_log_failed = gt->ft_log_failed;
    }
    {
        auto gq = read_circuit(s, r.best_text, s.pmd, s.code, s.level);
        r.converted = {gq->num_ops(s.pmd), gq->num_cycles(s.pmd)};
    }
    std::string text2;
    {
        auto gl = read_circuit(s, r.best_text, s.pmd, qec_none, 0);
        gl->reduce1Qgate();
        text2 = gl->output_circuit_in_string();
    }
    std::string text3;
    {
        auto g4 = read_circuit(s, text2, s.pmd, s.code, s.level);
        const double a = g4->num_ops(s.pmd);
        progress.phase("line reduction after the conversion");
        const double m = reduce_lines_while_ops_fall(*g4, s.pmd, a, progress);
        if (s.pmd != CTL) g4->decompose_XYZSTH_gate();
        reduce_lines_while_ops_fall(*g4, s.pmd, m, progress);
        text3 = g4->output_circuit_in_string();
    }
    auto g5 = read_circuit(s, text3, s.pmd, s.code, s.level);
    std::cout << "Last Synthesis..." << std::endl;
    progress.phase("last synthesis");
    r.last = synthesis_run(*g5, s.pmd, s.pmd == CTL ? NamedGates::Keep : NamedGates::Decompose,
                           progress);
    NetlistTexts texts = netlist_texts(*g5, g5->pmd);
    r.output_text = oriented(texts.file, direction);
    r.final_text = std::move(texts.string);
    return r;
}

// Level 2: the input (operator order) with its gates as CNOTs and rotations (read under NP from
// the Toffoli form), phases folded and commuting gates cancelled, again in operator order.
std::string phase_optimised(const Settings& s, const std::string& input_text) {
    auto g = read_circuit(s, reversed(phases::toffoli_form(input_text)), NP, qec_none, 0);
    phases::optimise_phases(*g);
    return reversed(g->output_circuit_in_string());
}

Counts physical_counts(const Settings& s, const std::string& text) {
    // An empty text (no conversion) is an empty circuit.
    if (text.empty()) return {0, 0};
    auto g = read_circuit(s, text, s.pmd, qec_none, 0);
    return {g->num_ops(s.pmd), g->num_cycles(s.pmd)};
}

}  // namespace

SynthesisResult run_synthesis(const Settings& s) {
    SynthesisResult result;
    result.settings = s;
    ProgressMeter progress = ProgressMeter::for_terminal();
    std::cout << "read input file= " << s.input_file << std::endl;
    const long long start = monotonic_nanoseconds();
    const bool qasm_input = is_qasm_file_name(s.input_file);
    const ReadBounds bounds = input_read_bounds(s.max_gates, qasm_input);
    std::string input_text;
    const ReadStatus read = read_text_file(s.input_file, input_text, bounds);
    if (read == ReadStatus::Failed) fatal_error_stderr("Cannot read input file: " + s.input_file);
    if (read == ReadStatus::TooLarge)
        fatal_error("The input file holds more than " + std::to_string(bounds.bytes) +
                    " bytes, more than --max-gates " + std::to_string(s.max_gates) +
                    " allows: " + s.input_file);
    // A run that cannot put its result in place fails before the work, not after it.
    if (!output_path_writable(s.output_file))
        fatal_error("File open failed when writing result! (" + write_failure_cause() + ")");

    QasmTranslation qasm;  // of a QASM input
    if (qasm_input) {
        qasm = qasm_to_netlist(input_text, s.max_gates);
        input_text = std::move(qasm.netlist);
        if (qasm.measurements > 0)
            std::cout
                << "Note: " << qasm.measurements
                << " measure statement(s) kept; the measurements follow the synthesised circuit"
                << std::endl;
    } else {
        netlist::check_line_lengths(input_text);
    }
    // NOTE: a translated QASM file is bounded as the netlist it became.
    check_mapped_size(input_text, s.max_gates, s.pmd, qasm.qasm_lines);
    result.input_netlist = input_text;

    std::string forward_text = reversed(input_text);
    {
        auto g0 = read_circuit(s, forward_text, s.pmd, qec_none, 0);
        result.initial = {g0->num_ops(s.pmd), g0->num_cycles(s.pmd)};
    }
    if (s.optimise == OptimiseLevel::Phases) {
        input_text = phase_optimised(s, input_text);
        check_mapped_size(input_text, s.max_gates, s.pmd);
        forward_text = reversed(input_text);
    }
    pre_synthesis(s, forward_text, progress);

    // The forward circuit's results are kept as texts so that only one circuit is alive at a
    // time.
    Counts forward;
    std::string forward_best;
    std::string forward_file;
    {
        auto gf = read_circuit(s, forward_text, s.pmd, qec_none, 0);
        std::cout << "Forward Synthesis..." << std::endl;
        progress.phase("forward synthesis");
        forward = synthesis_run(*gf, s.pmd, NamedGates::Decompose, progress);
        // With a conversion the output file is written from the converted circuit, so the
        // file text of an attempt is built only without one.
        if (s.converts()) {
            forward_best = gf->output_circuit_in_string();
        } else {
            NetlistTexts texts = netlist_texts(*gf, gf->pmd);
            forward_best = std::move(texts.string);
            forward_file = std::move(texts.file);
        }
    }
    auto gb = read_circuit(s, inverted(input_text), s.pmd, qec_none, 0);
    std::cout << "Backward Synthesis..." << std::endl;
    progress.phase("backward synthesis");
    const Counts backward = synthesis_run(*gb, s.pmd, NamedGates::Decompose, progress);

    result.forward_wins = backward.ops > forward.ops ||
                          (backward.ops == forward.ops && backward.cycles >= forward.cycles);
    const Direction direction = result.forward_wins ? Direction::Forward : Direction::Backward;
    result.winner = result.forward_wins ? forward : backward;
    std::string best_text;
    if (result.forward_wins) {
        best_text = std::move(forward_best);
        if (!s.converts()) result.output_text = oriented(forward_file, Direction::Forward);
    } else if (s.converts()) {
        best_text = gb->output_circuit_in_string();
    } else {
        NetlistTexts texts = netlist_texts(*gb, gb->pmd);
        best_text = std::move(texts.string);
        result.output_text = oriented(texts.file, Direction::Backward);
    }
    gb.reset();
    forward_file.clear();

    std::string final_text;
    if (s.converts()) {
        FaultTolerantResult ft = fault_tolerant_conversion(s, best_text, direction, progress);
        best_text = std::move(ft.best_text);
        final_text = std::move(ft.final_text);
        result.output_text = std::move(ft.output_text);
        result.converted = ft.converted;
        result.last = ft.last;
        result.cache_hits = ft.cache_hits;
        result.cache_misses = ft.cache_misses;
        result.unconverted_rotations = ft.unconverted;
        result.angle_log_failed = ft.angle_log_failed;
    }
    if (s.code != qec_none) {
        result.logical_before = physical_counts(s, best_text);
        result.logical_after = physical_counts(s, final_text);
    }
    // The measurements of a QASM input end the output, as comment lines of its netlist.
    result.output_text += qasm.measurement_comments;
    result.seconds = static_cast<double>(monotonic_nanoseconds() - start) / 1e9;
    return result;
}

void print_report(const SynthesisResult& r, std::ostream& out) {
    const Settings& s = r.settings;
    out << (r.forward_wins ? "Forward is better!" : "Backward is better!") << std::endl;
    out << "nonFT Syn: #ops= " << r.initial.ops << " --> " << r.winner.ops << std::endl;
    out << "nonFT Syn: #cyc= " << r.initial.cycles << " --> " << r.winner.cycles << std::endl;
    if (s.converts()) {
        out << "Post FT Syn: #ops= " << r.converted.ops << " --> " << r.last.ops << std::endl;
        out << "Post FT Syn: #cyc= " << r.converted.cycles << " --> " << r.last.cycles << std::endl;
    }
    if (s.code != qec_none) {
        out << "QECC code: " << static_cast<int>(s.code) << std::endl;
        out << "QECC level: " << s.level << std::endl;
        out << "Logical #ops= " << r.logical_before.ops << " --> " << r.logical_after.ops
            << std::endl;
        out << "Logical #cyc= " << r.logical_before.cycles << " --> " << r.logical_after.cycles
            << std::endl;
    }
    out << "Cache hit: " << r.cache_hits << std::endl;
    out << "Cache miss: " << r.cache_misses << std::endl;
    if (r.cache_hits + r.cache_misses != 0)
        out << "Cache hit rate: "
            << 100.0 * r.cache_hits / static_cast<double>(r.cache_hits + r.cache_misses) << " %"
            << std::endl;
    if (r.unconverted_rotations > 0)
        out << "Error: " << r.unconverted_rotations
            << " rotation(s) left unconverted (no sequence within the threshold); the output "
               "holds them as they were"
            << std::endl;
    out << " ***Synthesis Time=" << r.seconds << "***" << std::endl;
}
