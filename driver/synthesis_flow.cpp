// The synthesis flow. Every attempt builds a fresh circuit from a netlist text; circuits hand
// results to each other only as texts. The input file lists gates in operator order (first line
// applied last): its reversed text, read in time order, is the circuit (forward); its inverted
// text, read in time order, is the inverse circuit (backward).

#include "driver/synthesis_flow.h"

#include <time.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "circuit/netlist_rewrite.h"
#include "circuit/netlist_text.h"
#include "circuit/netlist_writer.h"
#include "circuit/text_file.h"

namespace {

struct Settings {
    std::string input_file;
    std::string output_file;
    PMD_type pmd = CTL;
    double threshold = 0.0;  // 0: no fault-tolerant conversion
    int ft_mode = 0;
    FtMethod ft_method = FtMethod::ByMode;  // NumberTheoretic for the word "grid"
    qecCode code = qec_none;
    int level = 0;
};

struct Counts {
    double ops = 0;
    double cycles = 0;
};

enum class Direction { Forward, Backward };
enum class NamedGates { Decompose, Keep };

constexpr const char* kUsage =
    "Format: <input_file> <output_file> <PMD> <threshold> <ft_mode> <code> <level>";

// Machine descriptions that the command line offers, in the order they are compared.
constexpr PMD_type kCommandLinePmds[] = {QD, SC, IT, NA, LP, NP, CTL, FTS};

qecCode code_from_number(long number) {
    switch (number) {
        case 0:
            return qec_code0;
        case 1:
            return qec_code1;
        case 2:
            return qec_code2;
        default:
            return qec_none;  // 3 and every other number: no code
    }
}

// Echoes the settings as given, then reads them. n = number of arguments after the program.
Settings read_arguments(int n, char** argv) {
    if (n >= 2 && n <= 7) {
        if (n == 2) std::cout << "Default PMD type: CTL" << std::endl;
        if (n <= 3) std::cout << "No FT conversion" << std::endl;
        if (n >= 4) std::cout << "FT threshold is set to: " << argv[4] << std::endl;
        const long ft_mode = n >= 5 ? std::strtol(argv[5], nullptr, 10) : 0;
        if (n >= 4) {
            if (n >= 5 && std::string(argv[5]) == "grid")
                std::cout << "Use number-theoretic FT synthesis" << std::endl;
            else if (ft_mode == 0)
                std::cout << "Use Brask FT search by default" << std::endl;
            else
                std::cout << "Use S-K algorithm, # iterations= " << ft_mode << std::endl;
        }
        if (n >= 6) std::cout << "QECC code is: " << argv[6] << std::endl;
        if (n == 6) std::cout << "Level is: " << 1 << std::endl;
        if (n == 7) std::cout << "Level is " << argv[7] << std::endl;
    }

    Settings s;
    s.input_file = argv[1];
    s.output_file = argv[2];
    if (n >= 3) {
        const std::string keyword = argv[3];
        bool known = false;
        for (PMD_type pmd : kCommandLinePmds) {
            if (keyword == pmd_keyword(pmd)) {
                s.pmd = pmd;
                known = true;
                std::cout << "PMD=" << pmd_keyword(pmd) << std::endl;
                break;
            }
        }
        if (!known) std::cout << "Not supported PMD type: " << keyword << std::endl;
    }
    if (n >= 4) s.threshold = std::strtod(argv[4], nullptr);
    // NOTE: "nan" and "inf" read as numbers; no conversion can meet such a precision.
    if (!std::isfinite(s.threshold))
        fatal_error(std::string("The threshold must be a finite number: ") + argv[4]);
    if (n >= 5) s.ft_mode = static_cast<int>(std::strtol(argv[5], nullptr, 10));
    if (n >= 5 && std::string(argv[5]) == "grid") s.ft_method = FtMethod::NumberTheoretic;
    if (n >= 6) {
        s.code = code_from_number(std::strtol(argv[6], nullptr, 10));
        s.level = n >= 7 ? static_cast<int>(std::strtol(argv[7], nullptr, 10)) : 1;
    }
    return s;
}

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
double reduce_while_ops_fall(GraphCircuit& g, PMD_type pmd, double ops) {
    for (;;) {
        g.reduce1Qgate();
        g.reduce2Qgate();
        const double m = g.num_ops(pmd);
        if (!(m < ops)) return m;
        ops = m;
    }
}

// Repeats reduce1Qgate alone while the operation count strictly falls.
double reduce_lines_while_ops_fall(GraphCircuit& g, PMD_type pmd, double ops) {
    for (;;) {
        g.reduce1Qgate();
        const double m = g.num_ops(pmd);
        if (!(m < ops)) return m;
        ops = m;
    }
}

// One synthesis run on a circuit already read: reduce, decompose the named gates, reduce again,
// then shorten the critical path while the cycle count falls.
Counts synthesis_run(GraphCircuit& g, PMD_type pmd, NamedGates named) {
    double ops = g.num_ops(pmd);
    double cycles = g.num_cycles(pmd);
    ops = reduce_while_ops_fall(g, pmd, ops);
    if (named == NamedGates::Decompose) g.decompose_XYZSTH_gate();
    reduce_while_ops_fall(g, pmd, ops);
    for (;;) {
        g.reduce_critical();
        const double c = g.num_cycles(pmd);
        if (!(c < cycles)) break;
        cycles = c;
    }
    return {g.num_ops(pmd), g.num_cycles(pmd)};
}

// Writes a netlist file text (gates in time order, as netlist_file_text gives it) to the output
// file in the input's orientation, in one atomic write: the same bytes as writing the netlist
// file and then reversing (forward) or inverting (backward) it in place, without a moment where
// the file holds the other orientation or a partial text.
void write_oriented(const std::string& file_text, const std::string& file, Direction direction) {
    std::string text = file_text;
    std::string oriented;
    if (direction == Direction::Forward)
        reverse_netlist(text, oriented);
    else
        inverse_netlist(text, oriented);
    switch (write_text_file_atomically(file, oriented)) {
        case WriteStatus::Written:
            return;
        case WriteStatus::OpenFailed:
            fatal_error("File open failed when writing result!");
        case WriteStatus::WriteFailed:
            fatal_error("Writing the result file failed: " + file);
    }
}

void write_output(GraphCircuit& g, const std::string& file, Direction direction) {
    write_oriented(netlist_file_text(g), file, direction);
}

void pre_synthesis(const Settings& s, const std::string& forward_text) {
    auto g = read_circuit(s, forward_text, ND, qec_none, 0);
    std::cout << "Pre Synthesis..." << std::endl;
    int previous = static_cast<int>(g->num_ops(ND));
    g->num_cycles(ND);
    for (;;) {
        g->reduce1Qgate();
        g->reduce2Qgate();
        const int m = static_cast<int>(g->num_ops(ND));
        if (!(m < previous)) break;
        previous = m;
    }
    g->num_ops(ND);
    g->num_cycles(ND);
    write_output(*g, s.output_file, Direction::Forward);
}

struct FaultTolerantResult {
    std::string best_text;   // converted circuit, winner's orientation
    std::string final_text;  // after the last synthesis
    Counts converted;        // before the last synthesis (with the code)
    Counts last;             // after it
    int cache_hits = 0;
    int cache_misses = 0;
};

FaultTolerantResult fault_tolerant_conversion(const Settings& s, const std::string& best_text,
                                              Direction direction) {
    FaultTolerantResult r;
    {
        auto gt = read_circuit(s, best_text, FTS, qec_none, 0);
        std::cout << "Start FT conversion!" << std::endl;
        gt->output_circuit("FT_before_converted.txt");
        gt->convert_FT(s.threshold, s.ft_mode, s.ft_method);
        gt->convert_to_CTL();
        r.best_text = gt->output_circuit_in_string();
        r.cache_hits = gt->ft_cache_hits;
        r.cache_misses = gt->ft_cache_misses;
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
        const double m = reduce_lines_while_ops_fall(*g4, s.pmd, a);
        if (s.pmd != CTL) g4->decompose_XYZSTH_gate();
        reduce_lines_while_ops_fall(*g4, s.pmd, m);
        text3 = g4->output_circuit_in_string();
    }
    auto g5 = read_circuit(s, text3, s.pmd, s.code, s.level);
    std::cout << "Last Synthesis..." << std::endl;
    r.last = synthesis_run(*g5, s.pmd, s.pmd == CTL ? NamedGates::Keep : NamedGates::Decompose);
    write_output(*g5, s.output_file, direction);
    r.final_text = g5->output_circuit_in_string();
    return r;
}

Counts physical_counts(const Settings& s, const std::string& text) {
    // An empty text (no conversion) is an empty circuit.
    if (text.empty()) return {0, 0};
    auto g = read_circuit(s, text, s.pmd, qec_none, 0);
    return {g->num_ops(s.pmd), g->num_cycles(s.pmd)};
}

}  // namespace

int run_marovin(int argc, char** argv) {
    const int n = argc - 1;
    if (n < 2) {
        std::cout << kUsage << std::endl;
        return 1;
    }
    const Settings s = read_arguments(n, argv);

    std::cout << "read input file= " << s.input_file << std::endl;
    const long long start = monotonic_nanoseconds();
    std::string input_text;
    if (!read_text_file(s.input_file, input_text))
        fatal_error_stderr("Cannot read input file: " + s.input_file);
    // NOTE: the output is written several times during a run; writing it over the input would
    // destroy the circuit being synthesised.
    if (same_existing_file(s.input_file, s.output_file))
        fatal_error("The output file is the input file, which would be overwritten: " +
                    s.output_file);

    netlist::check_line_lengths(input_text);

    const std::string forward_text = reversed(input_text);
    Counts initial;
    {
        auto g0 = read_circuit(s, forward_text, s.pmd, qec_none, 0);
        initial = {g0->num_ops(s.pmd), g0->num_cycles(s.pmd)};
    }
    pre_synthesis(s, forward_text);

    // The forward circuit's results are kept as texts so that only one circuit is alive at a
    // time.
    Counts forward;
    std::string forward_best;
    std::string forward_file;
    {
        auto gf = read_circuit(s, forward_text, s.pmd, qec_none, 0);
        std::cout << "Forward Synthesis..." << std::endl;
        forward = synthesis_run(*gf, s.pmd, NamedGates::Decompose);
        forward_best = gf->output_circuit_in_string();
        forward_file = netlist_file_text(*gf);
    }
    auto gb = read_circuit(s, inverted(input_text), s.pmd, qec_none, 0);
    std::cout << "Backward Synthesis..." << std::endl;
    const Counts backward = synthesis_run(*gb, s.pmd, NamedGates::Decompose);

    const bool forward_wins = backward.ops > forward.ops ||
                              (backward.ops == forward.ops && backward.cycles >= forward.cycles);
    const Direction direction = forward_wins ? Direction::Forward : Direction::Backward;
    const Counts winner = forward_wins ? forward : backward;
    std::string best_text;
    if (forward_wins) {
        best_text = std::move(forward_best);
        write_oriented(forward_file, s.output_file, Direction::Forward);
    } else {
        best_text = gb->output_circuit_in_string();
        write_output(*gb, s.output_file, Direction::Backward);
    }
    gb.reset();

    FaultTolerantResult ft;
    if (s.threshold != 0) ft = fault_tolerant_conversion(s, best_text, direction);
    if (s.threshold != 0) best_text = ft.best_text;

    std::cout << (forward_wins ? "Forward is better!" : "Backward is better!") << std::endl;
    std::cout << "nonFT Syn: #ops= " << initial.ops << " --> " << winner.ops << std::endl;
    std::cout << "nonFT Syn: #cyc= " << initial.cycles << " --> " << winner.cycles << std::endl;
    if (s.threshold != 0) {
        std::cout << "Post FT Syn: #ops= " << ft.converted.ops << " --> " << ft.last.ops
                  << std::endl;
        std::cout << "Post FT Syn: #cyc= " << ft.converted.cycles << " --> " << ft.last.cycles
                  << std::endl;
    }
    if (s.code != qec_none) {
        const Counts before = physical_counts(s, best_text);
        const Counts after = physical_counts(s, ft.final_text);
        std::cout << "QECC code: " << static_cast<int>(s.code) << std::endl;
        std::cout << "QECC level: " << s.level << std::endl;
        std::cout << "Logical #ops= " << before.ops << " --> " << after.ops << std::endl;
        std::cout << "Logical #cyc= " << before.cycles << " --> " << after.cycles << std::endl;
    }
    std::cout << "Cache hit: " << ft.cache_hits << std::endl;
    std::cout << "Cache miss: " << ft.cache_misses << std::endl;
    if (ft.cache_hits + ft.cache_misses != 0)
        std::cout << "Cache hit rate: "
                  << 100.0 * ft.cache_hits / static_cast<double>(ft.cache_hits + ft.cache_misses)
                  << " %" << std::endl;
    const double seconds = static_cast<double>(monotonic_nanoseconds() - start) / 1e9;
    std::cout << " ***Synthesis Time=" << seconds << "***" << std::endl;
    return 0;
}
