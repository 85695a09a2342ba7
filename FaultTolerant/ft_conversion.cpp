// Conversion of the fractional one-qubit rotations of a circuit to fault-tolerant sequences of
// H, T, T_dag, S, S_dag, X, Z (and I), taken from the sequence cache or found by the exhaustive
// search (mode 0) or Solovay-Kitaev (mode n, recursion depth n).

#include "FaultTolerant/ft_conversion.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>

#include "FaultTolerant/gate_sequence.h"
#include "FaultTolerant/grid/extended_real.h"
#include "FaultTolerant/grid/rz_approximation.h"
#include "FaultTolerant/pelmar/ftpelmar.h"
#include "FaultTolerant/tavex/tavex.h"
#include "circuit/fatal.h"
#include "circuit/named_rotation.h"
#include "optimise/line_reduction.h"

namespace {

/// The inverse gate of a letter: T and S are swapped with their adjoints; H, X, Z and I are their
/// own inverses.
Gate_type inverse_kind(Gate_type kind) {
    switch (kind) {
        case T:
            return T_dag;
        case T_dag:
            return T;
        case S:
            return S_dag;
        case S_dag:
            return S;
        default:
            return kind;
    }
}

bool is_finite_window(const std::list<Gate>::iterator first, const std::list<Gate>::iterator last) {
    for (auto it = first; it != last; ++it)
        if (!std::isfinite(it->angle) || !std::isfinite(it->angle1) || !std::isfinite(it->angle2))
            return false;
    return true;
}

FtSearch current_search = &ft_default_search;

std::string search_sequence(const Matrix2& target, double threshold, int ft_mode) {
    return current_search(target, threshold, ft_mode);
}

std::string format_double(double x) {
    std::ostringstream out;
    out << x;
    return out.str();
}

void report_no_sequence(const std::string& what) {
    std::cout << "Error! FT conversion found no sequence for " << what << "; gates kept unchanged"
              << std::endl;
}

// Appends `text` to the angle log and checks that every byte reached the file; on the first
// failure prints one "Error:" line with the system's reason and sets `failed`.
void append_to_angle_log(const std::string& text, bool& failed) {
    errno = 0;
    std::ofstream log(kAngleLogFile, std::ios::app);
    if (log) log << text << std::flush;
    if (log) log.close();
    if (log) return;
    const int cause = errno;
    failed = true;
    std::cout << "Error: writing " << kAngleLogFile << " failed ("
              << (cause != 0 ? std::strerror(cause) : "write error")
              << "); the log of mixed rotation windows is incomplete" << std::endl;
}

// True when the letters of a sequence for a rotation of `kind` by `angle` (π/4) are within
// `threshold` of it, recomputed in extended precision (RX and RY sequences are wrapped Z
// sequences: only the Z part of a cached RZ entry is checked directly).
bool within_threshold(const std::string& seq, Gate_type kind, double angle, double threshold) {
    if (kind != RZ) return true;
    const double d = grid::ft_sequence_distance_to_rz(seq, angle);
    return d >= 0 && d <= threshold;
}

void report_no_sequence(const std::string& what, int rotations, FtCache& cache) {
    report_no_sequence(what);
    cache.unconverted += rotations;
}

// The line's rotations whose angle the line normalisation takes into [0, 8) by a rounded
// addition: a negative remainder r of the angle modulo 8 (exact) for which r + 8 is not exact,
// such as −1e-17, which becomes 8 and loses the rotation. By index, with the angle as read.
std::map<int, double> inexactly_normalised_rotations(const LineOfGates& line) {
    std::map<int, double> found;
    for (const Gate& g : line.gates) {
        if (!is_rotation(g) || !std::isfinite(g.angle) || (g.angle > 0 && g.angle < 8)) continue;
        const double r = std::fmod(g.angle, 8.0);
        if (r < 0 && (r + 8.0) - 8.0 != r) found.emplace(g.index, g.angle);
    }
    return found;
}

// Gives the rotations of `inexact` that the normalisation left on their own (angle
// normalised_turn of the angle as read) the exact remainder r instead: RA(r + 8) = e^{iπ}·RA(r),
// so the line's phase takes 1 more.
void restore_exact_remainders(LineOfGates& line, const std::map<int, double>& inexact) {
    if (inexact.empty()) return;
    for (Gate& g : line.gates) {
        const auto it = inexact.find(g.index);
        if (it == inexact.end() || !is_rotation(g) || g.angle != normalised_turn(it->second))
            continue;
        g.angle = std::fmod(it->second, 8.0);
        line.phase += 1.0;
    }
}

}  // namespace

std::string ft_default_search(const Matrix2& target, double threshold, int ft_mode) {
    if (ft_mode != 0) return ftpelmar(target, ft_mode);
    Tavex tavex(10200, 15);  // a fresh search object per search
    return tavex.ft_tavex(target, threshold);
}

FtSearch set_ft_search(FtSearch search) {
    FtSearch previous = current_search;
    current_search = search != nullptr ? search : &ft_default_search;
    return previous;
}

bool is_fractional_rotation(const Gate& gate) {
    if (!is_rotation(gate)) return false;
    return !(gate.angle - std::floor(gate.angle) == 0);  // NaN counts as fractional
}

// Expects: any circuit. Produces: every fractional RX/RY/RZ replaced by H, T, T_dag, S, S_dag,
// X, Z, I gates (equal up to a global phase within the threshold); mixed windows replaced whole.
// threshold: required distance (md_tri); ft_mode: 0 exhaustive search, n > 0 Solovay-Kitaev
// depth n, unless `method` is NumberTheoretic.
void convert_FT(CircuitGraph& circuit, const CostModel& cost, FtCache cache, double threshold,
                int ft_mode, FtMethod method) {
    if (circuit.num_qubits < 1) return;
    if (method == FtMethod::NumberTheoretic) {
        if (!(threshold >= grid::kFinestReachableThreshold))
            fatal_error(
                "FT threshold must be a number of at least 1e-20 for the number-theoretic "
                "synthesis");
    } else {
        // NOTE: the exhaustive search only ends when it gets within the threshold, so a
        // threshold that is not positive would search forever; a negative depth would recurse
        // without end.
        if (ft_mode == 0 && !(threshold > 0))
            fatal_error("FT threshold must be a positive number for the exhaustive search");
        if (ft_mode < 0) fatal_error("FT mode must be 0 or a positive Solovay-Kitaev depth");
        if (ft_mode == 0 && threshold < 1e-3)
            std::cout << "Hint: below a threshold of 1e-3 the exhaustive search takes minutes per "
                         "rotation; ft_mode grid reaches any threshold in milliseconds"
                      << std::endl;
    }
    // NOTE: the cache file is read once per conversion rather than once per line. Blocks never
    // replace an angle already present, so rereading an unchanged file adds nothing, and reading
    // it per line would cost lines x file size.
    cache.table.set_FT_table();
    for (int q = 0; q < circuit.num_qubits; ++q) {
        LineOfGates line;
        circuit.copy_a_line(q, line);
        const std::map<int, double> inexact = inexactly_normalised_rotations(line);
        line::simplify1(cost, line, -1, -1, Measure::GateCount, line::Strategy::Incremental);
        restore_exact_remainders(line, inexact);
        line::split_angles(line, circuit.gate_counter);
        convert_1Q_window_to_FT(line, circuit.gate_counter, cache, threshold, ft_mode, method);
        circuit.revise_a_line(q, line);
    }
}

void convert_1Q_window_to_FT(LineOfGates& line, int& gate_counter, FtCache cache, double threshold,
                             int ft_mode, FtMethod method) {
    FT_table& ft_table = cache.table;
    const bool grid_method = method == FtMethod::NumberTheoretic;
    std::list<Gate>& gates = line.gates;
    auto it = gates.begin();
    while (it != gates.end()) {
        if (!is_1Q_gate(it->type)) {
            ++it;
            continue;
        }
        const auto first = it;
        auto last = it;
        int fractional = 0;
        auto g = gates.end();
        for (; last != gates.end() && is_1Q_gate(last->type); ++last) {
            if (!is_fractional_rotation(*last)) continue;
            if (fractional++ == 0) g = last;
        }
        if (fractional == 1) {
            const Gate_type kind = g->type;
            const double a = g->angle;
            // NOTE: under grid a cached sequence is held to the threshold against the angle as it
            // stands, in extended precision: the cache checks its file entries in double
            // precision only, to 1e-7. The inverse of a sequence for −a is as far from RZ(a).
            auto cached = [&](double angle) {
                std::string found = ft_table.get_FT_seq(kind, angle, threshold);
                if (grid_method && !found.empty() &&
                    !within_threshold(found, kind, angle, threshold))
                    found.clear();
                return found;
            };
            std::string seq = cached(a);
            if (!seq.empty()) {
                ++cache.hits;
                insert_FT_seq(gates, g, std::next(g), seq, gate_counter);
            } else if (!(seq = cached(-a)).empty()) {
                ++cache.hits;
                insert_inv_FT_seq(gates, g, std::next(g), seq, gate_counter);
            } else {
                ++cache.misses;
                std::cout << "gate: " << static_cast<int>(kind) << " angle= " << a << std::endl;
                if (grid_method)
                    std::cout << "Cache miss! Do number-theoretic FT synthesis!" << std::endl;
                else if (ft_mode != 0)
                    std::cout << "Cache miss! Do S-K: " << ft_mode << std::endl;
                else
                    std::cout << "Cache miss! Do Brask FT conversion!" << std::endl;
                // NOTE: a rotation without a finite angle has no approximation; and a search
                // without a result leaves the gate as it was and stores nothing, rather than
                // caching and inserting an empty sequence (which would delete the rotation).
                std::string r;
                if (grid_method)
                    grid::grid_sequence_for_rz(a, threshold, r);
                else if (std::isfinite(a))
                    r = search_sequence(ft_rz_matrix(a), threshold, ft_mode);
                if (!r.empty() && grid_method &&
                    !(grid::ft_sequence_distance_to_rz(r, a) <= threshold))
                    r.clear();
                if (r.empty()) {
                    report_no_sequence("a rotation of angle " + format_double(a), 1, cache);
                } else {
                    ft_table.insert_FT_table(a, threshold, r);
                    seq = ft_table.get_FT_seq(kind, a, threshold);
                    insert_FT_seq(gates, g, std::next(g), seq, gate_counter);
                }
            }
        } else if (fractional >= 2) {
            std::cout << "Mixed rotation, must do FT conversion!" << std::endl;
            ++cache.misses;
            std::string r;
            if (is_finite_window(first, last)) {
                Matrix2 m = convert_matrix(gates, first, last, cache.log_failed);
                // NOTE: the Solovay-Kitaev net works in SU(2) (it identifies M and -M only); a
                // window with an odd number of H has determinant -1, so the matrix is divided by
                // a square root of its determinant first. The exhaustive search is phase-blind.
                if (grid_method) {
                    grid::grid_sequence_for_matrix(m, threshold, r);
                } else {
                    if (ft_mode != 0) m = (1.0 / std::sqrt(m.Determinant())) * m;
                    r = search_sequence(m, threshold, ft_mode);
                }
            }
            std::cout << r << std::endl;
            if (r.empty())
                report_no_sequence("a mixed window", fractional, cache);
            else
                insert_FT_seq(gates, first, last, r, gate_counter);
        }
        it = last;
        if (it != gates.end()) ++it;
    }
}

Matrix2 convert_matrix(std::list<Gate>& gates, std::list<Gate>::iterator first,
                       std::list<Gate>::iterator last, bool& log_failed) {
    (void)gates;
    Matrix2 m = matrix2_identity();
    std::ostringstream entries;
    entries.precision(std::cout.precision());
    for (auto it = first; it != last; ++it) {
        std::cout << "gate: " << static_cast<int>(it->type) << " angle= " << it->angle << "\n";
        entries << static_cast<int>(it->type) << "  " << it->angle << "\n";
        // NOTE: every one-qubit kind enters the product with its own matrix; a window holding a
        // named gate (T, S, X, ...) or RXY/ASQU would otherwise lose that gate when the window
        // is replaced.
        Matrix2 factor;
        if (!ft_window_factor(*it, factor)) {
            std::cout << "Convert FT: none support gate: " << static_cast<int>(it->type) << "\n";
            continue;
        }
        m = m * factor;
    }
    if (!log_failed) append_to_angle_log(entries.str(), log_failed);
    return m;
}

void insert_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                   std::list<Gate>::iterator last, std::string& seq, int& gate_counter) {
    const int target = first != gates.end() ? first->target : -1;
    gates.erase(first, last);
    for (char letter : seq) {
        if (ft_is_grouping(letter)) continue;
        Gate_type kind;
        if (!ft_letter_kind(letter, kind)) {
            std::cout << "insert_FT_seq: not supportted gate: " << letter << "\n";
            continue;
        }
        gates.insert(last, Gate(kind, 0, 0, 0, -1, target, ++gate_counter));
    }
}

void insert_inv_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                       std::list<Gate>::iterator last, std::string& seq, int& gate_counter) {
    const int target = first != gates.end() ? first->target : -1;
    gates.erase(first, last);
    for (auto letter = seq.rbegin(); letter != seq.rend(); ++letter) {
        if (ft_is_grouping(*letter)) continue;
        Gate_type kind;
        // NOTE: "I" (the cache's identity shortcut) is its own inverse, as in insert_FT_seq.
        if (!ft_letter_kind(*letter, kind)) {
            std::cout << "insert_FT_seq: not supportted gate: " << *letter << "\n";
            continue;
        }
        gates.insert(last, Gate(inverse_kind(kind), 0, 0, 0, -1, target, ++gate_counter));
    }
}
