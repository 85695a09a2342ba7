// Generates the shipped sequence cache "FT_table.txt" with the program's own conversion.
//
//   ft_table_generator [--grid] <out_file> <threshold>... -- <netlist>...
//
// The netlists are circuits just before conversion ("FT_before_converted.txt" files written by
// marovin runs). For each threshold, coarsest first, every netlist is read under FTS and
// converted with the exhaustive search (mode 0), or with the number-theoretic synthesis when
// --grid is given, in the current folder, whose "FT_table.txt" holds the entries found so far,
// so that each angle is searched once per threshold. Every entry's DIST is then set to the
// distance its sequence really achieves (md_tri to the Z rotation, computed exactly from the
// letters in extended precision, rounded up to three digits), the entries of each angle are
// ordered from the coarsest
// to the finest distance, and the cache is written back. Angles are written with 17 digits so
// that they read back as the same doubles. Runs in the current folder (it needs
// "CostGateCount.txt" there) and overwrites its "FT_table.txt".

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "FaultTolerant/ft_conversion.h"
#include "FaultTolerant/ft_table.h"
#include "FaultTolerant/grid/rz_approximation.h"
#include "circuit/graph_circuit.h"

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << path << "\n";
        std::exit(1);
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

/// md_tri between the left-to-right product of a sequence string and RZ(angle), angle in π/4,
/// in extended precision (doubles cannot resolve distances below about 1e-8).
double achieved_distance(const std::string& seq, double angle) {
    return grid::ft_sequence_distance_to_rz(seq, angle);
}

/// Rounds a distance up to three significant digits, so that the written value bounds it.
double round_up(double d) {
    if (d <= 0) return 0;
    const double unit = std::pow(10.0, std::floor(std::log10(d)) - 2);
    return std::ceil(d / unit * (1 - 1e-12)) * unit;
}

void write_table(const FT_table& cache, const std::vector<double>& thresholds,
                 const std::vector<std::string>& netlists, const std::string& path,
                 const char* method_name) {
    std::ofstream out(path, std::ios::trunc);
    out << "# FT_table.txt: cached fault-tolerant sequences approximating Z rotations.\n"
        << "# Angles in units of pi/4 (as the conversion meets them after splitting off whole\n"
        << "# multiples of pi/4); sequences in time order over H T t S s X Z I, composite labels\n"
        << "# in parentheses. DIST is the distance (md_tri, up to a global phase) the sequence\n"
        << "# achieves, rounded up; entries go from the coarsest to the finest distance.\n"
        << "# Produced by bench/ft_table_generator (scripts/generate_ft_table.sh) with the\n"
        << "# " << method_name << " at thresholds";
    for (double t : thresholds) out << " " << t;
    out << "\n# on the circuits before conversion of the shipped examples:";
    for (const std::string& n : netlists) {
        const size_t slash = n.find_last_of('/');
        out << " " << (slash == std::string::npos ? n : n.substr(slash + 1));
    }
    out << "\n";
    char number[64];
    for (const auto& [angle, entries] : cache.table) {
        std::snprintf(number, sizeof number, "%.17g", angle);
        out << "\n.angle " << number << "\n";
        for (const FT_entry& e : entries) out << "DIST " << e.dist << " GATE " << e.seq << "\n";
        out << ".end\n";
    }
}

/// Sets every DIST to the achieved distance, orders each angle's entries coarse to fine, and
/// drops an entry when an earlier (coarser or equal) one is at least as fine.
void normalise(FT_table& cache) {
    for (auto& [angle, entries] : cache.table) {
        for (FT_entry& e : entries) e.dist = round_up(achieved_distance(e.seq, angle));
        std::stable_sort(entries.begin(), entries.end(),
                         [](const FT_entry& a, const FT_entry& b) { return a.dist > b.dist; });
        std::vector<FT_entry> kept;
        for (const FT_entry& e : entries)
            if (kept.empty() || e.dist < kept.back().dist) kept.push_back(e);
        entries = kept;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<double> thresholds;
    std::vector<std::string> netlists;
    FtMethod method = FtMethod::ByMode;
    int i = 1;
    if (argc > 1 && std::string(argv[1]) == "--grid") {
        method = FtMethod::NumberTheoretic;
        ++i;
    }
    const char* method_name =
        method == FtMethod::NumberTheoretic ? "number-theoretic synthesis" : "exhaustive search";
    if (argc - i < 3) {
        std::cerr << "usage: ft_table_generator [--grid] <out_file> <threshold>... -- "
                     "<netlist>...\n";
        return 1;
    }
    const std::string out_file = argv[i++];
    for (; i < argc && std::string(argv[i]) != "--"; ++i) thresholds.push_back(std::atof(argv[i]));
    for (++i; i < argc; ++i) netlists.push_back(argv[i]);
    std::sort(thresholds.rbegin(), thresholds.rend());

    FT_table cache;
    write_table(cache, thresholds, netlists, "FT_table.txt", method_name);
    for (double threshold : thresholds) {
        for (const std::string& path : netlists) {
            std::string text = read_file(path);
            GraphCircuit circuit(path, FTS, qec_none, 0);
            circuit.read_netlist(text);
            circuit.convert_FT(threshold, 0, method);
            std::cerr << path << " at " << threshold << ": " << circuit.ft_cache_hits << " hits, "
                      << circuit.ft_cache_misses << " misses\n";
            cache = circuit.ft_table;  // the file's entries followed by the new ones
            normalise(cache);
            write_table(cache, thresholds, netlists, "FT_table.txt", method_name);
        }
    }
    write_table(cache, thresholds, netlists, out_file, method_name);
    return 0;
}
